zantu_add_library(zantu_ui
  ui/ErrorReport.cpp
  ui/ImageLists.cpp
  ui/MessageBoxes.cpp
  ui/Skin.cpp
  ui/SkinTabFrameStyle.cpp
  resources/resources.qrc)
target_link_libraries(zantu_ui
  PUBLIC Qt6::Widgets
  PRIVATE zantu_localfiles)
