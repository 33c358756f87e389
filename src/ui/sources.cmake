target_sources(zantu_core PRIVATE
  ui/ErrorReport.cpp
  ui/ImageLists.cpp
  ui/MessageBoxes.cpp
  resources/resources.qrc)
