#include "cockpit/link_window.h"

#include "cockpit/altitude_alert.h"
#include "cockpit/cockpit_log.h"
#include "cockpit/control_board.h"
#include "cockpit/link_data.h"
#include "cockpit/link_thread.h"
#include "cockpit/sim_time_weather.h"
#include "cockpit/sound_cues.h"
#include "core/convert.h"
#include "core/rounding.h"
#include "ipc/ipc_client.h"
#include "ipc/offsets.h"
#include "ipc/simulator_window.h"
#include "planning/flight_plan.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace vantrel {

namespace {

constexpr int kFirstTickMs = 1000;
constexpr int kMonitorPeriodMs = 10000;
constexpr int kRecorderPeriodMs = 60000;
constexpr int kMinimumQnh = 500; // below it the simulator has no weather yet
constexpr double kFeetPerMetre = 3.28084;

// Sets a flag for the lifetime of the guard, however the handler holding it ends.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& flag_;
};

// Counts a running data load for the lifetime of the guard.
class Counted {
public:
    explicit Counted(int& count) : count_(count) { ++count_; }
    ~Counted() { --count_; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;

private:
    int& count_;
};

// Pounds in a tank. A level above full counts as full: a tank holds no more than its capacity.
double TankPounds(std::uint32_t level, double poundsPerGallon, std::uint32_t capacityGallons) {
    const double fraction = double(std::min(level, offsets::kTankFull)) / offsets::kTankFull;
    return fraction * poundsPerGallon * capacityGallons;
}

} // namespace

LinkWindow::LinkWindow(FlightPlan& plan, IpcClient& link, SoundCues& cues, ControlBoard& controls,
                       LinkData& data, const CockpitSeams& seams, std::string programDir,
                       HandlerQueue& handlers)
    : Timer1(seams.timers.CreateTimer(kFirstTickMs, false)),
      Timer2(seams.timers.CreateTimer(kRecorderPeriodMs, false)), plan_(plan), link_(link), cues_(cues),
      controls_(controls), data_(data), seams_(seams), programDir_(std::move(programDir)),
      handlers_(handlers) {
    Timer1->OnTimer = [this] { Timer1Timer(); };
}

void LinkWindow::FormCreate() {
    shownLinked = 0;
    Timer2->SetEnabled(false);
    Timer1->SetEnabled(true);
}

Task<> LinkWindow::FormClose() {
    if (linked) co_await OnLink(seams_.linkRunner, [this] { link_.FSUIPC_Close(); });
}

void LinkWindow::CloseLinkNow() {
    if (linked) link_.FSUIPC_Close();
}

void LinkWindow::SetIcon(const char* file) {
    icon_ = file;
    if (onIconChanged) onIconChanged(IconPath());
}

void LinkWindow::EnableLinkButtons(bool enabled) {
    for (const char* name : kLinkButtons)
        controls_.SetEnabled(name, enabled);
}

Task<bool> LinkWindow::ReadFirstWeather() {
    int qnh = 0, oat = 0;
    bool read = false;
    co_await OnLink(seams_.linkRunner, [&] { read = ReadSimulatorWeather(link_, qnh, oat); });
    if (!read) co_return false;
    if (qnh >= kMinimumQnh)
        plan_.Guarded([&] { plan_.SetPosition(FieldId::ScrollBar2, qnh); });
    else
        linked = false;
    if (linked) plan_.Guarded([&] { plan_.SetPosition(FieldId::ScrollBar1, oat); });
    co_return true;
}

Task<bool> LinkWindow::LookForSimulator() {
    bool found = false;
    co_await OnLink(seams_.linkRunner,
                    [&] { found = seams_.windowExists && seams_.windowExists(kSimulatorWindowClass); });
    co_return found;
}

Task<> LinkWindow::LetWaitingRun() {
    if (seams_.processMessages) seams_.processMessages();
    co_await handlers_.LetWaitingRun();
}

void LinkWindow::Timer1Timer() {
    if (tickAsked_) return;
    tickAsked_ = true;
    handlers_.Post([this] { return TickTurn(); });
}

// A tick never runs inside another tick or inside a data load (a handler's own loads do).
Task<> LinkWindow::TickTurn() {
    struct Asked {
        bool& flag;
        ~Asked() { flag = false; }
    } asked{tickAsked_};
    if (inTick_ || loads_ > 0) co_return;
    Busy busy(inTick_);
    co_await Tick();
}

