# Configures and builds the layers without Qt (core, planning, ipc, cockpit) and the Windows
# programs (vantrel-bridge, vantrel-winsim, the tests' link-driver) for 64-bit Windows with the
# MinGW-w64 cross compiler, warnings as errors. The programs land in BUILD_DIR/vantrel. Run as a test:
#   cmake -DSOURCE_DIR=<repo> -DBUILD_DIR=<dir> [-DGENERATOR=Ninja] -P windows_cross_build.cmake
if(NOT GENERATOR)
  set(GENERATOR Ninja)
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BUILD_DIR} -G ${GENERATOR}
          -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64.cmake
          -DCMAKE_BUILD_TYPE=Release -DVANTREL_GUI=OFF -DVANTREL_WERROR=ON
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the Windows cross build failed")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target vantrel_core vantrel_planning vantrel_ipc vantrel_cockpit
          vantrel-bridge vantrel-winsim link-driver
  RESULT_VARIABLE built OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT built EQUAL 0)
  message(FATAL_ERROR "the Windows cross build failed")
endif()
if(output MATCHES "warning:")
  message(FATAL_ERROR "the Windows cross build printed warnings")
endif()
