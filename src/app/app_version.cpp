#include "app_version.h"

#include "vantrel_version.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel {

const char* const kVersion = VANTREL_VERSION;

bool PrintVersionIfAsked(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0) return false;
#ifdef _WIN32
    // A window program has no console of its own: write into the one it was started from.
    if (GetStdHandle(STD_OUTPUT_HANDLE) == nullptr && AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stdout);
#endif
    std::printf("Vantrel Suite %s\n", kVersion);
    std::fflush(stdout);
    return true;
}

} // namespace vantrel
