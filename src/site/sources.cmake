target_sources(zantu_core PRIVATE
  site/SearchActions.cpp
  site/SiteSearch.cpp
  site/SiteValues.cpp)
