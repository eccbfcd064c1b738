#include "plan_edits.h"

#include "planning/flight_plan.h"
#include "shell/settings_file.h"

namespace vantrel::cli {

// A weight box that is not a number stops the save; the error is listed like any other.
void SavePlanSettings(FlightPlan& plan) {
    plan.Guarded([&plan] { SaveSettings(plan); });
}

} // namespace vantrel::cli
