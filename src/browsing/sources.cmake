target_sources(zantu_core PRIVATE
  browsing/StationRule.cpp
  browsing/TabCaption.cpp
  browsing/TabSlots.cpp)
