#include "plan_edits.h"

#include "planning/flight_plan.h"

namespace vantrel::cli {

void SavePlanSettings(FlightPlan& /*plan*/) {}

} // namespace vantrel::cli