Task<> LinkWindow::Tick() {
    if (firstTick) {
        Timer1->SetInterval(kMonitorPeriodMs);
        firstTick = false;
    }

    simulatorWindow = co_await LookForSimulator();
    LogSimulatorWindow(simulatorWindow);
    if (!simulatorWindow) {
        controls_.SetColor("Panel2", colors::Red);
        controls_.SetColor("Panel3", colors::Red);
    } else {
        controls_.SetColor("Panel2", colors::Lime);
    }

    if (simulatorWindow && !linked) {
        std::uint32_t result = 0;
        co_await OnLink(seams_.linkRunner, [&] { link_.FSUIPC_Open(0, result); });
        linked = result == kIpcOk || result == kIpcAlreadyOpen;
        if (linked) {
            if (co_await ReadFirstWeather()) {
                if (linked) co_await cues_.OkCue();
                controls_.SetColor("Panel3", linked ? colors::Lime : colors::Red);
                co_await LetWaitingRun();
            }
        } else {
            controls_.SetColor("Panel3", colors::Red);
        }
    }

    if ((!simulatorWindow || !linked) && shownLinked == 0) {
        SetIcon("icon2.ico");
        controls_.SetColor("Panel2", simulatorWindow ? colors::Lime : colors::Red);
        if (linked) {
            EnableLinkButtons(true);
            controls_.SetColor("Panel3", colors::Lime);
        } else {
            controls_.SetColor("Panel3", colors::Red);
        }
    } else if (shownLinked == 0) {
        shownLinked = 1;
        SetIcon("icon1.ico");
        controls_.SetColor("Panel2", colors::Lime);
        controls_.SetColor("Panel3", colors::Lime);
        EnableLinkButtons(true);
    } else {
        simulatorWindow = co_await LookForSimulator();
        if (!simulatorWindow)
            co_await ShowLinkLost();
        else
            co_await DataLoad();
    }
}

Task<> LinkWindow::ShowLinkLost() {
    LogLinkLost();
    shownLinked = 0;
    co_await OnLink(seams_.linkRunner, [this] { link_.FSUIPC_Close(); });
    linked = false;
    SetIcon("icon2.ico");
    controls_.SetColor("Panel2", colors::Red);
    controls_.SetColor("Panel3", colors::Red);
    co_await cues_.AlertCue();
    plan_.Guarded([this] {
        plan_.SetText(FieldId::Edit48, "=====");
        plan_.SetColor(FieldId::Edit48, colors::Silver);
    });
    EnableLinkButtons(false);
}

Task<> LinkWindow::CloseLink() {
    co_await OnLink(seams_.linkRunner, [this] { link_.FSUIPC_Close(); });
    linked = false;
    shownLinked = 0;
    controls_.SetColor("Panel2", colors::Red);
    controls_.SetColor("Panel3", colors::Red);
    EnableLinkButtons(false);
}

// A handler that runs where this load lets waiting handlers run (a refuel switch clicked during
// a tick, say) carries out its own data loads; this one then goes on from what they read.
Task<bool> LinkWindow::DataLoad() {
    Counted load(loads_);

    controls_.SetColor("Panel3", colors::Yellow);
    const bool wasOpen = link_.IsOpen();
    co_await LetWaitingRun();
    // The link was switched off by a click handled just now: nothing to load, nothing to report.
    if (wasOpen && !link_.IsOpen()) co_return false;

    // Everything is read into a copy and taken over only when the exchange succeeded, so a
    // failed load leaves the last figures (and both on-ground flags) as they were.
    LinkData in = data_;
    std::int32_t altitudeMetres = 0;
    std::uint16_t onGround = in.onGroundCurrent;
    bool exchanged = false;
    co_await OnLink(seams_.linkRunner, [&] {
        std::uint32_t result = 0;
        auto read = [this, &result](offsets::Offset at, void* into) {
            link_.FSUIPC_Read(at.address, at.size, into, result);
        };
        read(offsets::kFuelWeight, &in.fuelWeightRaw);
        read(offsets::kLeftMainCapacity, &in.leftCapacityGal);
        read(offsets::kRightMainCapacity, &in.rightCapacityGal);
        read(offsets::kLeftMainLevel, &in.leftLevel);
        read(offsets::kRightMainLevel, &in.rightLevel);
        read(offsets::kAltitudeMetres, &altitudeMetres);
        read(offsets::kThrottle1, &in.throttle);
        read(offsets::kIndicatedAirspeed, &in.speed);
        read(offsets::kOnGround, &onGround);
        exchanged = link_.FSUIPC_Process(result);
    });
    if (!exchanged) {
        controls_.SetColor("Panel3", colors::Fuchsia);
        co_await cues_.AlertCue();
        plan_.Guarded([this] {
            plan_.SetText(FieldId::Edit48, "=====");
            plan_.SetColor(FieldId::Edit48, colors::Silver);
        });
        co_return false;
    }
    in.altitudeMetres = std::uint32_t(altitudeMetres);
    in.onGroundPrevious = data_.onGroundCurrent;
    in.onGroundCurrent = onGround;
    data_ = in;

    if (onSpeedCapture) onSpeedCapture();
    WorkOutFigures();
    if (onReverseAndHold) co_await onReverseAndHold();
    plan_.Guarded(
        [this] { CheckAltitudeAlert(plan_, data_.altitudeFeet, [this] { cues_.PlayAltAlertCue(); }); });
    if (onFlightPhase) onFlightPhase();
    ShowFigures();
    co_return true;
}

