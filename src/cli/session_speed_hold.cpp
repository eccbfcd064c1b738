// The speed hold's panels (Form7.pnat, Form7.pnrev) and the speeds gauge (Form4) in a session.
#include "session.h"

#include "planning/flight_plan.h"

namespace vantrel::cli {

namespace {

// The main window's design width; a session has no window, so its place is the stored one
// (or the top left corner) at that width.
constexpr int kMainWindowWidth = 1004;

int StoredOrOrigin(int stored) {
    return stored == WindowPositions::kNone ? 0 : stored;
}

} // namespace

void RegisterSpeedHoldAndGauge(SessionCommands& commands) {
    commands.starts.push_back([](Session& s) {
        const WindowPositions& w = s.plan.values.windowPositions;
        s.cockpit.gauge.FormCreate(StoredOrOrigin(w.Left1), StoredOrOrigin(w.Top1), kMainWindowWidth);
        // The warning needs the checklist window's voice.
        s.cockpit.hold.voice = [&s](int, int, int, const std::string& text) {
            if (!s.checklists.disabled && s.cockpit.seams.speak) s.cockpit.seams.speak(text);
        };
    });
    commands.clicks["Form7.pnat"] = [](Session& s) { s.cockpit.PnatClick(); };
    commands.clicks["Form7.pnrev"] = [](Session& s) { s.cockpit.PnrevClick(); };
    commands.clicks["Form4.label7"] = [](Session& s) {
        s.cockpit.QuickClick([&s] { s.cockpit.gauge.label7Click(); });
    };
    commands.clicks["Form4.Panel13"] = [](Session& s) {
        s.cockpit.QuickClick([&s] { s.cockpit.gauge.Panel13Click(); });
    };
    commands.mice["Form4.Panel1"] = [](Session& s, MouseButton b) {
        s.cockpit.QuickClick([&s, b] { s.cockpit.gauge.Panel1MouseDown(b); });
    };
    // The main window's Gauge panel shows or hides the gauge, and the checklist window unless
    // its voice features are off.
    commands.clicks["Panel9"] = [](Session& s) {
        s.cockpit.cues.PlaySwitchCue();
        s.cockpit.gauge.ToggleVisible();
        if (!s.checklists.disabled) s.checklists.visible = !s.checklists.visible;
    };
    commands.values.push_back([](const Session& s, QJsonObject& v) {
        const SpeedHold& hold = s.cockpit.hold;
        v["HoldActive"] = hold.HoldActive();
        v["HoldTarget"] = hold.Target();
        v["LastThrottle"] = hold.LastThrottle();
        v["Gain"] = hold.Gain();
        v["ReverseArmed"] = hold.ReverseArmed();
        v["GaugeVisible"] = s.cockpit.gauge.Visible();
        v["MainWindowVisible"] = s.cockpit.gauge.MainWindowVisible();
        v["GaugeLeft"] = s.cockpit.gauge.Left();
        v["GaugeTop"] = s.cockpit.gauge.Top();
    });
}

} // namespace vantrel::cli
