#pragma once
#include "cockpit/cockpit_clock.h"

#include <functional>
#include <memory>
#include <vector>

namespace vantrel {

// A timer as the toolkit has them: setting the period or enabling it starts its countdown
// afresh, disabling it cancels the countdown, a stopped timer keeps its period. OnTimer runs
// each time the countdown ends (then the next countdown starts).
class CockpitTimer {
public:
    virtual ~CockpitTimer() = default;
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;

    std::function<void()> OnTimer;
};

// Makes the timers of the cockpit objects: toolkit timers in the program, timers on a virtual
// clock in a headless session and in tests.
class TimerSource {
public:
    virtual ~TimerSource() = default;
    virtual std::unique_ptr<CockpitTimer> CreateTimer(int intervalMs, bool enabled) = 0;
};

// Timers on a VirtualClock. AdvanceTo moves the clock, running every timer that comes due on
// the way in time order (ties in creation order), each at its due time. A timer whose due
// times a waiting handler has carried the clock past runs once, at once, then a period later.
class VirtualTimers : public TimerSource {
public:
    explicit VirtualTimers(VirtualClock& clock) : clock_(clock) {}
    ~VirtualTimers() override;
    std::unique_ptr<CockpitTimer> CreateTimer(int intervalMs, bool enabled) override;
    void AdvanceTo(LocalMs target);
    void AdvanceBy(std::int64_t ms) { AdvanceTo(clock_.Now() + ms); }

private:
    class Timer;
    friend class Timer;
    VirtualClock& clock_;
    std::vector<Timer*> timers_;
};

} // namespace vantrel
