// The fuel panel, the flight recorder and the flight log viewer in a session: the panel opens
// from Button2 and counts as shown until "close Form5"; Button10 shows the log until
// "close Form6", and LogRows prints its grid meanwhile.
#include "json_writer.h"
#include "session.h"

#include "planning/flight_plan.h"

#include <QJsonArray>

namespace vantrel::cli {

namespace {

// A click on the fuel panel's picture; a hidden panel takes none.
std::function<void(Session&)> PanelClick(void (FuelPanel::*handler)()) {
    return [handler](Session& s) {
        FuelPanel& panel = s.cockpit.fuelPanel;
        if (panel.Shown()) s.plan.Guarded([&] { (panel.*handler)(); });
    };
}

} // namespace

void RegisterFuelPanel(SessionCommands& commands) {
    commands.clicks["Button2"] = [](Session& s) {
        if (!s.cockpit.controls.Get("Button2").enabled) return;
        if (s.plan.Guarded([&] { s.cockpit.fuelPanel.Button2Click(); })) s.shownForms.insert("Form5");
    };
    commands.clicks["Form5.Image2"] = PanelClick(&FuelPanel::Image2Click);
    commands.clicks["Form5.Image3"] = PanelClick(&FuelPanel::Image3Click);
    commands.clicks["Form5.Image4"] = PanelClick(&FuelPanel::Image4Click);
    commands.clicks["Form5.Image5"] = PanelClick(&FuelPanel::Image5Click);
    commands.closes["Form5"] = [](Session& s) {
        s.cockpit.fuelPanel.Close();
        s.shownForms.erase("Form5");
    };
    commands.values.push_back([](const Session& s, QJsonObject& v) {
        v["FuelPanelShown"] = s.cockpit.fuelPanel.Shown();
        v["Phase"] = s.cockpit.recorder.Phase();
    });
}

void RegisterFlightLog(SessionCommands& commands) {
    commands.clicks["Button10"] = [](Session& s) {
        s.cockpit.cues.PlaySwitchCue();
        s.cockpit.recorder.onFlightLogged = [&grid = s.flightLog](const std::string& date) {
            grid.AddLoggedFlight(date);
        };
        s.shownForms.insert("Form6");
        s.plan.Guarded([&] { s.flightLog.FormShow(s.cockpit.programDir); });
    };
    commands.closes["Form6"] = [](Session& s) { s.shownForms.erase("Form6"); };
    commands.values.push_back([](const Session& s, QJsonObject& v) {
        if (!s.shownForms.count("Form6")) return;
        QJsonArray rows;
        for (const FlightLogRow& row : s.flightLog.Rows()) {
            QJsonArray cells;
            for (const std::string& cell : row)
                cells.append(JsonText(cell));
            rows.append(cells);
        }
        v["LogRows"] = rows;
    });
}

} // namespace vantrel::cli
