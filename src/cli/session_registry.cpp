#include "session.h"

namespace vantrel::cli {

// Each part of the cockpit registers its controls here, one line each.
const SessionCommands& TheSessionCommands() {
    static const SessionCommands commands = [] {
        SessionCommands c;
        RegisterMainWindow(c);
        RegisterLinkWindow(c);
        RegisterChecklistWindow(c);
        RegisterFuelPanel(c);
        RegisterFlightLog(c);
        RegisterPrintWindow(c);
        RegisterWeatherButtons(c);
        RegisterSpeedHoldAndGauge(c); // after the checklist window: it knows the main window
        return c;
    }();
    return commands;
}

} // namespace vantrel::cli
