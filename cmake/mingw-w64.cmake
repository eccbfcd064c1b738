# Cross compiling for 64-bit Windows with the MinGW-w64 tool chain (Debian's mingw-w64 and
# g++-mingw-w64-x86-64 packages). The posix thread model gives std::thread and std::mutex.
# mingw-w64-i686.cmake sets VANTREL_MINGW_TARGET to i686 for 32-bit Windows.
if(NOT VANTREL_MINGW_TARGET)
  set(VANTREL_MINGW_TARGET x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
if(VANTREL_MINGW_TARGET STREQUAL "i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
endif()

set(_mingw_prefix ${VANTREL_MINGW_TARGET}-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${_mingw_prefix}-gcc-posix ${_mingw_prefix}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_mingw_prefix}-g++-posix ${_mingw_prefix}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
