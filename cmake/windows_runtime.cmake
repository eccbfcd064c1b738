# Everything the Windows programs need beside them, copied from the Windows kit
# (scripts/build-windows-kit.sh, VANTREL_WINDOWS_KIT) into the program folder: the Qt and
# MinGW run-time libraries, Qt's plug-ins, espeak-ng with its voice data and the fonts Qt's
# offscreen platform draws with. qt.conf makes the program folder Qt's prefix, so that the
# plug-ins are found in plugins/ and the fonts in lib/fonts/.
if(NOT IS_DIRECTORY "${VANTREL_WINDOWS_KIT}/bin")
  message(FATAL_ERROR "VANTREL_WINDOWS_KIT must name the Windows kit (scripts/build-windows-kit.sh)")
endif()
set(_kit ${VANTREL_WINDOWS_KIT})

set(_dlls)
foreach(_module Core Gui Widgets Network PrintSupport)
  list(APPEND _dlls ${_kit}/bin/Qt6${_module}.dll)
endforeach()
file(GLOB _espeak_dll ${_kit}/bin/libespeak-ng*.dll ${_kit}/bin/espeak-ng*.dll)
list(FILTER _espeak_dll EXCLUDE REGEX "\\.exe$")
list(APPEND _dlls ${_espeak_dll})
# The compiler's run-time libraries, from wherever the cross compiler keeps them.
foreach(_runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_runtime}
                  OUTPUT_VARIABLE _found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_found}" OR NOT EXISTS "${_found}")
    find_file(_found_${_runtime} ${_runtime} PATHS /usr/${CMAKE_LIBRARY_ARCHITECTURE}/lib
              /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(_found ${_found_${_runtime}})
  endif()
  list(APPEND _dlls ${_found})
endforeach()
foreach(_dll IN LISTS _dlls)
  if(NOT EXISTS "${_dll}")
    message(FATAL_ERROR "the Windows kit lacks ${_dll}")
  endif()
endforeach()

set(_plugin_dirs platforms tls imageformats styles)
set(_commands)
foreach(_dir IN LISTS _plugin_dirs)
  if(IS_DIRECTORY ${_kit}/plugins/${_dir})
    list(APPEND _commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${_kit}/plugins/${_dir}
         ${VANTREL_OUT_DIR}/plugins/${_dir})
  endif()
endforeach()
set(_qt_conf ${CMAKE_BINARY_DIR}/qt.conf)
file(WRITE ${_qt_conf} "[Paths]\nPrefix = .\n")

add_custom_target(vantrel_windows_runtime ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_OUT_DIR}/lib/fonts
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_dlls} ${_qt_conf} ${VANTREL_OUT_DIR}
  ${_commands}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${_kit}/share/espeak-ng-data ${VANTREL_OUT_DIR}/espeak-ng-data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${_kit}/lib/fonts ${VANTREL_OUT_DIR}/lib/fonts
  COMMENT "Copying the Qt, MinGW and espeak-ng run time beside the Windows programs")
