#include "window_link.h"

#include "ipc/ipc_transport.h"
#include "ipc/ipc_wire.h"

#include <cstring>

namespace vantrel {

WindowLink::~WindowLink() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    if (atom_ != 0) GlobalDeleteAtom(atom_);
}

bool WindowLink::Open(std::string& reason) {
    message_ = RegisterWindowMessageA("FsasmLib:IPC");
    const std::string name = MappingName(CurrentProcessId(), 1);
    atom_ = GlobalAddAtomA(name.c_str());
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DWORD(ipc::kBlockSize),
                                  name.c_str());
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (mapping_ != nullptr && !existed)
        view_ = static_cast<std::uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
    if (message_ == 0 || atom_ == 0 || view_ == nullptr) {
        reason = "cannot set up the shared block " + name + " (error " + std::to_string(GetLastError()) + ")";
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
    std::uint8_t* view = link_.View();
    std::memcpy(view, block, used);
    DWORD_PTR reply = 0;
    SetLastError(0);
    if (SendMessageTimeoutA(window_, link_.Message(), WPARAM(link_.Atom()), 0, SMTO_BLOCK, UINT(timeout_ms),
                            &reply) == 0) {
        const DWORD error = GetLastError();
        return error == 0 || error == ERROR_TIMEOUT ? Outcome::kTimedOut : Outcome::kFailed;
    }
    std::memcpy(block, view, used);
    answer = std::uintptr_t(reply);
    return Outcome::kAnswered;
}

} // namespace vantrel
