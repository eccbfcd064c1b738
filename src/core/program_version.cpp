#include "program_version.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/utsname.h>
#endif

#ifndef VANTREL_VERSION
#error "the build passes the project's version as VANTREL_VERSION"
#endif

namespace vantrel {

std::string ProgramVersion() {
    return VANTREL_VERSION;
}

std::string PlatformDescription() {
#ifdef _WIN32
    std::string text = "Windows";
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    // RtlGetVersion tells the true version, whatever the program's manifest says.
    using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll) {
        if (auto get = reinterpret_cast<GetVersionFn>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
            get && get(&version) == 0)
            text += " " + std::to_string(version.dwMajorVersion) + "." +
                    std::to_string(version.dwMinorVersion) + "." + std::to_string(version.dwBuildNumber);
        // Wine says so through an export of its own.
        using WineVersionFn = const char*(CDECL*)();
        if (auto wine = reinterpret_cast<WineVersionFn>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version"))))
            text += std::string(" (Wine ") + wine() + ")";
    }
    return text;
#else
    utsname name{};
    if (uname(&name) != 0) return "unknown system";
    return std::string(name.sysname) + " " + name.release + " " + name.machine;
#endif
}

} // namespace vantrel
