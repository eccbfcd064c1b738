#ifndef _WIN32

#include "ipc/loopback_owner.h"

#include <arpa/inet.h>
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

bool SamePort(const std::string& table_end, std::uint16_t port) {
    char text[8];
    std::snprintf(text, sizeof text, ":%04X", unsigned(port));
    return table_end.size() > 5 && table_end.compare(table_end.size() - 5, 5, text) == 0;
}

struct Scan {
    bool peer_found = false;
    bool peer_ours = false;
    bool listeners_ours = true;
};

// One table: the row whose local end is the peer and whose remote end is us, and every
// listening row on the peer's port. False when the table is unreadable or too long.
bool ScanTable(const char* path, const std::string& peer, const std::string& us, std::uint16_t port,
               unsigned uid, Scan& scan) {
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
        if (state == kListen && SamePort(local, port) && owner != uid) scan.listeners_ours = false;
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
    return scan.peer_found && scan.peer_ours && scan.listeners_ours;
}

#else

bool LoopbackPeerIsOurs(int) {
    return true;
}

#endif

} // namespace vantrel

#endif
