zantu_add_library(zantu_site
  site/InputFilter.cpp
  site/LinkCheck.cpp
  site/PlanDownload.cpp
  site/SearchActions.cpp
  site/SiteSearch.cpp
  site/SiteValues.cpp)
target_link_libraries(zantu_site
  PUBLIC Qt6::Widgets Qt6::WebEngineWidgets
  PRIVATE zantu_webview zantu_ui zantu_localfiles)
