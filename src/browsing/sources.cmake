target_sources(zantu_core PRIVATE
  browsing/NavigationBar.cpp
  browsing/StationRule.cpp
  browsing/TabCaption.cpp
  browsing/TabSlots.cpp)
