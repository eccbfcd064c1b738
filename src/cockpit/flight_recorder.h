#pragma once
#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/flight_log.h"
#include "cockpit/link_data.h"

#include <deque>
#include <functional>
#include <string>

namespace vantrel {

class FlightPlan;

// Takes the take-off and landing moments from the on-ground flag of each data load, keeps the
// fuel used in flight, and one minute after a landing logs the flight (take-off followed by one
// landing, 5 to 480 minutes long) to the flight log. A line the log does not take (a full disk)
// is kept and tried again at every later data load and at shutdown, until it is written once,
// whole; the user is told once per flight through plan.onError.
class FlightRecorder {
public:
    // timer2 is the link window's one-shot timer (60 s); the recorder takes its OnTimer. The log
    // is kept in programDir (ending with a separator).
    FlightRecorder(FlightPlan& plan, const LinkData& data, CockpitTimer& timer2, CockpitClock& clock,
                   std::string programDir);

    // The flight-phase step of a successful data load: after that load's fuel figures, before
    // its displays. Colours Edit30.
    void FlightPhaseStep();
    // Timer2's tick: writes the log line of the last landing.
    void Timer2Timer();
    // The shutdown: a landing's line not yet due is written now, kept lines are tried once more,
    // and the lines still not written are shown to the user, who can note them down.
    void Shutdown();

    // Fuel used since the take-off, in pounds, as the last in-flight step worked it out.
    double FuelUsedLb() const { return fuelUsed_; }
    int Phase() const { return phase_; }
    const FlightLogEntry& Pending() const { return entry_; }

    // A flight was logged: the log viewer adds a row with the take-off date as "DD/MM".
    std::function<void(const std::string& dateDdMm)> onFlightLogged;

    static constexpr int kTimer2IntervalMs = 60'000;
    static constexpr long long kShortestMinutes = 5;
    static constexpr long long kLongestMinutes = 480;

private:
    LocalMs UtcNow() const;
    // Writes the kept lines in order, stopping at the first the log does not take.
    void WriteKeptLines();
    void Report(const std::string& text) const;

    struct KeptLine {
        std::string line;
        bool told = false; // the user knows it is kept
    };

    FlightPlan& plan_;
    const LinkData& data_;
    CockpitTimer& timer2_;
    CockpitClock& clock_;
    std::string programDir_;
    int phase_ = 0;
    double fuelAtTakeoff_ = 0;
    double fuelUsed_ = 0;
    FlightLogEntry entry_; // take-off and landing part of the flight being recorded
    std::deque<KeptLine> kept_;
    std::string lastFailure_; // why the log did not take the oldest kept line
    bool backupFailureTold_ = false;
    bool shuttingDown_ = false;
    bool writing_ = false;
};

} // namespace vantrel
