#ifdef _WIN32

#include "ipc/win32_shared_block.h"

#include "ipc/ipc_transport.h"

#include <algorithm>

namespace vantrel {

Win32SharedBlock::~Win32SharedBlock() {
    Close();
    for (const RetiredAtom& retired : retired_)
        GlobalDeleteAtom(retired.atom);
}

bool Win32SharedBlock::AddAtom(const std::string& name) {
    ReleaseGone();
    const bool still_retired = std::any_of(retired_.begin(), retired_.end(),
                                           [&](const RetiredAtom& retired) { return retired.name == name; });
    name_ = still_retired ? MappingName(CurrentProcessId(), NextMappingCounter()) : name;
    atom_ = GlobalAddAtomA(name_.c_str());
    return atom_ != 0;
}

bool Win32SharedBlock::CreateMapping(std::size_t size) {
    size_ = size;
    SetLastError(0);
    mapping_ =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DWORD(size), name_.c_str());
    return mapping_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

std::uint8_t* Win32SharedBlock::MapView() {
    view_ = static_cast<std::uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
    return view_;
}

bool Win32SharedBlock::Ready() {
    if (view_ != nullptr) return true;
    ReleaseGone();
    if (retired_.size() >= kMaxRetired || size_ == 0) return false;
    Close();
    if (AddAtom(MappingName(CurrentProcessId(), NextMappingCounter())) && CreateMapping(size_) &&
        MapView() != nullptr)
        return true;
    Close();
    return false;
}

void Win32SharedBlock::Answered(HWND window) {
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                  [&](const RetiredAtom& retired) {
                                      if (retired.window != window) return false;
                                      GlobalDeleteAtom(retired.atom);
                                      return true;
                                  }),
                   retired_.end());
}

void Win32SharedBlock::Unanswered(HWND window) {
    if (atom_ != 0) retired_.push_back({atom_, name_, window});
    atom_ = 0;
    Close();
}

void Win32SharedBlock::ReleaseGone() {
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                  [](const RetiredAtom& retired) {
                                      if (IsWindow(retired.window)) return false;
                                      GlobalDeleteAtom(retired.atom);
                                      return true;
                                  }),
                   retired_.end());
}

void Win32SharedBlock::Close() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    view_ = nullptr;
    if (mapping_ != nullptr) CloseHandle(mapping_);
    mapping_ = nullptr;
    if (atom_ != 0) GlobalDeleteAtom(atom_);
    atom_ = 0;
}

} // namespace vantrel

#endif
