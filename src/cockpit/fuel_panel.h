#pragma once
#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_task.h"
#include "cockpit/cockpit_timer.h"
#include "cockpit/control_board.h"
#include "cockpit/handler_queue.h"
#include "cockpit/link_data.h"
#include "cockpit/sound_cues.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantrel {

class FlightPlan;
class IpcClient;
class LinkRunner;

// What the fuel panel uses of the link window and the program around it.
struct FuelPanelHooks {
    std::function<Task<bool>()> dataLoad;  // the link window's data load (re-reads both tanks)
    std::function<Task<>()> letWaitingRun; // clicks asked for meanwhile take their turn
    std::function<void()> beep;            // the system's default beep
};

// The refuelling panel's logic: the refuel valves, the refuel switch that fills both main tanks
// to the plan's total fuel, and the defuel valve that drains them down to it, in small random
// steps with the fuel sound, the connection monitor stopped while a loop runs.
//
// Its labels are on the control board as "Form5.lbselected", "Form5.Label1" (left refuel valve),
// "Form5.Label2" (right refuel valve) and "Form5.Label3" (defuel valve); each shows "" or "CLSD".
// "Form5.Image2" shows the refuel switch "ON" or "OFF". "Form5.lbfuel" belongs to the data load.
class FuelPanel {
public:
    // The valve and switch clicks take their turn among the cockpit's handlers; the exchanges
    // run on the link runner (at once without one).
    FuelPanel(FlightPlan& plan, IpcClient& link, const LinkData& data, ControlBoard& controls,
              SoundCues& cues, CockpitClock& clock, CockpitTimer& monitor, FuelPanelHooks hooks,
              HandlerQueue& handlers, LinkRunner* linkRunner = nullptr);

    static constexpr const char* kSelected = "Form5.lbselected";
    static constexpr const char* kLeftValve = "Form5.Label1";
    static constexpr const char* kRightValve = "Form5.Label2";
    static constexpr const char* kDefuelValve = "Form5.Label3";
    static constexpr const char* kClosed = "CLSD";
    // The refuel switch's picture: "ON" while a refuel runs.
    static constexpr const char* kSwitch = "Form5.Image2";
    static constexpr const char* kSwitchOn = "ON";
    static constexpr const char* kSwitchOff = "OFF";

    // The main window's "Refuel/Defuel": the fuel to load into lbselected, then the panel shows.
    // Throws ConvertError when Edit29 or Edit33 is not a whole number (the panel stays hidden).
    void Button2Click();
    // The panel closed by the user, or hidden by the link lamp's "off" action.
    void Close();
    bool Shown() const { return shown_; }
    // The panel shows or hides (the window follows).
    std::function<void(bool shown)> onShownChanged;

    void Image3Click(); // left refuel valve
    void Image4Click(); // right refuel valve
    void Image2Click(); // refuel switch
    void Image5Click(); // defuel valve

    // A refuel or defuel loop is running.
    bool Refuelling() const { return refuelling_; }
    bool Defuelling() const { return defuelling_; }

    // Three steps in a row that bring no change end a loop: the simulator takes no more fuel.
    static constexpr int kStallSteps = 3;

private:
    bool IsClosed(const char* label) const { return controls_.Get(label).caption == kClosed; }
    Task<> ToggleValve(const char* label);
    Task<> Refuel();
    Task<> Defuel();
    void StartFuelSound();
    Task<> EndLoop();
    Task<> LetWaitingRun();
    // Writes both tank levels and exchanges; Panel3 green or fuchsia (with the alert cue).
    Task<> WriteTanks(double left, double right);
    // One step: the new levels, the data load, the window's messages, the pause.
    Task<> Step(double left, double right);
    // Whether the fuel figures of the last data load allow a step (no division by zero).
    bool TanksKnown() const;
    int Random10();

    FlightPlan& plan_;
    IpcClient& link_;
    const LinkData& data_;
    ControlBoard& controls_;
    SoundCues& cues_;
    CockpitClock& clock_;
    CockpitTimer& monitor_;
    FuelPanelHooks hooks_;
    HandlerQueue& handlers_;
    LinkRunner* linkRunner_;
    bool shown_ = false;
    bool refuelling_ = false;
    bool defuelling_ = false;
};

// The tank level that holds the given pounds: 128 x 65536 is a full tank. Zero when the fuel
// weight or the capacity is unknown (0).
std::uint32_t TankLevelFor(double pounds, std::uint16_t fuelWeightRaw, std::uint32_t capacityGal);

} // namespace vantrel