// Altitude: the offset holds whole metres; a value below sea level arrives as a negative
// number, and nothing outside the range of the figure is kept.
void LinkWindow::WorkOutFigures() {
    const double feet = double(std::int32_t(data_.altitudeMetres)) * kFeetPerMetre;
    const double limit = std::numeric_limits<std::int32_t>::max();
    data_.altitudeFeet = std::int32_t(RoundHalfEven(std::clamp(feet, -limit, limit)));

    data_.poundsPerGallon = data_.fuelWeightRaw / 256.0;
    data_.leftCapacityLb = data_.poundsPerGallon * data_.leftCapacityGal;
    data_.rightCapacityLb = data_.poundsPerGallon * data_.rightCapacityGal;
    data_.leftFuelLb = TankPounds(data_.leftLevel, data_.poundsPerGallon, data_.leftCapacityGal);
    data_.rightFuelLb = TankPounds(data_.rightLevel, data_.poundsPerGallon, data_.rightCapacityGal);
}

void LinkWindow::ShowFigures() {
    const double factor = plan_.values.WeightUnitFactor;
    const double fuel = data_.leftFuelLb + data_.rightFuelLb;
    controls_.SetCaption("Form5.lbfuel", plan_.values.WeightsInKg
                                             ? IntToStr(RoundHalfEven(fuel / factor)) + " kg"
                                             : IntToStr(RoundHalfEven(fuel)) + " lb");
    plan_.Guarded([&] {
        const double tanks = double(RoundHalfEven(data_.leftFuelLb) + RoundHalfEven(data_.rightFuelLb));
        const std::int64_t gross = RoundHalfEven(plan_.IntOf(FieldId::Edit23) + tanks / factor);
        plan_.SetText(FieldId::Edit48, IntToStr(gross));
        plan_.SetColor(FieldId::Edit48, gross > plan_.IntOf(FieldId::Edit31) ? colors::Red : colors::Lime);
    });
    plan_.Guarded([&] { plan_.SetText(FieldId::Edit28, IntToStr(RoundHalfEven(fuel / factor))); });
    if (data_.onGroundCurrent == 0) {
        const double used = fuelUsedLb ? fuelUsedLb() : 0.0;
        plan_.Guarded([&] { plan_.SetText(FieldId::Edit30, IntToStr(RoundHalfEven(used / factor))); });
    }
    controls_.SetColor("Panel3", colors::Lime);
}

void LinkWindow::SwitchOffAtOnce() {
    if (controls_.Get("Panel3").color == colors::Red) return;
    switchingOff_ = true;
    Timer1->SetEnabled(false);
    if (link_.CancelExchange()) exchangeCancelled_ = true;
}

Task<> LinkWindow::SwitchOff() {
    if (!std::exchange(switchingOff_, false)) co_return;
    if (onHideFuelPanel) onHideFuelPanel();
    Timer1->SetEnabled(false);
    co_await CloseLink();
    if (std::exchange(exchangeCancelled_, false))
        if (plan_.onError) plan_.onError("The simulator did not answer; the link is switched off.");
}

void LinkWindow::StepMonitorPeriod() {
    int next = 1000;
    switch (Timer1->Interval()) {
    case 1000:
        next = 5000;
        break;
    case 5000:
        next = 10000;
        break;
    case 10000:
        next = 30000;
        break;
    default:
        next = 1000;
        break;
    }
    Timer1->SetInterval(next);
    controls_.SetCaption("Panel3", IntToStr(next / 1000) + " s");
}

} // namespace vantrel
