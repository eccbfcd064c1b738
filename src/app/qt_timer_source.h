#pragma once
#include "cockpit/cockpit_timer.h"

namespace vantrel {

class QtCockpitClock;

// Cockpit timers on QTimer. While the clock pauses, a timer that comes due is held back and
// fires once after the pause (see QtCockpitClock).
class QtTimerSource : public TimerSource {
public:
    explicit QtTimerSource(QtCockpitClock& clock) : clock_(clock) {}
    std::unique_ptr<CockpitTimer> CreateTimer(int intervalMs, bool enabled) override;

private:
    QtCockpitClock& clock_;
};

} // namespace vantrel
