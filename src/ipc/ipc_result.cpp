#include "ipc/ipc_result.h"

namespace vantrel {

namespace {

const char* const kResultTexts[kIpcResultCount] = {
    "Okay",
    "Attempt to Open when already Open",
    "Cannot link to FSUIPC or WideClient",
    "Failed to Register common message with Windows",
    "Failed to create Atom for mapping filename",
    "Failed to create a file mapping object",
    "Failed to open a view to the file map",
    "Incorrect version of FSUIPC, or not FSUIPC",
    "Sim is not version requested",
    "Call cannot execute, link not Open",
    "Call cannot execute: no requests accumulated",
    "IPC timed out all retries",
    "IPC sendmessage failed all retries",
    "IPC request contains bad data",
    "Maybe running on WideClient, but FS not running on Server, or wrong FSUIPC",
    "Read or Write request cannot be added, memory for Process is full",
};

const char* const kSimulatorNames[] = {"Any", "FS98", "FS2K", "CFS2", "CFS1", "FLY", "FS2002"};

} // namespace

const char* IpcResultText(std::uint32_t result) {
    return result < kIpcResultCount ? kResultTexts[result] : "";
}

const char* SimulatorName(std::uint32_t code) {
    return code < std::size(kSimulatorNames) ? kSimulatorNames[code] : "";
}

} // namespace vantrel
