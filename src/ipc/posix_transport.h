#pragma once
#include "ipc/ipc_transport.h"

#ifndef _WIN32

namespace vantrel {

// The posix substitute of the window-message exchange: the server's "window" is a Unix stream
// socket D/<class>, the block a POSIX shared-memory object named after the mapping, and a send
// is the line "FsasmLib:IPC <name>\n" answered by "<decimal result>\n".
class PosixTransport : public IpcTransport {
public:
    // directory: the socket folder; empty means IpcDirectory() at each look-up.
    explicit PosixTransport(std::string directory = "");
    ~PosixTransport() override;

    bool FindServer(bool& through_fs98) override;
    bool RegisterMessage() override { return true; }
    bool AddNameAtom(const std::string& mapping_name) override;
    bool CreateMapping(const std::string& mapping_name, std::size_t size) override;
    std::uint8_t* MapView() override;
    SendOutcome Send(int timeout_ms, std::uintptr_t& answer) override;
    void Pause(int ms) override;
    void Close() override;

private:
    void Disconnect();

    std::string directory_;
    std::string socket_path_;
    std::string name_;
    int connection_ = -1;
    int mapping_ = -1;
    bool created_ = false;
    std::size_t size_ = 0;
    std::uint8_t* view_ = nullptr;
};

// How long a connect waits for room in a listener's full queue: the exchange's send time-out.
constexpr int kConnectTimeoutMs = 2000;

// Connects to a Unix stream socket; -1 on failure. A listener whose queue is full is waited
// for up to timeout_ms; no listener fails at once. The socket is left non-blocking and
// close-on-exec.
int ConnectUnixSocket(const std::string& path, int timeout_ms = kConnectTimeoutMs);

} // namespace vantrel

#endif
