#pragma once

namespace vantrel {

// The bridge's diagnostic log, "vantrel-bridge.log" beside vantrel-bridge.exe (the program
// folder, where the program's report picks it up), at the level of "--log-level" or
// $VANTREL_LOG_LEVEL, starting with the version and the system (Wine's version included).
void StartBridgeLog(int argc, char** argv);

// A connection the bridge closes: one that proved the token (detail), or one that did not.
void LogBridgeConnectionClosed(bool proved);

} // namespace vantrel
