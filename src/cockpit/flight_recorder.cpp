#include "cockpit/flight_recorder.h"

#include "cockpit/cockpit_log.h"
#include "core/convert.h"
#include "planning/flight_plan.h"

#include <utility>

namespace vantrel {

FlightRecorder::FlightRecorder(FlightPlan& plan, const LinkData& data, CockpitTimer& timer2,
                               CockpitClock& clock, std::string programDir)
    : plan_(plan), data_(data), timer2_(timer2), clock_(clock), programDir_(std::move(programDir)) {
    timer2_.OnTimer = [this] { Timer2Timer(); };
}

LocalMs FlightRecorder::UtcNow() const {
    return clock_.Now() + static_cast<LocalMs>(plan_.values.UtcBiasMinutes) * 60'000;
}

void FlightRecorder::FlightPhaseStep() {
    WriteKeptLines();
    const double fuel = data_.leftFuelLb + data_.rightFuelLb;
    const bool wasOnGround = data_.onGroundPrevious != 0;
    const bool onGround = data_.onGroundCurrent != 0;
    if (wasOnGround && !onGround) {
        fuelAtTakeoff_ = fuel;
        // The take-off tick shows this flight's fuel used (none yet), not the last flight's.
        fuelUsed_ = 0;
        plan_.SetColor(FieldId::Edit30, colors::Lime);
        entry_.takeoffUtc = UtcNow();
        entry_.takeoffWeight = plan_.Text(FieldId::Edit48);
        phase_ = 1;
        LogTakeoff(fuel);
    } else if (!wasOnGround && !onGround) {
        fuelUsed_ = fuelAtTakeoff_ - fuel;
        plan_.SetColor(FieldId::Edit30, colors::Lime);
    } else if (!wasOnGround && onGround) {
        plan_.SetColor(FieldId::Edit30, colors::Yellow);
        entry_.landingUtc = UtcNow();
        entry_.fuelUsed = plan_.Text(FieldId::Edit30);
        entry_.tripFuel = plan_.Text(FieldId::Edit19);
        timer2_.SetEnabled(true);
        ++phase_;
        LogLanding(phase_, fuelUsed_);
    } else {
        plan_.SetColor(FieldId::Edit30, colors::Yellow);
    }
}

void FlightRecorder::Timer2Timer() {
    timer2_.SetEnabled(false);
    const long long minutes = FlightMinutes(entry_);
    LogFlightDue(minutes, phase_, kShortestMinutes, kLongestMinutes);
    if (minutes < kShortestMinutes || minutes > kLongestMinutes || phase_ != 2) return;
    FlightLogEntry entry = entry_;
    entry.origin = plan_.Text(FieldId::Edit1);
    entry.destination = plan_.Text(FieldId::Edit2);
    entry.plannedTime = plan_.Text(FieldId::Edit11);
    entry.passengers = plan_.Text(FieldId::Edit13);
    entry.cargo = plan_.Text(FieldId::Edit15);
    const CivilTime takeoff = ToCivil(entry.takeoffUtc);
    if (onFlightLogged) onFlightLogged(ZeroPad(takeoff.day, 2) + '/' + ZeroPad(takeoff.month, 2));
    kept_.push_back({FormatFlightLogLine(entry)});
    WriteKeptLines();
}

void FlightRecorder::WriteKeptLines() {
    // A box shown below lets other code run; a second writer meanwhile would write the same
    // line again. The lines wait for this one.
    if (writing_) return;
    writing_ = true;
    struct Writing {
        bool& flag;
        ~Writing() { flag = false; }
    } writing{writing_};
    while (!kept_.empty()) {
        const FlightLogWrite result = AppendFlightLog(programDir_, kept_.front().line);
        if (result.Written()) {
            LogFlightLineWritten(kept_.front().line);
            kept_.pop_front(); // written: gone before anything is shown
        }
        if (!result.backupFailure.empty() && !backupFailureTold_) {
            backupFailureTold_ = true;
            Report(result.backupFailure + ". The flight log has no backup.");
        }
        if (result.Written()) continue;
        lastFailure_ = result.failure;
        LogFlightLinesKept(kept_.size(), result.failure);
        // Each flight is told once: the one just landed, not again the ones kept before it.
        bool untold = false;
        for (KeptLine& k : kept_)
            untold = !std::exchange(k.told, true) || untold;
        if (untold && !shuttingDown_)
            Report(result.failure +
                   ". The flight is kept and goes into the log as soon as the log can be written.");
        return;
    }
}

void FlightRecorder::Shutdown() {
    shuttingDown_ = true;
    // A landing less than a minute ago: its line is due now, not after the program has gone.
    if (timer2_.Enabled()) Timer2Timer();
    WriteKeptLines();
    if (kept_.empty()) return;
    std::string lines;
    for (const KeptLine& k : kept_) {
        lines += '\n';
        lines.append(k.line, 0, k.line.size() - 2); // without its CR LF
    }
    Report(lastFailure_ + ". " + (kept_.size() == 1 ? "This flight is" : "These flights are") +
           " not in the flight log:" + lines);
    kept_.clear();
}

void FlightRecorder::Report(const std::string& text) const {
    if (plan_.onError) plan_.onError(text);
}

} // namespace vantrel
