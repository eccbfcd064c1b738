#pragma once

namespace vantrel {
class Cockpit;
struct AppContext;

// Puts the cockpit's speeds gauge and speed hold on the windows once they exist: the gauge
// window shows cockpit.gauge and is placed beside the main window (created visible, in take-off
// mode), the checklist window's SPD and REV panels paint from the board and click the hold,
// and the hold's warning speaks through the checklist window's speech with the checklist
// file's voice settings.
void ConnectSpeedHoldAndGauge(Cockpit& cockpit, AppContext& ctx);

} // namespace vantrel
