target_sources(zantu_core PRIVATE
  localfiles/Gbk.cpp
  localfiles/IniLines.cpp
  localfiles/MemIniFile.cpp
  localfiles/ProfileFile.cpp
  localfiles/unt_Public.cpp)
