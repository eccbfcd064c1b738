# Makes the Linux download (tar.gz of the program folder) and checks what a user needs is in it.
#   cmake -DBUILD_DIR=<native build> -P check_linux_package.cmake
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G TGZ --config ${BUILD_DIR}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE packed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB tarball ${BUILD_DIR}/packages/VantrelSuite-*-linux-x86_64.tar.gz)
if(NOT tarball)
  message(FATAL_ERROR "no tar.gz in ${BUILD_DIR}/packages:\n${output}")
endif()
execute_process(COMMAND tar -tzf ${tarball} OUTPUT_VARIABLE listing RESULT_VARIABLE listed)
foreach(wanted vantrel vantrel-cli vantrel.desktop install-desktop-entry.sh icon1.ico help/manual.pdf
        sounds/OK.wav LICENSE THIRD-PARTY.md CHANGELOG.md README.md help/images/main-window.png)
  if(NOT listing MATCHES "/${wanted}\n")
    message(FATAL_ERROR "${tarball} lacks ${wanted}")
  endif()
endforeach()
foreach(unwanted vantrel-sim link-driver.exe vn-erj145.ini erj145.csv)
  if(listing MATCHES "/${unwanted}\n")
    message(FATAL_ERROR "${tarball} holds ${unwanted}, which is not shipped")
  endif()
endforeach()
message("${tarball} holds the program folder")

# The README is the pilot's guide; the desktop entry starts the program from a folder whose path
# holds a space.
set(unpacked "${BUILD_DIR}/package-check/folder with space")
file(REMOVE_RECURSE ${BUILD_DIR}/package-check)
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND tar -xzf ${tarball} -C ${unpacked} RESULT_VARIABLE unpacked_ok)
file(GLOB top LIST_DIRECTORIES true ${unpacked}/VantrelSuite-*)
file(READ ${top}/README.md readme)
if(NOT readme MATCHES "Pilot's guide" OR readme MATCHES "vantrel-sim")
  message(FATAL_ERROR "the download's README is not the pilot's guide")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${BUILD_DIR}/package-check/xdg
                        sh ${top}/install-desktop-entry.sh RESULT_VARIABLE added OUTPUT_QUIET)
file(STRINGS ${BUILD_DIR}/package-check/xdg/applications/vantrel-suite.desktop exec REGEX "^Exec=")
if(NOT added EQUAL 0 OR NOT exec STREQUAL "Exec=\"${top}/vantrel\"")
  message(FATAL_ERROR "the desktop entry does not start ${top}/vantrel: ${exec}")
endif()
