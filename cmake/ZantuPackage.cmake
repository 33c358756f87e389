# The program folder: the executable, its menu entry and its icon. The entry's
# working directory is the folder itself, where the home-page choice reads
# AutoUpdate.ini; it is written at install time, so it names the folder the
# files really go to (a --prefix, or the packages' /opt/zantu).
set(CPACK_PACKAGE_NAME zantu)
set(CPACK_PACKAGE_VENDOR "Zantu")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zantu网彩票管家: the Zantu lottery site's client for betting stations")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

# The update check keeps the server's descriptor in data/ (data/AutoUpdate.ini):
# a fresh install has the folder, empty.
install(DIRECTORY DESTINATION data)

if(UNIX AND NOT APPLE)
  install(FILES src/resources/images/app.png DESTINATION . RENAME zantu.png)
  install(CODE "
    set(ZANTU_FOLDER \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/packaging/zantu.desktop.in\"
                   \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/zantu.desktop\" @ONLY)
    message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/zantu.desktop\")
  ")

  set(CPACK_GENERATOR DEB TGZ)
  # Both packages install under DESTDIR with the real prefix, so the menu
  # entry names it, and the archive unpacks at / into the same folder.
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_INSTALL_PREFIX /opt/zantu)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zantu station software <support@zantu.com>")
  set(CPACK_DEBIAN_PACKAGE_SECTION web)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The engine's helper process, which no library links.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
      ${CMAKE_CURRENT_SOURCE_DIR}/packaging/postinst ${CMAKE_CURRENT_SOURCE_DIR}/packaging/postrm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
else()
  set(CPACK_GENERATOR ZIP)
endif()

include(CPack)
