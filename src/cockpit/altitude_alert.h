#pragma once
#include "cockpit/mouse_button.h"

#include <functional>

namespace vantrel {

class FlightPlan;

// The alert altitude on Panel6 and its arming; the plan keeps AlertAltitude and AlertDirection.

// Panel6 mouse-down after its switch cue: left 500 ft down (below 0 it stays at 0 and beeps),
// right 500 ft up; the panel shows the new value, not armed. The direction is left as it was.
void StepAlertAltitude(FlightPlan& plan, MouseButton button, const std::function<void()>& beep);

// Button7 after its switch cue: disarms an armed alert, else arms it for the direction in which
// the aircraft (at aircraftFeet, the altitude of the last data load) will pass the alert
// altitude. At the alert altitude itself there is nothing to pass, so it stays disarmed.
void ToggleAltitudeAlert(FlightPlan& plan, int aircraftFeet);

// The check of each data load: fires once when the aircraft has passed the armed altitude in the
// armed direction (equality does not fire): disarms, greys Panel6 and plays the cue.
// True when it fired.
bool CheckAltitudeAlert(FlightPlan& plan, int aircraftFeet, const std::function<void()>& altAlertCue);

} // namespace vantrel
