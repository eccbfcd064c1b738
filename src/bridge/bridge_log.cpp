#include "bridge_log.h"

#include "core/event_log.h"
#include "core/program_version.h"

#include <windows.h>

#include <string>

namespace vantrel {

namespace {

// The folder of this program, with a separator at its end.
std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return "";
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

} // namespace

void StartBridgeLog(int argc, char** argv) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) return;
    StartEventLog({folder + "vantrel-bridge.log", "vantrel-bridge", LogLevelFromCommandLine(argc, argv)});
    LogEvent("start", "Vantrel Suite " + ProgramVersion() + " (vantrel-bridge) on " + PlatformDescription());
}

void LogBridgeConnectionClosed(bool proved) {
    if (proved)
        LogDetail("bridge", "connection closed");
    else
        LogEvent("bridge", "connection closed without a valid proof of the token");
}

} // namespace vantrel
