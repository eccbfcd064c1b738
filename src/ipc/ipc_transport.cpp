#include "ipc/ipc_transport.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vantrel {

std::string MappingName(std::uint32_t process_id, std::uint32_t counter) {
    char name[64];
    std::snprintf(name, sizeof name, "%s:%X:%X", "FsasmLib:IPC", unsigned(process_id), unsigned(counter));
    return name;
}

std::uint32_t CurrentProcessId() {
#ifdef _WIN32
    return std::uint32_t(GetCurrentProcessId());
#else
    return std::uint32_t(getpid());
#endif
}

} // namespace vantrel
