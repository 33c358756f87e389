target_sources(zantu_core PRIVATE
  localfiles/Gbk.cpp
  localfiles/TextLines.cpp
  localfiles/MemIniFile.cpp
  localfiles/ProfileFile.cpp
  localfiles/SessionLog.cpp
  localfiles/StationSettings.cpp
  localfiles/unt_Public.cpp)
