# Installing Spectrel like a desktop program, and its .deb (tools/package.sh).
#
#   bin/spectrel, bin/spectrel-cli, bin/spectrel-virtual-board      the programs (their own install rules)
#   share/spectrel/                                                 the shipped data (data/)
#   share/applications/spectrel.desktop                             the menu entry
#   share/icons/hicolor/scalable/apps/spectrel.svg                  the icon
#   share/metainfo/com.halvrendidaziravu.spectrel.metainfo.xml      the AppStream description

# The programs read their version and install layout from the generated SpectrelVersion.h.
foreach(program spectrel spectrel-cli)
  if(TARGET ${program})
    target_include_directories(${program} PRIVATE ${CMAKE_BINARY_DIR}/generated)
  endif()
endforeach()

set(SPECTREL_APPSTREAM_ID "com.halvrendidaziravu.spectrel")
configure_file(${CMAKE_SOURCE_DIR}/packaging/spectrel.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${SPECTREL_APPSTREAM_ID}.metainfo.xml @ONLY)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/spectrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/spectrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${SPECTREL_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# --- the .deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME spectrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Halvren Didaziravu Systems")
set(CPACK_PACKAGE_CONTACT "Halvren Didaziravu Systems <spectrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "learns the infrared codes of remote controls through a reader board")
set(CPACK_PACKAGE_DESCRIPTION
    "Spectrel learns the infrared codes of remote controls through a small reader board on a serial port and saves
them as a device file for the home-automation system. A built-in virtual reader board plays recorded or generated
signals, so the program can be tried without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries the programs link, and what Qt loads at run time: the platform plugins (a window on X11 or
# Wayland) and the SVG plugins (the icon).
set(SPECTREL_DEB_RUNTIME "libqt6svg6, qt6-qpa-plugins")
find_program(SPECTREL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SPECTREL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${SPECTREL_DEB_RUNTIME}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libqt6network6, libqt6serialport6, ${SPECTREL_DEB_RUNTIME}")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)

# --- the installed tree, checked by the tests: cmake --install into a temporary root of the build tree
if(SPECTREL_TESTS)
  enable_testing()
  add_test(NAME install_tree
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_tree_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
                   ${SPECTREL_SIGNALS} ${PROJECT_VERSION})
  add_test(NAME desktop_entry_validates
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/validate_desktop_files.sh desktop
                   ${CMAKE_SOURCE_DIR}/packaging/spectrel.desktop)
  add_test(NAME appstream_file_validates
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/validate_desktop_files.sh appstream
                   ${CMAKE_BINARY_DIR}/packaging/${SPECTREL_APPSTREAM_ID}.metainfo.xml)
  # The tools missing: the check is skipped, not failed.
  set_tests_properties(desktop_entry_validates appstream_file_validates PROPERTIES SKIP_RETURN_CODE 77)
  # One install at a time into the build tree's temporary root.
  set_tests_properties(install_tree PROPERTIES RESOURCE_LOCK spectrel_install_root
                                               ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
