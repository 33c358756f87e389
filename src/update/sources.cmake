zantu_add_library(zantu_update
  update/DetachedStart.cpp
  update/FetchModule.cpp
  update/FetchWorker.cpp
  update/FileDownloader.cpp
  update/HttpFetch.cpp
  update/UpdateCheck.cpp
  update/UpdateDecision.cpp
  update/UpdateRunner.cpp)
target_link_libraries(zantu_update
  PUBLIC Qt6::Core
  PRIVATE zantu_ui zantu_localfiles)

# The fetch module: the only code that links libcurl and libsodium, loaded
# with QLibrary on the fetch thread at the first fetch, never at start.
find_package(CURL REQUIRED)
find_package(unofficial-sodium CONFIG QUIET) # vcpkg's
if(unofficial-sodium_FOUND)
  set(ZANTU_SODIUM unofficial-sodium::sodium)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
  set(ZANTU_SODIUM PkgConfig::SODIUM)
endif()
add_library(zantu_fetch MODULE
  update/CurlFetch.cpp
  update/MinisignVerify.cpp
  update/FetchModuleExports.cpp)
target_include_directories(zantu_fetch PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zantu_fetch PRIVATE Qt6::Core CURL::libcurl ${ZANTU_SODIUM})
set_target_properties(zantu_fetch PROPERTIES CXX_VISIBILITY_PRESET hidden)
install(TARGETS zantu_fetch LIBRARY DESTINATION . RUNTIME DESTINATION .)
