#pragma once
#include "cockpit/cockpit.h"
#include "cockpit/mouse_button.h"
#include "cockpit/utc_clock.h"
#include "shell/flight_log_view.h"
#include "shell/ops_sheet.h"
#include "voice/checklist_strip.h"

#include <QJsonArray>
#include <QJsonObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vantrel {
class FlightPlan;
class VirtualClock;
class VirtualTimers;
} // namespace vantrel

namespace vantrel::cli {

// What happened since the last printed line: the wave player's calls, the spoken texts, the
// beeps and the error-box texts.
struct SessionLog {
    QJsonArray sounds;
    QJsonArray spoken;
    QJsonArray errors;
    int beeps = 0;
};

// The checklist window as the session has it: its file, whether the voice features are on,
// whether it is shown, and its panels.
struct SessionChecklists {
    std::string file;
    bool disabled = true;
    bool visible = false;
    ChecklistStrip strip;
};

struct SessionWeather;

// A headless program run: the plan and the cockpit on a virtual clock.
struct Session {
    FlightPlan& plan;
    VirtualClock& clock;
    VirtualTimers& timers;
    Cockpit& cockpit;
    SessionLog& log;
    UtcClock& utcClock; // the main window's Timer1
    bool answer = true; // every Yes/No question is answered with it
    SessionChecklists checklists;

    // Windows shown modally until "close FORM" ("Form5", "Form6", ...).
    std::set<std::string> shownForms;
    // The flight log viewer's grid, read afresh when Button10 shows it.
    FlightLogGrid flightLog;
    // The print window's sheet, once Button51 has filled it.
    std::optional<OpsSheet> opsSheet;
    // The weather buttons, from their first click.
    std::shared_ptr<SessionWeather> weather;
};

// What the session's commands can name, keyed by control name. Each part of the cockpit adds
// its controls in a registration function of its own (listed in session_registry.cpp).
struct SessionCommands {
    std::map<std::string, std::function<void(Session&)>> clicks;
    std::map<std::string, std::function<void(Session&, MouseButton)>> mice;
    std::map<std::string, std::function<void(Session&)>> closes; // "close FORM"
    // Run once after the start-up sequence, as the other windows are created.
    std::vector<std::function<void(Session&)>> starts;
    // Add to the printed "fields" and "values" objects.
    std::vector<std::function<void(const Session&, QJsonObject& fields)>> fields;
    std::vector<std::function<void(const Session&, QJsonObject& values)>> values;
};

// The commands of every registered part.
const SessionCommands& TheSessionCommands();

// Registration functions, one per part of the cockpit.
void RegisterMainWindow(SessionCommands& commands);
void RegisterLinkWindow(SessionCommands& commands);
void RegisterSpeedHoldAndGauge(SessionCommands& commands);
void RegisterChecklistWindow(SessionCommands& commands);
void RegisterFuelPanel(SessionCommands& commands);
void RegisterFlightLog(SessionCommands& commands);
void RegisterPrintWindow(SessionCommands& commands);
void RegisterWeatherButtons(SessionCommands& commands);

// "key NAME CHAR": a key typed with the focus in plan control NAME; false with a reason when
// NAME is no editable plan control or CHAR is not one character or #N.
bool TypeKey(Session& session, const std::string& control, const std::string& character,
             std::string& refusal);

// What the checklist window does when it is created: reads its file, checks its voice among
// the installed ones and speaks the welcome item.
void CreateChecklistWindow(Session& session);

// The line printed after a command.
QJsonObject SessionLine(const std::string& command, Session& session);

// vantrel-cli session --program-dir DIR [--now T] [--utc-bias MINUTES] [--answer-no]
int RunSessionCommand(int argc, char** argv);

} // namespace vantrel::cli
