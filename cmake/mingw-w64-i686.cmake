# Cross compiling for 32-bit Windows (i686) with the MinGW-w64 tool chain (Debian's
# g++-mingw-w64-i686 package). The 32-bit link programs (vantrel-bridge.exe,
# vantrel-winsim.exe) are built with it, as FS2004 and its interface module are 32-bit.
set(VANTREL_MINGW_TARGET i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
