# Builds the programs for 64-bit Windows with the MinGW-w64 cross compiler, warnings as errors.
# The programs land in BUILD_DIR/vantrel; the 32-bit link programs (vantrel-bridge.exe,
# vantrel-winsim.exe, as FS2004 is 32-bit) in BUILD_DIR-i686/vantrel. Run as a test:
#   cmake -DSOURCE_DIR=<repo> -DBUILD_DIR=<dir> [-DGENERATOR=Ninja]
#         [-DKIT_DIR=<Windows kit> -DHOST_TOOLS_DIR=<native build>/src/app] -P windows_cross_build.cmake
# Without KIT_DIR: the layers without Qt (core, planning, ipc, cockpit) and the Windows programs
# (vantrel-bridge, vantrel-winsim, the tests' link-driver). With the kit that
# scripts/build-windows-kit.sh makes: the whole program as well (vantrel.exe, vantrel-cli.exe
# with the Qt, MinGW and espeak-ng run time beside them) and its downloads in BUILD_DIR/packages;
# its pictures and manual are made by the native build's tools in HOST_TOOLS_DIR.
if(NOT GENERATOR)
  set(GENERATOR Ninja)
endif()
set(toolchain -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64.cmake -DVANTREL_GUI=OFF)
set(targets --target vantrel_core vantrel_planning vantrel_ipc vantrel_cockpit vantrel-bridge vantrel-winsim
            link-driver)
if(KIT_DIR)
  if(NOT EXISTS ${KIT_DIR}/lib/cmake/Qt6/qt.toolchain.cmake)
    message(FATAL_ERROR "${KIT_DIR} is not a Windows kit: run scripts/build-windows-kit.sh ${KIT_DIR}")
  endif()
  # Qt's tool chain file finds the kit wherever it was unpacked and the host's Qt tools (moc,
  # uic, rcc); it loads the MinGW tool chain file.
  set(toolchain -DCMAKE_TOOLCHAIN_FILE=${KIT_DIR}/lib/cmake/Qt6/qt.toolchain.cmake
                -DQT_CHAINLOAD_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64.cmake
                -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
                -DVANTREL_WINDOWS_KIT=${KIT_DIR} -DVANTREL_HOST_TOOLS_DIR=${HOST_TOOLS_DIR}
                -DVANTREL_GUI=ON)
  set(targets)
endif()
# Optimised as the native build is (-O2): at -O3 GCC 12 warns falsely about std::string
# assignments (-Wrestrict), and the Windows programs then run the code the native tests ran.
# A tool chain file is read only when a build folder is configured the first time: a folder made
# with another kit (or none) starts afresh.
set(kit_mark ${BUILD_DIR}/vantrel-windows-kit.txt)
set(kit_now "${KIT_DIR}")
if(EXISTS ${kit_mark})
  file(READ ${kit_mark} kit_before)
else()
  set(kit_before "none")
endif()
if(NOT kit_before STREQUAL kit_now)
  file(REMOVE_RECURSE ${BUILD_DIR}/CMakeCache.txt ${BUILD_DIR}/CMakeFiles)
endif()
file(MAKE_DIRECTORY ${BUILD_DIR})
file(WRITE ${kit_mark} "${kit_now}")
# Configures and builds one folder, optimised as the native build is, warnings as errors.
#   cross_build(<folder> <what, for messages> TOOLCHAIN <arguments...> TARGETS [--target <t>...])
function(cross_build dir what)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "TOOLCHAIN;TARGETS")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${dir} -G ${GENERATOR} ${arg_TOOLCHAIN}
            -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" -DVANTREL_WERROR=ON
    RESULT_VARIABLE configured)
  if(NOT configured EQUAL 0)
    message(FATAL_ERROR "configuring the ${what} failed")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} --build ${dir} ${arg_TARGETS}
    RESULT_VARIABLE built OUTPUT_VARIABLE output ERROR_VARIABLE output)
  message("${output}")
  if(NOT built EQUAL 0)
    message(FATAL_ERROR "the ${what} failed")
  endif()
  if(output MATCHES "warning:")
    message(FATAL_ERROR "the ${what} printed warnings")
  endif()
endfunction()

cross_build(${BUILD_DIR} "Windows cross build" TOOLCHAIN ${toolchain} TARGETS ${targets})
# The downloads (portable zip and installer) of the whole program.
if(KIT_DIR)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target package RESULT_VARIABLE packed)
  if(NOT packed EQUAL 0)
    message(FATAL_ERROR "making the Windows downloads failed")
  endif()
endif()

# The 32-bit link programs: the bridge the Linux download ships (it runs in 32-bit and 64-bit
# prefixes alike), a stand-in simulator of the real one's bitness, and the tests' client (the
# keeper of a 32-bit prefix).
cross_build(${BUILD_DIR}-i686 "32-bit Windows cross build"
            TOOLCHAIN -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64-i686.cmake -DVANTREL_GUI=OFF
            TARGETS --target vantrel-bridge vantrel-winsim link-driver)
