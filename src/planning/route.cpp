// Route legs and fuel burn.
#include "planning/flight_plan.h"

namespace vantrel {

void FlightPlan::Edit1Change(FieldId /*sender*/) {}

} // namespace vantrel
