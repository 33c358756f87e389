# In the shell's library for now: the page frame still includes the main window.
target_sources(zantu_shell PRIVATE
  browsing/BrowserWindow.cpp
  browsing/NavigationBar.cpp
  browsing/PopupPlacement.cpp
  browsing/SessionStore.cpp
  browsing/StationRule.cpp
  browsing/TabCaption.cpp
  browsing/TabSlots.cpp
  browsing/U_WebPopWindows.cpp
  browsing/U_child2.cpp
  browsing/u_child.cpp)
