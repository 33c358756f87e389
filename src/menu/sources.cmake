target_sources(zantu_core PRIVATE
  menu/MenuBuilder.h
  menu/MenuDefinition.cpp
  menu/MenuDropPlacement.cpp
  menu/MenuToolbarBuilder.cpp)
