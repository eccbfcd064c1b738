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
        sounds/OK.wav)
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
