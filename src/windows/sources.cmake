zantu_add_library(zantu_windows
  windows/U_About.cpp
  windows/U_Fm_Notice.cpp)
target_link_libraries(zantu_windows
  PUBLIC Qt6::Widgets
  PRIVATE zantu_ui zantu_localfiles)
