#include "cockpit/utc_clock.h"

#include "planning/flight_plan.h"

#include <cstdio>

namespace vantrel {

std::string UtcClockText(LocalMs localNow, int utcBiasMinutes) {
    const CivilTime utc = ToCivil(localNow + std::int64_t(utcBiasMinutes) * 60000);
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d", utc.day, utc.month, utc.hour, utc.minute);
    return text;
}

UtcClock::UtcClock(FlightPlan& plan, const CockpitSeams& seams)
    : Timer1(seams.timers.CreateTimer(10000, false)), plan_(plan), seams_(seams) {
    Timer1->OnTimer = [this] { Timer1Timer(); };
}

void UtcClock::Start() {
    Show();
    Timer1->SetEnabled(true);
}

void UtcClock::Show() {
    const std::string text = UtcClockText(seams_.clock.Now(), plan_.values.UtcBiasMinutes);
    plan_.Guarded([&] { plan_.SetText(FieldId::label87, text); });
}

void UtcClock::Timer1Timer() {
    Tick(); // goes on by itself after its pause
}

Task<> UtcClock::Tick() {
    Timer1->SetInterval(10000);
    if (seams_.processMessages) seams_.processMessages();
    Show();
    co_await seams_.clock.Sleep(250);
    if (seams_.processMessages) seams_.processMessages();
}

} // namespace vantrel
