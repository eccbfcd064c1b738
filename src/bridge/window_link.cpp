#include "window_link.h"

#include "ipc/ipc_transport.h"
#include "ipc/ipc_wire.h"

#include <cstring>

namespace vantrel {

bool WindowLink::Open(std::string& reason) {
    message_ = RegisterWindowMessageA("FsasmLib:IPC");
    const std::string name = MappingName(CurrentProcessId(), 1);
    if (message_ == 0 || !block_.AddAtom(name) || !block_.CreateMapping(ipc::kBlockSize) ||
        block_.MapView() == nullptr) {
        reason = "cannot set up the shared block " + block_.Name() + " (error " +
                 std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

std::string WindowSimulator::FindWindowClass() {
    for (const char* name : {"UIPCMAIN", "FS98MAIN"}) {
        window_ = FindWindowExA(nullptr, nullptr, name, nullptr);
        if (window_ != nullptr) return name;
    }
    return "";
}

bool WindowSimulator::WindowExists(const std::string& window_class) {
    return FindWindowExA(nullptr, nullptr, window_class.c_str(), nullptr) != nullptr;
}

BridgeSimulator::Outcome WindowSimulator::Exchange(std::uint8_t* block, std::size_t used, int timeout_ms,
                                                   std::uintptr_t& answer) {
    if (window_ == nullptr && FindWindowClass().empty()) return Outcome::kFailed;
    Win32SharedBlock& shared = link_.Block();
    if (!shared.Ready()) return Outcome::kFailed;
    std::memcpy(shared.View(), block, used);
    DWORD_PTR reply = 0;
    SetLastError(0);
    if (SendMessageTimeoutA(window_, link_.Message(), WPARAM(shared.Atom()), 0, SMTO_BLOCK, UINT(timeout_ms),
                            &reply) == 0) {
        const DWORD error = GetLastError();
        shared.Unanswered(window_);
        return error == 0 || error == ERROR_TIMEOUT ? Outcome::kTimedOut : Outcome::kFailed;
    }
    std::memcpy(block, shared.View(), used);
    shared.Answered(window_);
    answer = std::uintptr_t(reply);
    return Outcome::kAnswered;
}

} // namespace vantrel
