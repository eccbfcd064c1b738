#pragma once
#include "ipc/bridge_session.h"
#include "ipc/win32_shared_block.h"

#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vantrel {

// The bridge's own link to the simulator's window: one registered message, one block under
// this process's name and its atom, shared by every connection (they are served one at a time)
// and replaced by a fresh one after an exchange that went unanswered.
class WindowLink {
public:
    bool Open(std::string& reason);
    UINT Message() const { return message_; }
    Win32SharedBlock& Block() { return block_; }

private:
    UINT message_ = 0;
    Win32SharedBlock block_;
};

// One connection's view of the simulator: the window found by its last look-up (as a client
// keeps the window it found when it opened), looked up afresh when there is none yet.
class WindowSimulator : public BridgeSimulator {
public:
    explicit WindowSimulator(WindowLink& link) : link_(link) {}
    std::string FindWindowClass() override;
    bool WindowExists(const std::string& window_class) override;
    Outcome Exchange(std::uint8_t* block, std::size_t used, int timeout_ms, std::uintptr_t& answer) override;

private:
    WindowLink& link_;
    HWND window_ = nullptr;
};

} // namespace vantrel
