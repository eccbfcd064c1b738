#include "cockpit/altitude_alert.h"

#include "core/convert.h"
#include "planning/flight_plan.h"

namespace vantrel {

void StepAlertAltitude(FlightPlan& plan, MouseButton button, const std::function<void()>& beep) {
    int& altitude = plan.values.AlertAltitude;
    if (button == MouseButton::Left) {
        altitude -= 500;
        if (altitude < 0) {
            altitude = 0;
            if (beep) beep();
        }
    } else if (button == MouseButton::Right) {
        altitude += 500;
    } else {
        return;
    }
    const int shown = altitude;
    plan.Guarded([&plan, shown] {
        plan.SetText(FieldId::Panel6, IntToStr(shown));
        plan.SetColor(FieldId::Panel6, colors::Silver);
    });
}

void ToggleAltitudeAlert(FlightPlan& plan, int aircraftFeet) {
    plan.Guarded([&plan, aircraftFeet] {
        if (plan.Color(FieldId::Panel6) == colors::Lime) {
            plan.SetColor(FieldId::Panel6, colors::Silver);
            plan.values.AlertDirection = 0;
            return;
        }
        plan.SetColor(FieldId::Panel6, colors::Lime);
        const int alert = StrToInt(plan.Text(FieldId::Panel6));
        if (alert < aircraftFeet) {
            plan.values.AlertDirection = -1;
        } else if (alert > aircraftFeet) {
            plan.values.AlertDirection = 1;
        } else {
            plan.values.AlertDirection = 0;
            plan.SetColor(FieldId::Panel6, colors::Silver);
        }
    });
}

bool CheckAltitudeAlert(FlightPlan& plan, int aircraftFeet, const std::function<void()>& altAlertCue) {
    PlanValues& v = plan.values;
    if (v.AlertDirection == 1 && v.AlertAltitude < aircraftFeet) {
        v.AlertDirection = 0;
        plan.SetColor(FieldId::Panel6, colors::Silver);
        if (altAlertCue) altAlertCue();
        return true;
    }
    if (v.AlertDirection == -1 && aircraftFeet < v.AlertAltitude) {
        v.AlertDirection = 0;
        if (altAlertCue) altAlertCue();
        plan.SetColor(FieldId::Panel6, colors::Silver);
        return true;
    }
    return false;
}

} // namespace vantrel
