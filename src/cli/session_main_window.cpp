// The main window's controls in a session: the plan's buttons, the link's buttons and lamps,
// the sound switch and the alert altitude.
#include "plan_edits.h"
#include "session.h"

#include "planning/flight_plan.h"

namespace vantrel::cli {

namespace {

// A button as the window has it: a disabled one takes no click.
std::function<void(Session&)> WhenEnabled(const char* name, void (Cockpit::*handler)()) {
    return [name, handler](Session& s) {
        if (s.cockpit.controls.Get(name).enabled) (s.cockpit.*handler)();
    };
}

} // namespace

void RegisterMainWindow(SessionCommands& commands) {
    for (const auto& [name, action] : PlanButtons()) {
        if (name == "Button8") continue; // needs the link's state; below
        commands.clicks[name] = [action = action](Session& s) {
            s.plan.Guarded([&] { action(s.plan, s.answer); });
        };
    }
    commands.clicks["Button3"] = WhenEnabled("Button3", &Cockpit::Button3Click);
    commands.clicks["Button4"] = WhenEnabled("Button4", &Cockpit::Button4Click);
    commands.clicks["Button7"] = WhenEnabled("Button7", &Cockpit::Button7Click);
    commands.clicks["Button8"] = WhenEnabled("Button8", &Cockpit::Button8Click);
    commands.clicks["Panel5"] = [](Session& s) { s.cockpit.Panel5Click(); };
    commands.mice["Panel3"] = [](Session& s, MouseButton b) { s.cockpit.Panel3MouseDown(b); };
    commands.mice["Panel6"] = [](Session& s, MouseButton b) { s.cockpit.Panel6MouseDown(b); };
}

void RegisterLinkWindow(SessionCommands& commands) {
    commands.values.push_back([](const Session& s, QJsonObject& v) {
        const LinkWindow& w = s.cockpit.linkWindow;
        const LinkData& d = s.cockpit.data;
        v["Linked"] = w.linked;
        v["ShownLinked"] = w.shownLinked;
        v["LinkOpen"] = s.cockpit.link.IsOpen();
        v["MonitorEnabled"] = w.Timer1->Enabled();
        v["MonitorPeriodMs"] = w.Timer1->Interval();
        v["Timer2Enabled"] = w.Timer2->Enabled();
        v["Icon"] = QString::fromStdString(w.Icon());
        v["AltitudeFeet"] = d.altitudeFeet;
        v["LeftFuelLb"] = d.leftFuelLb;
        v["RightFuelLb"] = d.rightFuelLb;
    });
}

} // namespace vantrel::cli
