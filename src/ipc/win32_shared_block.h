#pragma once

#ifdef _WIN32

#include <cstdint>
#include <string>
#include <vector>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vantrel {

// The named block that carries requests to the simulator's window, with its global atom.
//
// A message that timed out (or whose send failed) may still be served later, and by then the
// block would hold the next request. So after such a send the block is retired: its mapping is
// closed at once (a late message then finds no block and applies nothing) and the next send
// goes through a fresh block under a new name ("FsasmLib:IPC:<pid>:<next counter>"). The old
// atom is kept, so that its number cannot be given to another name, until the late message can
// no longer arrive: the same window has answered a later message (a window serves the messages
// of one sender in order), or the window is gone.
class Win32SharedBlock {
public:
    // Retired atoms held at most; past that no new block is made until a window answers or
    // goes (a simulator hung for many minutes).
    static constexpr std::size_t kMaxRetired = 256;

    ~Win32SharedBlock();

    // The open's three steps, each false on failure. A name still retired is not used again:
    // the block takes a fresh one instead.
    bool AddAtom(const std::string& name);
    bool CreateMapping(std::size_t size);
    std::uint8_t* MapView();

    // Makes a fresh block when the last one was retired; false when none can be made.
    bool Ready();
    std::uint8_t* View() const { return view_; }
    ATOM Atom() const { return atom_; }
    const std::string& Name() const { return name_; }
    std::size_t Retired() const { return retired_.size(); }

    // After a send to the window: answered releases what waited for it, anything else retires
    // the block.
    void Answered(HWND window);
    void Unanswered(HWND window);

    // Releases the block (not the retired atoms, which wait for their windows).
    void Close();

private:
    struct RetiredAtom {
        ATOM atom;
        std::string name;
        HWND window;
    };
    void ReleaseGone();

    std::string name_;
    std::size_t size_ = 0;
    ATOM atom_ = 0;
    HANDLE mapping_ = nullptr;
    std::uint8_t* view_ = nullptr;
    std::vector<RetiredAtom> retired_;
};

} // namespace vantrel

#endif
