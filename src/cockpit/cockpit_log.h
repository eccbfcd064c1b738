#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel {

// The cockpit's lines in the diagnostic log: the flight recorder's phases and flight-log lines,
// and the fuel panel's loops. Each is called from one line at the place it describes.

// Whether the monitor finds the simulator's window, once per change.
void LogSimulatorWindow(bool found);
void LogLinkLost();

void LogTakeoff(double fuelLb);
void LogLanding(int phase, double fuelUsedLb);
// One minute after a landing: whether the flight goes into the log, and why not.
void LogFlightDue(long long minutes, int phase, long long shortest, long long longest);
void LogFlightLineWritten(const std::string& line);
// A line the log did not take; said once per change of failure.
void LogFlightLinesKept(std::size_t kept, const std::string& failure);

void LogFuelLoopStart(bool refuel, std::int64_t targetLb, double fuelLb);
// Why the loop ended, from the state it ended in.
void LogFuelLoopEnd(bool refuel, std::int64_t targetLb, double fuelLb, bool tanksKnown, bool stalled,
                    bool valveOpened);

} // namespace vantrel
