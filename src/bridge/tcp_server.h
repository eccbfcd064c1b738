#pragma once
#include "ipc/bridge_session.h"
#include "window_link.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <winsock2.h>

namespace vantrel {

// Loopback TCP listener serving bridge sessions, one request at a time. A connection that
// does not show the token within a few seconds, shows a wrong one or breaks the protocol is
// closed without an answer; with every place taken, the oldest unproven one makes room.
class TcpServer {
public:
    TcpServer(WindowLink& link, std::string token);
    ~TcpServer();
    // Listens on 127.0.0.1 on a port the system picks; false with a reason.
    bool Listen(std::string& reason);
    std::uint16_t Port() const { return port_; }
    // Serves until stop is set.
    void Run(const std::atomic<bool>& stop);

private:
    struct Connection {
        SOCKET socket;
        std::unique_ptr<WindowSimulator> simulator;
        std::unique_ptr<BridgeSession> session;
        ULONGLONG token_deadline;
    };
    // Takes every waiting connection.
    void Accept();
    // False when the connection is to be closed.
    bool Read(Connection& connection);

    WindowLink& link_;
    std::string token_;
    SOCKET listener_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    std::vector<Connection> connections_;
};

} // namespace vantrel
