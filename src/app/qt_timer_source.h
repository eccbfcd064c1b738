#pragma once
#include "cockpit/cockpit_timer.h"

namespace vantrel {

// Cockpit timers on QTimer. A handler a timer starts takes its turn among the cockpit's
// handlers itself, so a timer fires whenever it comes due.
class QtTimerSource : public TimerSource {
public:
    std::unique_ptr<CockpitTimer> CreateTimer(int intervalMs, bool enabled) override;
};

} // namespace vantrel
