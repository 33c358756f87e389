zantu_add_library(zantu_shell
  shell/Application.cpp
  shell/ClientProgram.cpp
  shell/HomePageChoice.cpp
  shell/NoHomePage.cpp
  shell/SingleInstanceGuard.cpp
  shell/TextConverterCheck.cpp
  shell/U_PrintTicket.cpp
  shell/u_base.cpp
  shell/u_base_dialog.cpp)
target_link_libraries(zantu_shell
  PUBLIC zantu_browsing zantu_menu zantu_update Qt6::Widgets Qt6::Network Qt6::WebEngineCore
  PRIVATE zantu_windows zantu_site zantu_webview zantu_ui zantu_localfiles)
