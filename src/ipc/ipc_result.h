#pragma once
#include <cstdint>
#include <string>

namespace vantrel {

// Result codes of the simulator-interface operations; the numbers are part of the interface.
enum IpcResult : std::uint32_t {
    kIpcOk = 0,
    kIpcAlreadyOpen = 1,
    kIpcNoServer = 2,
    kIpcRegisterMessageFailed = 3,
    kIpcAtomFailed = 4,
    kIpcMappingFailed = 5,
    kIpcViewFailed = 6,
    kIpcWrongVersion = 7,
    kIpcWrongSimulator = 8,
    kIpcNotOpen = 9,
    kIpcNothingQueued = 10,
    kIpcTimedOut = 11,
    kIpcSendFailed = 12,
    kIpcBadData = 13,
    kIpcWideClientNoServer = 14,
    kIpcQueueFull = 15,
};

inline constexpr std::uint32_t kIpcResultCount = 16;

// The text for a result code (the table of 16 strings kept beside the link window);
// codes outside the table give an empty text.
const char* IpcResultText(std::uint32_t result);

// The simulator name for a simulator code ("Any", "FS98", ...); empty when unknown.
const char* SimulatorName(std::uint32_t code);

} // namespace vantrel
