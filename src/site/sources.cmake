target_sources(zantu_core PRIVATE
  site/InputFilter.cpp
  site/LinkCheck.cpp
  site/PlanDownload.cpp
  site/SearchActions.cpp
  site/SiteSearch.cpp
  site/SiteValues.cpp)
