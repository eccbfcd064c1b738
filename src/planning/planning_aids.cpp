// The small handlers that steer the plan: temperature, pressure, flaps, speeds mode,
// used-fuel reset and the load agent.
#include "planning/flight_plan.h"

#include "core/convert.h"
#include "core/rounding.h"

namespace vantrel {

namespace {
constexpr const char* kDegree = "\xC2\xB0";
constexpr int kStandardQnh = 1013;
} // namespace

void FlightPlan::CalcSpeedsInCurrentMode() {
    if (values.ActualMode)
        CalcSpeeds(FieldId::Edit48, FieldId::Edit48, true);
    else
        CalcSpeeds(FieldId::Edit25, FieldId::Edit26, false);
}

void FlightPlan::ScrollBar1Change() {
    const int t = Position(FieldId::ScrollBar1);
    const std::int64_t fahrenheit = RoundHalfEven(t * 9.0 / 5.0 + 32.0);
    SetText(FieldId::Label75, IntToStr(t) + kDegree + "C/" + IntToStr(fahrenheit) + kDegree + "F");
    CalcSpeedsInCurrentMode();
}

void FlightPlan::ScrollBar2Change() {
    const int q = Position(FieldId::ScrollBar2);
    SetText(FieldId::Label74, IntToStr(q) + "/" + IntToStr(RoundHalfEven(q * 7.5 / 2.54)));
    const double pressureAltitude = IntOf(FieldId::Edit46) + (kStandardQnh - q) / 19.0 * 500.0;
    SetText(FieldId::Edit47, IntToStr(RoundHalfEven(pressureAltitude)));
    CalcSpeedsInCurrentMode();
}

void FlightPlan::rg2Click() {
    if (onSwitchCue) onSwitchCue();
    CalcSpeedsInCurrentMode();
    if (onFlapsChanged) onFlapsChanged();
}

void FlightPlan::Button8Click() {
    if (Text(FieldId::Edit48).find('=') != std::string::npos) {
        if (onAlertCue) onAlertCue();
        return;
    }
    values.ActualMode = !values.ActualMode;
    CalcSpeedsInCurrentMode();
}

void FlightPlan::Button6Click() {
    if (onSwitchCue) onSwitchCue();
    SetColor(FieldId::Edit30, colors::Silver);
    SetText(FieldId::Edit30, "=====");
}

void FlightPlan::Button1Click() {
    if (onSwitchCue) onSwitchCue();
    std::uniform_int_distribution<int> pax(0, 49);
    std::uniform_int_distribution<int> cargo(0, values.WeightsInKg ? 511 : 1110);
    SetText(FieldId::Edit13, IntToStr(pax(random)));
    SetText(FieldId::Edit15, IntToStr(cargo(random)));
    Edit1Change(FieldId::Edit10);
}

} // namespace vantrel
