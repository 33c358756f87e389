zantu_add_library(zantu_localfiles
  localfiles/Gbk.cpp
  localfiles/TextLines.cpp
  localfiles/MemIniFile.cpp
  localfiles/ProfileFile.cpp
  localfiles/SessionLog.cpp
  localfiles/StationSettings.cpp
  localfiles/unt_Public.cpp)
target_link_libraries(zantu_localfiles
  PUBLIC Qt6::Core
  PRIVATE Qt6::Core5Compat Qt6::Gui)
