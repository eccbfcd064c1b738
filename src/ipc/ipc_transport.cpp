#include "ipc/ipc_transport.h"

#include <atomic>
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

std::uint32_t NextMappingCounter() {
    // 1 is the open's own counter; later names of this process count on from 2.
    static std::atomic<std::uint32_t> counter{1};
    return ++counter;
}

std::uint32_t CurrentProcessId() {
#ifdef _WIN32
    return std::uint32_t(GetCurrentProcessId());
#else
    return std::uint32_t(getpid());
#endif
}

} // namespace vantrel
