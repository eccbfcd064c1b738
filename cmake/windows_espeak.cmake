# espeak-ng for the Windows build, from the kit on CMAKE_PREFIX_PATH, as the same target name
# pkg-config gives the native build.
find_path(VANTREL_ESPEAK_INCLUDE espeak-ng/speak_lib.h REQUIRED)
find_library(VANTREL_ESPEAK_LIBRARY NAMES espeak-ng libespeak-ng REQUIRED)
add_library(PkgConfig::ESPEAK INTERFACE IMPORTED)
target_include_directories(PkgConfig::ESPEAK INTERFACE ${VANTREL_ESPEAK_INCLUDE})
target_link_libraries(PkgConfig::ESPEAK INTERFACE ${VANTREL_ESPEAK_LIBRARY})
