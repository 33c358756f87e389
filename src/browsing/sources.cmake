zantu_add_library(zantu_browsing
  browsing/BrowserWindow.cpp
  browsing/HomeTab.cpp
  browsing/NavigationBar.cpp
  browsing/PageTabs.cpp
  browsing/PopupPlacement.cpp
  browsing/SessionStore.cpp
  browsing/StationRule.cpp
  browsing/TabCaption.cpp
  browsing/TabSlots.cpp
  browsing/U_WebPopWindows.cpp
  browsing/U_child2.cpp
  browsing/u_child.cpp)
target_link_libraries(zantu_browsing
  PUBLIC zantu_site zantu_webview Qt6::Widgets
  PRIVATE zantu_ui zantu_localfiles)
