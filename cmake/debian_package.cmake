# The .deb for Debian and Ubuntu: the program folder in /opt/vantrel-suite, a starter in
# /usr/bin and an entry in the desktop's application menu. The program keeps its flight log and
# settings beside itself, so the starter runs each user's own copy of the folder
# (~/.local/share/vantrel-suite), refreshed when the installed version changes.
set(CPACK_DEBIAN_PACKAGE_NAME vantrel-suite)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # vantrel-suite_2.1_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vantrel Suite <vantrel-suite@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Flight planning and cockpit aids for the ERJ-145LR in FS2004
 Plans a flight (fuel, weights, speeds), writes the loading into the add-on's files, links to
 FS2004 (under Wine, through vantrel-bridge.exe), reads METAR reports and checklists aloud and
 keeps a flight log.")
# The libraries the programs link, as dpkg-shlibdeps names them (libqt6widgets6, libespeak-ng1,
# ...), and what they load at run time without linking it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, espeak-ng-data, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)

configure_file(${CMAKE_SOURCE_DIR}/cmake/linux/vantrel-suite.in ${CMAKE_BINARY_DIR}/debian/vantrel-suite @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/linux/vantrel-suite.desktop.in
               ${CMAKE_BINARY_DIR}/debian/vantrel-suite.desktop @ONLY)
# Only the .deb carries these (see cpack_generators.cmake.in).
install(PROGRAMS ${CMAKE_BINARY_DIR}/debian/vantrel-suite DESTINATION bin COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/debian/vantrel-suite.desktop DESTINATION share/applications
        COMPONENT debian EXCLUDE_FROM_ALL)
configure_file(${CMAKE_SOURCE_DIR}/cmake/cpack_generators.cmake.in ${CMAKE_BINARY_DIR}/cpack_generators.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack_generators.cmake)
