#pragma once
#include <string>

namespace vantrel {

// Whether a top-level window of the class is there: on Windows the window itself, elsewhere
// the socket of that name in the link's folder accepting a connection, else a running bridge
// reporting the window under Wine (a folder that is not private counts as no window).
bool SimulatorWindowExists(const std::string& windowClass);

// The class of the simulator's main window.
constexpr const char* kSimulatorWindowClass = "FS98MAIN";

} // namespace vantrel
