target_sources(zantu_core PRIVATE
  browsing/NavigationBar.cpp)
