target_sources(zantu_core PRIVATE
  windows/U_About.cpp
  windows/U_Fm_Notice.cpp)
