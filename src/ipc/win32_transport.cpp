#ifdef _WIN32

#include "ipc/ipc_transport.h"
#include "ipc/ipc_wire.h"
#include "ipc/link_log.h"
#include "ipc/win32_shared_block.h"

#include <array>
#include <cstring>

namespace vantrel {

namespace {

// The exchange through the simulator's window: a registered message whose first parameter
// is a global atom naming a page-file-backed mapping. The client queues into a private copy
// of the block, which each send carries into the shared one and each answer back, so that the
// shared block can be replaced after a send that went unanswered (win32_shared_block.h).
class Win32Transport : public IpcTransport {
public:
    ~Win32Transport() override { Close(); }

    bool FindServer(bool& through_fs98) override {
        window_ = FindWindowExA(nullptr, nullptr, "UIPCMAIN", nullptr);
        through_fs98 = false;
        if (window_ == nullptr) {
            window_ = FindWindowExA(nullptr, nullptr, "FS98MAIN", nullptr);
            through_fs98 = true;
        }
        if (window_ != nullptr) LogTransportChosen("window messages to the simulator's window");
        return window_ != nullptr;
    }

    bool RegisterMessage() override {
        message_ = RegisterWindowMessageA("FsasmLib:IPC");
        return message_ != 0;
    }

    bool AddNameAtom(const std::string& mapping_name) override { return shared_.AddAtom(mapping_name); }

    bool CreateMapping(const std::string&, std::size_t size) override {
        return size == ipc::kBlockSize && shared_.CreateMapping(size);
    }

    std::uint8_t* MapView() override {
        if (shared_.MapView() == nullptr) return nullptr;
        block_.fill(0);
        return block_.data();
    }

    SendOutcome Send(int timeout_ms, std::uintptr_t& answer) override {
        if (!shared_.Ready()) return SendOutcome::kFailed;
        std::memcpy(shared_.View(), block_.data(), block_.size());
        DWORD_PTR reply = 0;
        SetLastError(0);
        if (SendMessageTimeoutA(window_, message_, WPARAM(shared_.Atom()), 0, SMTO_BLOCK, UINT(timeout_ms),
                                &reply) != 0) {
            std::memcpy(block_.data(), shared_.View(), block_.size());
            shared_.Answered(window_);
            answer = std::uintptr_t(reply);
            return SendOutcome::kAnswered;
        }
        // The time-out elapsed when the system reports no error code (older systems) or
        // ERROR_TIMEOUT (current ones); anything else is a failed send.
        const DWORD error = GetLastError();
        shared_.Unanswered(window_);
        return error == 0 || error == ERROR_TIMEOUT ? SendOutcome::kTimedOut : SendOutcome::kFailed;
    }

    void Pause(int ms) override { Sleep(DWORD(ms)); }

    void Close() override {
        window_ = nullptr;
        message_ = 0;
        shared_.Close();
    }

private:
    HWND window_ = nullptr;
    UINT message_ = 0;
    Win32SharedBlock shared_;
    std::array<std::uint8_t, ipc::kBlockSize> block_{};
};

} // namespace

std::unique_ptr<IpcTransport> MakePlatformTransport() {
    return std::make_unique<Win32Transport>();
}

} // namespace vantrel

#endif
