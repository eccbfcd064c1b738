#include "ipc/simulator_window.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "ipc/bridge_transport.h"
#include "ipc/ipc_dir.h"
#include "ipc/posix_transport.h"

#include <unistd.h>
#endif

namespace vantrel {

#ifdef _WIN32

bool SimulatorWindowExists(const std::string& windowClass) {
    return FindWindowExA(nullptr, nullptr, windowClass.c_str(), nullptr) != nullptr;
}

#else

// A connection that closes without a request is harmless to the server, so the look-up may
// knock at every tick. Without a posix server there, a running bridge (a simulator under
// Wine) answers for the simulator's windows.
bool SimulatorWindowExists(const std::string& windowClass) {
    const std::string dir = IpcDirectory();
    if (!IpcDirectoryIsPrivate(dir)) return false;
    const int fd = ConnectUnixSocket(dir + "/" + windowClass);
    if (fd < 0) return BridgeWindowExists(dir, windowClass);
    close(fd);
    return true;
}

#endif

} // namespace vantrel
