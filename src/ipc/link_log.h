#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrel {

// What one simulator-interface client tells the diagnostic log: opens and closes, every failed
// exchange with its result text and how long it lasted, and an exchange that stalled. A monitor
// that tries to open every second while no simulator runs gives one line, not one a second.
class LinkLog {
public:
    void Opened(bool ok, std::uint32_t result, std::uint32_t simulator, bool throughFs98);
    void Closed();
    void Exchanged(bool ok, std::uint32_t result, std::size_t bytes,
                   std::chrono::steady_clock::duration took);

private:
    std::uint32_t lastFailure_ = 0; // the result of the last open that failed; 0 after a success
    int failedOpens_ = 0;
    int opens_ = 0;
    bool open_ = false; // a close is worth a line only after an open that held
};

// The native client's reasons for turning a bridge down (no file, folder rule, owner check,
// proof), once per change of reason; an accepted bridge is said once too.
void LogBridgeRefused(std::string_view why);
void LogBridgeAccepted(std::uint16_t port);
// The same, for a step that answers with false or -1.
bool BridgeRefused(std::string_view why);
int BridgeConnectionRefused(std::string_view why);
// The carrier the client found the simulator through ("posix socket in DIR", "the bridge").
void LogTransportChosen(std::string_view transport);

} // namespace vantrel
