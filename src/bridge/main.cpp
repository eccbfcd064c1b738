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
#include "ipc/bridge_proof.h"
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

// Milliseconds a start gives a bridge announced before it to show itself.
constexpr int kOtherBridgeWaitMs = 1500;

// Up to a line from the socket before the deadline (GetTickCount64); "" when none came.
std::string ReceiveLine(SOCKET s, ULONGLONG deadline) {
    std::string line;
    while (line.size() < bridge::kMaxLine) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return "";
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        const ULONGLONG left = deadline - now;
        timeval wait{long(left / 1000), long(left % 1000) * 1000};
        char c = 0;
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0 || recv(s, &c, 1, 0) != 1) return "";
        if (c == '\n') return line;
        line += c;
    }
    return "";
}

// True when the folder's bridge file names a bridge that still runs: something on its port
// answers the greeting with the proof of the file's token. A listener that took the port after
// the bridge died, or one that does not answer in time, is not one: the file is taken over.
bool AnotherBridgeRuns(const std::string& file) {
    std::string text;
    bridge::Address address;
    if (!unix_host::ReadSmallFile(file, 256, text) || !bridge::ParseBridgeFile(text, address)) return false;
    const ULONGLONG deadline = GetTickCount64() + kOtherBridgeWaitMs;
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    u_long non_blocking = 1;
    ioctlsocket(s, FIONBIO, &non_blocking);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(address.port);
    const std::string nonce = bridge::FreshNonce(), hello = "hello " + nonce + "\n";
    bool connected = connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        timeval wait{0, 1000 * (kOtherBridgeWaitMs / 2)};
        connected = select(0, nullptr, &writable, nullptr, &wait) == 1;
    }
    std::string bridge_nonce;
    const bool runs = connected && !nonce.empty() &&
                      send(s, hello.data(), int(hello.size()), 0) == int(hello.size()) &&
                      bridge::BridgeAnswerHolds(ReceiveLine(s, deadline), address.token, nonce, bridge_nonce);
    closesocket(s);
    return runs;
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
    if (AnotherBridgeRuns(file)) return Fail("another bridge already runs for " + folder);

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
