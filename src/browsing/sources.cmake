target_sources(zantu_core PRIVATE
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
