#include "ipc/ipc_dir.h"

#include <cstdlib>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vantrel {

std::string IpcDirectory() {
    if (const char* dir = std::getenv("VANTREL_IPC_DIR"); dir != nullptr && *dir != '\0') return dir;
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run != nullptr && *run != '\0')
        return std::string(run) + "/vantrel-ipc";
#ifdef _WIN32
    return "";
#else
    return "/tmp/vantrel-ipc-" + std::to_string(getuid());
#endif
}

#ifdef _WIN32

bool IpcDirectoryIsPrivate(const std::string&) {
    return false;
}

bool PrepareIpcDirectory(const std::string&, std::string& reason) {
    reason = "the posix link is not available on this system";
    return false;
}

#else

bool IpcDirectoryIsPrivate(const std::string& dir) {
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

bool PrepareIpcDirectory(const std::string& dir, std::string& reason) {
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = "cannot create " + dir + ": " + std::strerror(errno);
        return false;
    }
    if (!IpcDirectoryIsPrivate(dir)) {
        reason = dir + " must be a folder of this user that nobody else may use (mode 0700)";
        return false;
    }
    return true;
}

#endif

} // namespace vantrel
