#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ipc/ipc_wire.h"

namespace vantrel {

// The simulator side of one bridge connection: its window and the exchange through it.
class BridgeSimulator {
public:
    virtual ~BridgeSimulator() = default;
    // Looks for the simulator's window ("UIPCMAIN" first, then "FS98MAIN"); "" when neither.
    virtual std::string FindWindowClass() = 0;
    // Whether a top-level window of the class is there (the link monitor's look-up).
    virtual bool WindowExists(const std::string& window_class) = 0;

    enum class Outcome { kAnswered, kTimedOut, kFailed };
    // Hands the first `used` bytes of block to the simulator and takes its answered copy back
    // into block; answer is the value its window returned.
    virtual Outcome Exchange(std::uint8_t* block, std::size_t used, int timeout_ms,
                             std::uintptr_t& answer) = 0;
};

// One connection to the bridge, as bytes in and bytes out: the proof of the token both ways
// first, then requests. Each block is checked before it goes to the simulator and its answer
// before it goes back; a faulty block is answered "0" and never reaches the simulator.
class BridgeSession {
public:
    BridgeSession(std::string token, BridgeSimulator& simulator);

    // Takes bytes that arrived and appends the replies to `out`. False when the connection is
    // to be closed (after sending `out`): a malformed greeting, a wrong or missing proof (then
    // nothing but the bridge's own proof was sent), a malformed or over-long line.
    bool Feed(const char* data, std::size_t size, std::string& out);

    bool Authenticated() const { return state_ == State::kCommand || state_ == State::kBlock; }

private:
    enum class State { kHello, kProof, kCommand, kBlock };
    bool Line(const std::string& line, std::string& out);
    bool Greeting(const std::string& line, std::string& out);
    void Serve(std::string& out);

    std::string token_;
    BridgeSimulator& simulator_;
    State state_ = State::kHello;
    std::string client_nonce_;
    std::string bridge_nonce_;
    std::string line_;
    int timeout_ms_ = 0;
    std::size_t length_ = 0;
    std::size_t received_ = 0;
    std::array<std::uint8_t, ipc::kUsableSize> block_{};
    std::array<std::uint8_t, ipc::kUsableSize> sent_{};
};

} // namespace vantrel
