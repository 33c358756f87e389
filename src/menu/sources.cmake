zantu_add_library(zantu_menu
  menu/MenuBuilder.h
  menu/MenuDefinition.cpp
  menu/MenuDropPlacement.cpp
  menu/MenuToolbarBuilder.cpp)
target_link_libraries(zantu_menu
  PUBLIC Qt6::Widgets
  PRIVATE zantu_localfiles)
