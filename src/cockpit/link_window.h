#pragma once
#include "cockpit/cockpit_seams.h"
#include "cockpit/cockpit_task.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/handler_queue.h"
#include "cockpit/mouse_button.h"

#include <functional>
#include <memory>
#include <string>

namespace vantrel {

class ControlBoard;
class FlightPlan;
class IpcClient;
class SoundCues;
struct LinkData;

// The link window (never shown): its connection monitor on Timer1 watches for the simulator,
// opens the link and shows its state on the main window's lamps and buttons; while linked,
// every tick runs the data load, which reads fuel, altitude, speed, throttle and ground state
// into LinkData and the plan's actual fields. Timer2 belongs to the flight recorder.
//
// A tick takes its turn among the cockpit's handlers, and its exchanges run on the link
// runner. Ticks do not nest: a tick that comes due while one is asked for or runs is skipped,
// and so is a data load asked for while one runs.
class LinkWindow {
public:
    LinkWindow(FlightPlan& plan, IpcClient& link, SoundCues& cues, ControlBoard& controls, LinkData& data,
               const CockpitSeams& seams, std::string programDir, HandlerQueue& handlers);

    // The window's creation: Timer1 starts (first tick after 1000 ms), Timer2 stays disabled.
    void FormCreate();
    // The window's closing: a link that is up is closed (on the link runner).
    Task<> FormClose();
    // The same at the program's very end, on this thread, once the link runner has finished.
    void CloseLinkNow();

    std::unique_ptr<CockpitTimer> Timer1; // the connection monitor
    std::unique_ptr<CockpitTimer> Timer2; // the flight recorder's one-shot timer (60 s)

    // The connection monitor (Timer1's handler): asks for a tick.
    void Timer1Timer();
    // Whether a tick is asked for or running.
    bool TickPending() const { return tickAsked_; }
    // The data load; false when the exchange failed (or a load was already running).
    Task<bool> DataLoad();
    // Closes the link and shows it unlinked.
    Task<> CloseLink();
    // The "UIPC" lamp's mouse-down (after its switch cue): any button but the right one steps
    // the monitor's period 1 -> 5 -> 10 -> 30 -> 1 s.
    void StepMonitorPeriod();
    // The right one switches the link off. At once, even while an exchange waits on a hung
    // simulator: the monitor stops and that exchange ends after its current send (the user is
    // told so). Nothing happens while the lamp is red.
    void SwitchOffAtOnce();
    // Then in its turn: the fuel panel hides and the link closes, shown unlinked.
    Task<> SwitchOff();

    // Monitor state.
    bool firstTick = true;
    bool simulatorWindow = false; // a window of class "FS98MAIN" was there at the last look-up
    bool linked = false;          // the link is open and its first weather read was plausible
    int shownLinked = 0;          // the main window shows the linked state

    // The application icon's file name in the program folder ("icon1.ico" linked, "icon2.ico"
    // not); empty until the monitor first sets it.
    const std::string& Icon() const { return icon_; }
    std::string IconPath() const { return programDir_ + icon_; }
    std::function<void(const std::string& path)> onIconChanged;

    // Hooks of the data load and the lamp, for the speed hold, the recorder and the fuel panel.
    std::function<void()> onSpeedCapture;     // step 4 (speed-hold capture)
    std::function<Task<>()> onReverseAndHold; // step 7 (automatic reverse, then the hold step)
    std::function<void()> onFlightPhase;      // step 9 (recorder's flight-phase step; colours Edit30)
    std::function<void()> onHideFuelPanel;    // Panel3 right click hides the fuel panel
    // Fuel used since take-off in pounds, shown in Edit30 while airborne (empty: 0).
    std::function<double()> fuelUsedLb;

    // The buttons that need the link.
    static constexpr const char* kLinkButtons[] = {"Button2", "Button3", "Button4", "Button7", "Button8"};

private:
    Task<> TickTurn();
    Task<> Tick();
    Task<bool> LookForSimulator();
    Task<> LetWaitingRun();
    void SetIcon(const char* file);
    void EnableLinkButtons(bool enabled);
    Task<> ShowLinkLost();
    Task<bool> ReadFirstWeather();
    void WorkOutFigures();
    void ShowFigures();

    FlightPlan& plan_;
    IpcClient& link_;
    SoundCues& cues_;
    ControlBoard& controls_;
    LinkData& data_;
    const CockpitSeams& seams_; // kept by reference: the owner may fill them in later
    std::string programDir_;
    HandlerQueue& handlers_;
    std::string icon_;
    bool tickAsked_ = false;
    bool inTick_ = false;
    int loads_ = 0; // data loads running, a load run by a handler inside another's included
    bool switchingOff_ = false;
    bool exchangeCancelled_ = false;
};

} // namespace vantrel
