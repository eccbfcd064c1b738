// Take-off and landing speeds.
#include "planning/flight_plan.h"

namespace vantrel {

void FlightPlan::CalcSpeeds(FieldId takeoffField, FieldId /*landingField*/, bool actual) {
    SetText(FieldId::Label95,
            actual ? "Gross weight: ACT (" + Text(takeoffField) + ")" : "Gross weight: PLAN");
    if (onSpeedsBasis) onSpeedsBasis(actual ? "ACT" : "PLAN");
}

} // namespace vantrel
