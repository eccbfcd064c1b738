#pragma once
#include "ipc/offset_space.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vantrel {

// Hidden top-level windows of the simulator's classes that answer the registered
// "FsasmLib:IPC" message: the atom names the client's mapping, whose block is served in a
// private copy (so a client changing it meanwhile cannot confuse the walk) and written back.
// The window returns 1 when the block was applied, 0 when it was refused.
class WindowServer {
public:
    WindowServer(OffsetSpace& space);
    ~WindowServer();

    // Registers the classes and creates one window each; false with a reason on failure.
    bool Start(const std::vector<std::string>& window_classes, std::string& reason);
    // The first window: commands for the server are posted to it.
    HWND Window() const { return windows_.empty() ? nullptr : windows_.front(); }
    // The message that carries a command line (lParam: a new'd std::string).
    static constexpr UINT kCommandMessage = WM_APP + 1;

    // A test's busy simulator: the next block that writes the offset is applied, then the
    // window stops answering for up to ms milliseconds (until `resume` is set).
    void HangAfterWrite(std::uint32_t offset, DWORD ms, HANDLE resume);
    // A test's simulator that takes a message and then stalls before it reads the block: the
    // next request message waits up to ms milliseconds (until `resume` is set) first.
    void HangBeforeRead(DWORD ms, HANDLE resume);
    // How many applied blocks wrote the offset.
    unsigned WritesTo(std::uint32_t offset) const;

    unsigned Requests() const { return requests_; }
    unsigned Refused() const { return refused_; }
    std::string (*on_command)(WindowServer&, const std::string&) = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Serve(ATOM atom);
    // Counts the applied block's writes; true when one of them hits the armed hang's offset.
    bool CountWrites(const std::uint8_t* block);

    OffsetSpace& space_;
    UINT message_ = 0;
    std::vector<HWND> windows_;
    unsigned requests_ = 0;
    unsigned refused_ = 0;
    std::map<std::uint32_t, unsigned> writes_;
    bool hang_armed_ = false;
    bool stall_armed_ = false;
    DWORD stall_ms_ = 0;
    std::uint32_t hang_offset_ = 0;
    DWORD hang_ms_ = 0;
    HANDLE resume_ = nullptr;
};

} // namespace vantrel
