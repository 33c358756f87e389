target_sources(zantu_core PRIVATE
  shell/Application.cpp
  shell/ClientProgram.cpp
  shell/HomePageChoice.cpp
  shell/NoHomePage.cpp
  shell/SingleInstanceGuard.cpp
  shell/Skin.cpp
  shell/TextConverterCheck.cpp
  shell/U_PrintTicket.cpp
  shell/u_base.cpp
  shell/u_base_dialog.cpp)
