target_sources(zantu_core PRIVATE
  shell/MessageBoxes.cpp
  shell/SingleInstanceGuard.cpp)
