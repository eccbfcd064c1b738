# The downloads, made by CPack (cmake --build <build> --target package): the program folder as
# a Windows zip and a Windows installer (cross build), or as a Linux tar.gz with a desktop entry.
# The folder is everything the build put beside the program, without the tests' helpers and
# without the files the program writes there (a user's flight log and settings are never
# shipped, and the uninstaller leaves them because it did not install them).
install(DIRECTORY ${VANTREL_OUT_DIR}/ DESTINATION . USE_SOURCE_PERMISSIONS
        PATTERN link-driver.exe EXCLUDE
        PATTERN vantrel-sim EXCLUDE
        PATTERN vantrel-winsim.exe EXCLUDE
        PATTERN erj145.csv EXCLUDE
        PATTERN erj145.bak EXCLUDE
        PATTERN vn-erj145.ini EXCLUDE
        PATTERN autospeed.ini EXCLUDE)

set(CPACK_PACKAGE_NAME "VantrelSuite")
set(CPACK_PACKAGE_VENDOR "Vantrel Suite")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flight planning and cockpit aids for the ERJ-145LR in FS2004")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vantrel Suite")
set(CPACK_PACKAGE_EXECUTABLES vantrel "Vantrel Suite")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
# The folder inside the zip and the tar.gz carries the name and version, like the installer.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_SYSTEM_NAME windows-x64)
  # A per-user installation into the user's own programs folder: the program writes its flight
  # log and settings beside itself, so its folder must stay writable without elevation. CMake's
  # installer template asks for administrator rights; this build's copy does not.
  set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
  set(CPACK_NSIS_DISPLAY_NAME "Vantrel Suite")
  set(CPACK_NSIS_PACKAGE_NAME "Vantrel Suite")
  set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/data/icon1.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/data/icon1.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME vantrel.exe)
  # The uninstaller removes what it installed; the flight log (erj145.csv, erj145.bak) and the
  # settings (vn-erj145.ini, autospeed.ini) the program wrote stay, and so does their folder.
  set(_template_dir ${CMAKE_BINARY_DIR}/nsis-template)
  file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in _template)
  string(REPLACE "RequestExecutionLevel admin" "RequestExecutionLevel user" _template "${_template}")
  string(REPLACE "SetShellVarContext all" "SetShellVarContext current" _template "${_template}")
  # A 64-bit installer for the 64-bit program (NSIS makes 32-bit ones unless told).
  string(REPLACE "; CPack install script designed for a nmake build"
                 "; CPack install script designed for a nmake build\n  Target amd64-unicode" _template "${_template}")
  file(WRITE ${_template_dir}/NSIS.template.in "${_template}")
  list(PREPEND CMAKE_MODULE_PATH ${_template_dir})
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_SYSTEM_NAME linux-x86_64)
  # The desktop entry names the folder it was unpacked into once install-desktop-entry.sh runs.
  configure_file(${CMAKE_SOURCE_DIR}/cmake/linux/vantrel.desktop.in ${CMAKE_BINARY_DIR}/vantrel.desktop @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/vantrel.desktop DESTINATION .)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/cmake/linux/install-desktop-entry.sh DESTINATION .)
  # The bridge to a simulator under Wine, from the 32-bit Windows build of the link programs
  # (FS2004 is 32-bit: it runs in 32-bit and 64-bit prefixes alike).
  install(PROGRAMS ${CMAKE_BINARY_DIR}/windows-cross-i686/vantrel/vantrel-bridge.exe DESTINATION . OPTIONAL)
endif()
include(CPack)
