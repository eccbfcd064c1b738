#ifndef _WIN32

#include "ipc/loopback_owner.h"

#include <arpa/inet.h>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace vantrel {

#ifdef __linux__

namespace {

// A busy machine's tables hold some hundred thousand sockets at most; past that the read stops
// and the check fails rather than read without end.
constexpr std::size_t kMaxTableLines = 200000;
constexpr char kListen[] = "0A";

// "<address>:<port>" as the kernel prints an IPv4 end in /proc/net/tcp, and the same end as a
// v4-mapped address in /proc/net/tcp6.
std::string TableEnd4(const sockaddr_in& end) {
    char text[32];
    std::snprintf(text, sizeof text, "%08X:%04X", unsigned(end.sin_addr.s_addr),
                  unsigned(ntohs(end.sin_port)));
    return text;
}

std::string TableEnd6(const sockaddr_in& end) {
    char text[64];
    std::snprintf(text, sizeof text, "0000000000000000%08X%08X:%04X", unsigned(htonl(0x0000FFFF)),
                  unsigned(end.sin_addr.s_addr), unsigned(ntohs(end.sin_port)));
    return text;
}

// The local end of a listener that could take a connection to 127.0.0.1:port: 127.0.0.1 or
// 0.0.0.0 in /proc/net/tcp; ::ffff:127.0.0.1 or :: in /proc/net/tcp6.
std::string ListenerEnd(const char* address, std::uint16_t port) {
    char text[64];
    std::snprintf(text, sizeof text, "%s:%04X", address, unsigned(port));
    return text;
}

struct Scan {
    bool peer_found = false;
    bool peer_ours = false;
    bool foreign_listener = false;
    // "::" is printed alike for a dual-stack listener and an IPv6-only one; only the first
    // could have taken the connection, and it cannot exist beside a listener on 127.0.0.1 or
    // 0.0.0.0 of the same port, so one of ours there means a foreign "::" is IPv6-only.
    bool foreign_any6_listener = false;
    bool own_v4_listener = false;
};

// One table: the row whose local end is the peer and whose remote end is us, and the
// listening rows that could have accepted a connection to the peer's port. False when the
// table is unreadable or too long.
bool ScanTable(const char* path, const std::string& peer, const std::string& us, std::uint16_t port,
               unsigned uid, Scan& scan) {
    const bool v6 = std::string(path).back() == '6';
    const std::string loopback = ListenerEnd(v6 ? "0000000000000000FFFF00000100007F" : "0100007F", port);
    const std::string any = ListenerEnd(v6 ? "00000000000000000000000000000000" : "00000000", port);
    std::ifstream table(path);
    if (!table) return false;
    std::string line;
    std::getline(table, line); // the header
    for (std::size_t n = 0; std::getline(table, line); ++n) {
        if (n >= kMaxTableLines) return false;
        std::istringstream row(line);
        std::string slot, local, remote, state, queues, timer, retransmits;
        unsigned owner = 0;
        if (!(row >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> owner)) continue;
        if (local == peer && remote == us) {
            scan.peer_found = true;
            scan.peer_ours = owner == uid;
        }
        if (state != kListen || (local != loopback && local != any)) continue;
        if (owner == uid) {
            scan.own_v4_listener = scan.own_v4_listener || !v6;
        } else if (v6 && local == any) {
            scan.foreign_any6_listener = true;
        } else {
            scan.foreign_listener = true;
        }
    }
    return true;
}

} // namespace

bool LoopbackPeerIsOurs(int fd) {
    sockaddr_in peer{}, us{};
    socklen_t peer_length = sizeof peer, us_length = sizeof us;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_length) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&us), &us_length) != 0 || peer.sin_family != AF_INET)
        return false;
    const unsigned uid = getuid();
    const std::uint16_t port = ntohs(peer.sin_port);
    Scan scan;
    if (!ScanTable("/proc/net/tcp", TableEnd4(peer), TableEnd4(us), port, uid, scan)) return false;
    // Without IPv6 the second table is missing; a dual-stack listener shows there.
    ScanTable("/proc/net/tcp6", TableEnd6(peer), TableEnd6(us), port, uid, scan);
    return scan.peer_found && scan.peer_ours && !scan.foreign_listener &&
           !(scan.foreign_any6_listener && !scan.own_v4_listener);
}

#else

bool LoopbackPeerIsOurs(int) {
    return true;
}

#endif

namespace {
std::atomic<PeerCheck> g_peer_check{nullptr};
} // namespace

void SetBridgePeerCheck(PeerCheck check) {
    g_peer_check = check;
}

bool BridgePeerIsOurs(int fd) {
    const PeerCheck check = g_peer_check;
    return check != nullptr ? check(fd) : LoopbackPeerIsOurs(fd);
}

} // namespace vantrel

#endif
