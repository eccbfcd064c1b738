#pragma once
#include <string>

namespace vantrel {

// The folder of the posix substitute's sockets: $VANTREL_IPC_DIR, else
// $XDG_RUNTIME_DIR/vantrel-ipc, else /tmp/vantrel-ipc-<uid>.
std::string IpcDirectory();

// True when the folder exists, belongs to this user and has no group or other bits (mode 0700).
bool IpcDirectoryIsPrivate(const std::string& dir);

// Creates the folder (mode 0700) when missing; false with a reason when it is missing and
// cannot be created, or exists but is not private.
bool PrepareIpcDirectory(const std::string& dir, std::string& reason);

} // namespace vantrel
