#include "cockpit/cockpit_log.h"

#include "core/event_log.h"
#include "core/rounding.h"

namespace vantrel {

namespace {

// The kept lines' failure last said; the recorder runs on one thread, the window's.
std::string& LastKeptFailure() {
    static std::string said;
    return said;
}

std::string Pounds(double lb) {
    return std::to_string(RoundHalfEven(lb)) + " lb";
}

} // namespace

void LogSimulatorWindow(bool found) {
    LogChange("link", "window", found ? "simulator window found" : "no simulator window");
}

void LogLinkLost() {
    LogEvent("link", "link lost: the simulator window went away");
}

void LogTakeoff(double fuelLb) {
    LogEvent("flight", "take-off: phase 1, fuel on board " + Pounds(fuelLb));
}

void LogLanding(int phase, double fuelUsedLb) {
    LogEvent("flight", "landing: phase " + std::to_string(phase) + ", fuel used " + Pounds(fuelUsedLb) +
                           "; the flight-log line is due in a minute");
}

void LogFlightDue(long long minutes, int phase, long long shortest, long long longest) {
    std::string text = "flight of " + std::to_string(minutes) + " minutes, phase " + std::to_string(phase);
    if (phase != 2)
        text += ": not logged (a flight is logged after one take-off and one landing)";
    else if (minutes < shortest || minutes > longest)
        text += ": not logged (a flight is logged when it lasts " + std::to_string(shortest) + " to " +
                std::to_string(longest) + " minutes)";
    else
        text += ": goes into the flight log";
    LogEvent("flight", text);
}

void LogFlightLineWritten(const std::string& line) {
    LogEvent("flight", "flight-log line written: " + line);
    LastKeptFailure().clear();
}

void LogFlightLinesKept(std::size_t kept, const std::string& failure) {
    if (LastKeptFailure() == failure) return;
    LastKeptFailure() = failure;
    LogEvent("flight", std::to_string(kept) +
                           (kept == 1 ? " flight-log line kept: " : " flight-log lines kept: ") + failure);
}

void LogFuelLoopStart(bool refuel, std::int64_t targetLb, double fuelLb) {
    LogEvent("fuel", std::string(refuel ? "refuelling" : "defuelling") + " starts: " + Pounds(fuelLb) +
                         " on board, " + std::to_string(targetLb) + " lb wanted");
}

void LogFuelLoopEnd(bool refuel, std::int64_t targetLb, double fuelLb, bool tanksKnown, bool stalled,
                    bool valveOpened) {
    const bool reached = refuel ? RoundHalfEven(fuelLb + 10) >= targetLb : RoundHalfEven(fuelLb) <= targetLb;
    const char* reason = refuel ? "both tanks are full" : "both tanks are empty";
    if (!tanksKnown)
        reason = "no tank data from the simulator";
    else if (valveOpened)
        reason = "stopped at the defuel valve";
    else if (reached)
        reason = "the wanted fuel is on board";
    else if (stalled)
        reason = "the tanks stopped changing";
    LogEvent("fuel", std::string(refuel ? "refuelling" : "defuelling") + " ends: " + reason + ", " +
                         Pounds(fuelLb) + " on board");
}

} // namespace vantrel
