#ifdef _WIN32

#include "ipc/ipc_transport.h"

#include <windows.h>

namespace vantrel {

namespace {

// The exchange through the simulator's window: a registered message whose first parameter
// is a global atom naming a page-file-backed mapping.
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
        return window_ != nullptr;
    }

    bool RegisterMessage() override {
        message_ = RegisterWindowMessageA("FsasmLib:IPC");
        return message_ != 0;
    }

    bool AddNameAtom(const std::string& mapping_name) override {
        atom_ = GlobalAddAtomA(mapping_name.c_str());
        return atom_ != 0;
    }

    bool CreateMapping(const std::string& mapping_name, std::size_t size) override {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DWORD(size),
                                      mapping_name.c_str());
        return mapping_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    }

    std::uint8_t* MapView() override {
        view_ = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0);
        return static_cast<std::uint8_t*>(view_);
    }

    SendOutcome Send(int timeout_ms, std::uintptr_t& answer) override {
        DWORD_PTR reply = 0;
        SetLastError(0);
        if (SendMessageTimeoutA(window_, message_, WPARAM(atom_), 0, SMTO_BLOCK, UINT(timeout_ms), &reply) !=
            0) {
            answer = std::uintptr_t(reply);
            return SendOutcome::kAnswered;
        }
        // The time-out elapsed when the system reports no error code (older systems) or
        // ERROR_TIMEOUT (current ones); anything else is a failed send.
        const DWORD error = GetLastError();
        return error == 0 || error == ERROR_TIMEOUT ? SendOutcome::kTimedOut : SendOutcome::kFailed;
    }

    void Pause(int ms) override { Sleep(DWORD(ms)); }

    void Close() override {
        window_ = nullptr;
        message_ = 0;
        if (atom_ != 0) GlobalDeleteAtom(atom_);
        atom_ = 0;
        if (view_ != nullptr) UnmapViewOfFile(view_);
        view_ = nullptr;
        if (mapping_ != nullptr) CloseHandle(mapping_);
        mapping_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    UINT message_ = 0;
    ATOM atom_ = 0;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};

} // namespace

std::unique_ptr<IpcTransport> MakePlatformTransport() {
    return std::make_unique<Win32Transport>();
}

} // namespace vantrel

#endif
