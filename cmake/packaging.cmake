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
        PATTERN autospeed.ini EXCLUDE
        # data/'s README (how the tables and sounds were made) is for developers; the download's
        # README is the pilot's guide, below.
        PATTERN README.md EXCLUDE)
include(${CMAKE_CURRENT_LIST_DIR}/release_files.cmake)

set(CPACK_PACKAGE_NAME "VantrelSuite")
set(CPACK_PACKAGE_VENDOR "Vantrel Suite")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flight planning and cockpit aids for the ERJ-145LR in FS2004")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vantrel Suite")
set(CPACK_PACKAGE_EXECUTABLES vantrel "Vantrel Suite")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
# One entry per product, whatever the version: an update replaces the installed one (and
# installs into its folder, where the flight log and settings are).
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Vantrel Suite")
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
  # The installer's title: "Vantrel Suite 2.1 Setup".
  set(CPACK_NSIS_PACKAGE_NAME "Vantrel Suite ${PROJECT_VERSION}")
  # The program sits at the top of its folder (CPack's default is bin\): the Start menu's
  # entries and the finish page's "Run" start it there; a second entry opens the pilot's guide.
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
  set(CPACK_NSIS_MUI_FINISHPAGE_RUN vantrel.exe)
  set(CPACK_NSIS_MENU_LINKS "help\\manual.pdf" "Vantrel Suite pilot's guide")
  # The licence page shows the bundled components' licences and the program's own.
  set(CPACK_RESOURCE_FILE_LICENSE ${VANTREL_LICENCE_PAGE})
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
  # The Start menu's folder is "Vantrel Suite" whatever the version (the installer's title, from
  # CPACK_NSIS_PACKAGE_NAME, carries the version).
  string(REPLACE "  !insertmacro MUI_PAGE_STARTMENU Application $STARTMENU_FOLDER"
                 "  !define MUI_STARTMENUPAGE_DEFAULTFOLDER \"${CPACK_PACKAGE_INSTALL_DIRECTORY}\"\n  !insertmacro MUI_PAGE_STARTMENU Application $STARTMENU_FOLDER"
                 _template "${_template}")
  file(WRITE ${_template_dir}/NSIS.template.in "${_template}")
  list(PREPEND CMAKE_MODULE_PATH ${_template_dir})
else()
  set(CPACK_GENERATOR TGZ DEB)
  include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
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
