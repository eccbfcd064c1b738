#pragma once
#include "cockpit/cockpit_seams.h"

#include <memory>
#include <string>

namespace vantrel {

class FlightPlan;

// "DD/MM HH:MM" of the local time moved on by the UTC bias.
std::string UtcClockText(LocalMs localNow, int utcBiasMinutes);

// The main window's UTC clock in label87: shown once at creation, then every 10 seconds, each
// tick letting window messages run before and after a pause of 250 ms (the window goes on
// meanwhile).
class UtcClock {
public:
    UtcClock(FlightPlan& plan, const CockpitSeams& seams);
    // Shows the time now and starts the timer.
    void Start();
    void Timer1Timer();

    std::unique_ptr<CockpitTimer> Timer1;

private:
    Task<> Tick();
    void Show();
    FlightPlan& plan_;
    const CockpitSeams& seams_; // kept by reference: the owner may fill them in later
};

} // namespace vantrel
