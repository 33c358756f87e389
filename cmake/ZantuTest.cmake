# zantu_add_test(<name> SOURCES <files...> [LIBS <libs...>] [TIMEOUT <s>] [OWN_MAIN])
# LIBS: the program's libraries the test uses (zantu_shell brings them all).
# OWN_MAIN: the sources bring their own main() instead of the shared one.
# One GoogleTest executable per subsystem; every test runs with an offscreen Qt
# platform and the WebEngine sandbox off, as CI runs as root without a display.
function(zantu_add_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zantu_testsupport GTest::gtest ${ARG_LIBS})
  if(NOT ARG_OWN_MAIN)
    target_sources(${name} PRIVATE ${ZANTU_TEST_MAIN})
  endif()
  # The program loads its fetch module from its own folder; so do the tests.
  add_dependencies(${name} zantu_fetch)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:zantu_fetch> $<TARGET_FILE_DIR:${name}>)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --disable-background-networking;LC_ALL=C.UTF-8")
endfunction()
