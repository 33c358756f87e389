target_sources(zantu_core PRIVATE
  site/SiteSearch.cpp
  site/SiteValues.cpp)
