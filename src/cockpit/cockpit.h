#pragma once
#include "cockpit/cockpit_seams.h"
#include "cockpit/control_board.h"
#include "cockpit/flight_recorder.h"
#include "cockpit/fuel_panel.h"
#include "cockpit/gauge.h"
#include "cockpit/handler_queue.h"
#include "cockpit/link_data.h"
#include "cockpit/link_gate.h"
#include "cockpit/link_window.h"
#include "cockpit/mouse_button.h"
#include "cockpit/sound_cues.h"
#include "cockpit/speed_hold.h"
#include "cockpit/wave_sound.h"
#include "ipc/ipc_client.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantrel {

class FlightPlan;

// The cockpit half of the program on one plan: the simulator link, the sound player and its
// cues, the shown state of the named controls outside the plan, and the link window with its
// monitor. The windows (or a headless session) show `controls` and forward clicks here.
class Cockpit {
public:
    // programDir ends with a separator.
    Cockpit(FlightPlan& plan, const CockpitSeams& seams, std::string programDir,
            std::unique_ptr<IpcTransport> transport = MakePlatformTransport(), IpcTimings timings = {});
    Cockpit(const Cockpit&) = delete;
    Cockpit& operator=(const Cockpit&) = delete;

    ~Cockpit();

    // After the windows are created: the link window's monitor starts.
    void Start();
    // The shutdown: the timers stop, no later handler runs, an exchange that is out stops after
    // its current send, and the handler running now ends (a landing's data load included); then
    // the flight log takes what it still owes (or the user is shown it) and the link window
    // closes (and with it a link that is up, on the link thread); then `closed` runs. Without a
    // paused handler all of it happens before Close returns. A second call only adds `closed`.
    void Close(std::function<void()> closed = {});
    // The same at once, for the program's very end: waits for the exchange that is out (one
    // send at most) instead of the handlers that wait for it.
    void CloseNow();
    bool Closed() const { return finished_; }

    // Main-window handlers on the link; each takes its turn among the cockpit's handlers.
    void Button3Click(); // "Set UTC"
    void Button4Click(); // "FS Wx"
    void Button7Click(); // "Alert": arm or disarm with the altitude of the last data load
    void Button8Click(); // "Mode": plan or actual speeds
    void Panel3MouseDown(MouseButton button);
    void Panel6MouseDown(MouseButton button);
    void Panel5Click(); // "Sound"
    // The checklist window's "SPD" and "REV" panels.
    void PnatClick();
    void PnrevClick();
    // A click on a control that never needs the link (the gauge's, say), in its turn among
    // the cockpit's handlers; what it throws is shown as the handlers' errors are.
    void QuickClick(std::function<void()> action);

    FlightPlan& plan;
    HandlerQueue handlers;
    LinkGate linkGate;  // the handlers' way to the seams' link runner
    CockpitSeams seams; // as given, with the exchanges through linkGate
    std::string programDir;
    IpcClient link;
    TWaveSound snd;
    SoundCues cues;
    ControlBoard controls;
    LinkData data;
    LinkWindow linkWindow;
    FlightRecorder recorder; // on the link window's data load and Timer2
    FuelPanel fuelPanel;     // its loops stop the monitor and run the data load themselves
    SpeedHold hold;          // the checklist window's SPD and REV panels
    Gauge gauge;             // the speeds gauge Form4

private:
    Task<> Shutdown();
    void ShutDownRecorder();
    void TellClosed();
    void PostAfterCue(HandlerQueue::Handler action);
    Task<> SetUtc();
    Task<> LoadWeather();
    Task<> ToggleAlert();
    Task<> StepAlert(MouseButton button);
    bool closing_ = false;
    bool finished_ = false;
    bool recorderShutDown_ = false;
    std::vector<std::function<void()>> whenClosed_;
};

// The main window's named controls that the cockpit shows, as they are at start.
void DefineMainWindowControls(ControlBoard& controls);

} // namespace vantrel
