// vantrel-bridge.exe [--ipc-dir DIR]
// Started inside the simulator's Wine prefix (wine vantrel-bridge.exe); links native programs
// to the simulator's interface module. It listens on a loopback port and announces port and
// a fresh random token in DIR/vantrel-bridge (mode 0600), where DIR is the native programs'
// IPC folder: $VANTREL_IPC_DIR, else $XDG_RUNTIME_DIR/vantrel-ipc, else /tmp/vantrel-ipc-<uid>.
#include "bridge_log.h"
#include "tcp_server.h"
#include "unix_host.h"
#include "window_link.h"

#include "core/event_log.h"
#include "ipc/bridge_wire.h"

#include <atomic>
#include <bcrypt.h>
#include <cstdio>
#include <string>

namespace {

using namespace vantrel;

std::atomic<bool> g_stop{false};

BOOL WINAPI OnConsoleEvent(DWORD) {
    g_stop = true;
    return TRUE;
}

std::string Environment(const char* name) {
    char value[4096];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string IpcFolder() {
    if (std::string dir = Environment("VANTREL_IPC_DIR"); !dir.empty()) return dir;
    if (std::string run = Environment("XDG_RUNTIME_DIR"); !run.empty()) return run + "/vantrel-ipc";
    return "/tmp/vantrel-ipc-" + std::to_string(unix_host::UserId());
}

// True when the folder's bridge file names a port that still accepts connections.
bool AnotherBridgeAnswers(const std::string& file) {
    std::string text;
    bridge::Address address;
    if (!unix_host::ReadSmallFile(file, 256, text) || !bridge::ParseBridgeFile(text, address)) return false;
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(address.port);
    const bool answers = connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    closesocket(s);
    return answers;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "vantrel-bridge: %s\n", reason.c_str());
    LogEvent("bridge", "does not start: " + reason);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ipc-dir" && i + 1 < argc) {
            folder = argv[++i];
        } else if (arg == "--log-level" && i + 1 < argc && ParseLogLevel(argv[i + 1])) {
            ++i; // read by StartBridgeLog
        } else {
            std::fprintf(stderr,
                         "usage: wine vantrel-bridge.exe [--ipc-dir DIR] [--log-level off|info|detail]\n");
            return 2;
        }
    }
    StartBridgeLog(argc, argv);
    if (!unix_host::HostIsLinux())
        return Fail("this program links native Linux programs and runs under Wine only");
    if (folder.empty()) folder = IpcFolder();
    std::string reason;
    if (!unix_host::PreparePrivateFolder(folder, reason)) return Fail(reason);
    const std::string file = folder + "/" + bridge::kFileName;

    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return Fail("Winsock is not available");
    if (AnotherBridgeAnswers(file)) return Fail("another bridge already runs for " + folder);

    WindowLink link;
    if (!link.Open(reason)) return Fail(reason);
    std::uint8_t random[bridge::kTokenBytes];
    if (BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
        return Fail("no random numbers for the token");
    bridge::Address address;
    address.token = bridge::TokenHex(random, sizeof random);
    TcpServer server(link, address.token);
    if (!server.Listen(reason)) return Fail(reason);
    address.port = server.Port();
    if (!unix_host::WritePrivateFile(file, bridge::FormatBridgeFile(address)))
        return Fail("cannot write " + file);

    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
    std::printf("vantrel-bridge: listening on 127.0.0.1:%u, announced in %s\n", unsigned(address.port),
                file.c_str());
    std::fflush(stdout);
    LogEvent("bridge", "listening on 127.0.0.1:" + std::to_string(address.port) + ", announced in " + file);
    server.Run(g_stop);
    LogEvent("bridge", "stops");

    // Remove the announcement only while it is still this bridge's.
    std::string text;
    if (unix_host::ReadSmallFile(file, 256, text) && text == bridge::FormatBridgeFile(address))
        unix_host::RemoveFile(file);
    WSACleanup();
    StopEventLog();
    return 0;
}
