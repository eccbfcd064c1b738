#include "tcp_server.h"

#include "bridge_log.h"

#include "ipc/bridge_wire.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace vantrel {

namespace {

constexpr std::size_t kMaxConnections = 32;
// A pass takes at most this many waiting connections, so that a flood cannot starve the
// connections already open.
constexpr int kMaxAcceptsPerPass = 256;
constexpr int kSendTimeoutMs = 2000;

bool SendAll(SOCKET socket, const std::string& data) {
    std::size_t sent = 0;
    const ULONGLONG deadline = GetTickCount64() + kSendTimeoutMs;
    while (sent < data.size()) {
        const int n = send(socket, data.data() + sent, int(data.size() - sent), 0);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK && GetTickCount64() < deadline) {
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(socket, &writable);
            timeval wait{0, 50000};
            select(0, nullptr, &writable, nullptr, &wait);
            continue;
        }
        return false;
    }
    return true;
}

} // namespace

TcpServer::TcpServer(WindowLink& link, std::string token) : link_(link), token_(std::move(token)) {}

TcpServer::~TcpServer() {
    for (Connection& c : connections_)
        closesocket(c.socket);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

bool TcpServer::Listen(std::string& reason) {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int length = sizeof addr;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listener_, SOMAXCONN) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        reason = "cannot listen on 127.0.0.1 (error " + std::to_string(WSAGetLastError()) + ")";
        return false;
    }
    port_ = ntohs(addr.sin_port);
    u_long non_blocking = 1;
    ioctlsocket(listener_, FIONBIO, &non_blocking);
    return true;
}

void TcpServer::Run(const std::atomic<bool>& stop) {
    while (!stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        for (const Connection& c : connections_)
            FD_SET(c.socket, &readable);
        timeval wait{0, 200000};
        if (select(0, &readable, nullptr, nullptr, &wait) == SOCKET_ERROR) break;
        const ULONGLONG now = GetTickCount64();
        std::vector<Connection> kept;
        for (Connection& c : connections_) {
            // A connection that trickles bytes still has to show its token in time.
            const bool keep = (!FD_ISSET(c.socket, &readable) || Read(c)) &&
                              (c.session->Authenticated() || now < c.token_deadline);
            if (keep) {
                kept.push_back(std::move(c));
            } else {
                LogBridgeConnectionClosed(c.session->Authenticated());
                closesocket(c.socket);
            }
        }
        connections_ = std::move(kept);
        if (FD_ISSET(listener_, &readable)) Accept();
    }
}

// Takes every connection waiting. When all places are taken, the oldest connection that has
// not proved the token yet gives its place up: silent connections of somebody else then cannot
// keep this user's program out.
void TcpServer::Accept() {
    for (int n = 0; n < kMaxAcceptsPerPass; ++n) {
        const SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        if (connections_.size() >= kMaxConnections) {
            const auto oldest = std::find_if(connections_.begin(), connections_.end(),
                                             [](const Connection& c) { return !c.session->Authenticated(); });
            if (oldest == connections_.end()) {
                closesocket(s);
                continue;
            }
            closesocket(oldest->socket);
            connections_.erase(oldest);
        }
        u_long non_blocking = 1;
        ioctlsocket(s, FIONBIO, &non_blocking);
        const BOOL no_delay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay), sizeof no_delay);
        auto simulator = std::make_unique<WindowSimulator>(link_);
        auto session = std::make_unique<BridgeSession>(token_, *simulator);
        connections_.push_back(Connection{s, std::move(simulator), std::move(session),
                                          GetTickCount64() + bridge::kHelloTimeoutMs});
    }
}

bool TcpServer::Read(Connection& connection) {
    char buffer[16384];
    const int n = recv(connection.socket, buffer, sizeof buffer, 0);
    if (n == 0) return false;
    if (n == SOCKET_ERROR) return WSAGetLastError() == WSAEWOULDBLOCK;
    std::string out;
    const bool keep = connection.session->Feed(buffer, std::size_t(n), out);
    if (!out.empty() && !SendAll(connection.socket, out)) return false;
    return keep;
}

} // namespace vantrel
