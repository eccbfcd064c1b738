#pragma once
#include "ipc/bridge_wire.h"
#include "ipc/ipc_transport.h"
#include "ipc/ipc_wire.h"

#ifndef _WIN32

#include <array>

namespace vantrel {

// The exchange with a simulator under Wine through vantrel-bridge.exe: the bridge's address
// and token come from its file in the IPC folder (which must be private, the file this user's
// and readable by nobody else), the block travels inline over loopback TCP. Each connection
// is taken only once its peer is a socket of this user and has proved it knows the token
// (once per connection, not per exchange); a peer that fails counts as no simulator. The block is a
// private buffer, so no name can be taken; a send is one "send" request, answered as the
// posix substitute answers (1 done, 0 bad data).
class BridgeTransport : public IpcTransport {
public:
    // directory: the IPC folder; empty means IpcDirectory() at each look-up.
    explicit BridgeTransport(std::string directory = "");
    ~BridgeTransport() override;

    bool FindServer(bool& through_fs98) override;
    bool RegisterMessage() override { return true; }
    bool AddNameAtom(const std::string&) override { return true; }
    bool CreateMapping(const std::string&, std::size_t size) override { return size == ipc::kBlockSize; }
    std::uint8_t* MapView() override;
    SendOutcome Send(int timeout_ms, std::uintptr_t& answer) override;
    void Pause(int ms) override;
    void Close() override;

private:
    // Reads the bridge file and connects; false when no bridge answers.
    bool Connect(int timeout_ms);
    void Disconnect();

    std::string directory_;
    int connection_ = -1;
    bool mapped_ = false;
    std::array<std::uint8_t, ipc::kBlockSize> block_{};
    std::array<std::uint8_t, ipc::kUsableSize> reply_{};
};

// The bridge announced in the folder, when its file is sound: a regular file of this user,
// readable by nobody else, inside a private folder.
bool ReadBridgeFile(const std::string& directory, bridge::Address& address);

// Whether the bridge announced in the folder reports a top-level window of the class; false
// when no bridge answers.
bool BridgeWindowExists(const std::string& directory, const std::string& window_class);

// The transport native programs use: the posix substitute's sockets when a server listens
// there, else a running bridge. With neither, the window counts as absent.
class NativeTransport : public IpcTransport {
public:
    explicit NativeTransport(std::string directory = "");

    bool FindServer(bool& through_fs98) override;
    bool RegisterMessage() override { return active_->RegisterMessage(); }
    bool AddNameAtom(const std::string& name) override { return active_->AddNameAtom(name); }
    bool CreateMapping(const std::string& name, std::size_t size) override {
        return active_->CreateMapping(name, size);
    }
    std::uint8_t* MapView() override { return active_->MapView(); }
    SendOutcome Send(int timeout_ms, std::uintptr_t& answer) override {
        return active_->Send(timeout_ms, answer);
    }
    void Pause(int ms) override { active_->Pause(ms); }
    void Close() override;

private:
    std::unique_ptr<IpcTransport> posix_;
    std::unique_ptr<IpcTransport> bridge_;
    IpcTransport* active_;
};

} // namespace vantrel

#endif
