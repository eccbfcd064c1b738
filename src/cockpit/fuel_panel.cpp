#include "cockpit/fuel_panel.h"

#include "cockpit/cockpit_log.h"
#include "cockpit/link_thread.h"
#include "core/convert.h"
#include "core/rounding.h"
#include "ipc/ipc_client.h"
#include "planning/flight_plan.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vantrel {

namespace {

constexpr std::uint32_t kLeftLevel = 0x0B7C;
constexpr std::uint32_t kRightLevel = 0x0B94;
constexpr double kFullLevel = 128.0 * 65536.0;

} // namespace

std::uint32_t TankLevelFor(double pounds, std::uint16_t fuelWeightRaw, std::uint32_t capacityGal) {
    if (fuelWeightRaw == 0 || capacityGal == 0 || !(pounds > 0)) return 0;
    const double level = pounds * kFullLevel / fuelWeightRaw * 256.0 / capacityGal;
    return static_cast<std::uint32_t>(std::min<std::int64_t>(RoundHalfEven(level), 0xFFFFFFFFll));
}

FuelPanel::FuelPanel(FlightPlan& plan, IpcClient& link, const LinkData& data, ControlBoard& controls,
                     SoundCues& cues, CockpitClock& clock, CockpitTimer& monitor, FuelPanelHooks hooks,
                     HandlerQueue& handlers, LinkRunner* linkRunner)
    : plan_(plan), link_(link), data_(data), controls_(controls), cues_(cues), clock_(clock),
      monitor_(monitor), hooks_(std::move(hooks)), handlers_(handlers), linkRunner_(linkRunner) {
    controls_.Define(kSelected, {"3000 lb", colors::Silver, true, true});
    for (const char* label : {kLeftValve, kRightValve, kDefuelValve})
        controls_.Define(label, {"", colors::Silver, true, true});
    controls_.Define(kSwitch, {kSwitchOff, colors::Silver, true, true});
}

void FuelPanel::Button2Click() {
    cues_.PlaySwitchCue();
    const int total = plan_.IntOf(FieldId::Edit29);
    const int capacity = plan_.IntOf(FieldId::Edit33);
    const int selected = capacity < total ? capacity : total;
    controls_.SetCaption(kSelected, IntToStr(selected) + (plan_.values.WeightsInKg ? " kg" : " lb"));
    cues_.PlaySwitchCue(); // the panel's own show
    shown_ = true;
    if (onShownChanged) onShownChanged(true); // a window shows modally: this returns when it closes
}

void FuelPanel::Close() {
    if (!shown_) return;
    shown_ = false;
    if (onShownChanged) onShownChanged(false);
}

int FuelPanel::Random10() {
    return std::uniform_int_distribution<int>(0, 9)(plan_.random);
}

Task<> FuelPanel::ToggleValve(const char* label) {
    co_await cues_.SwitchCue();
    if (IsClosed(kDefuelValve)) co_return;
    co_await clock_.Sleep(1000);
    controls_.SetCaption(label, IsClosed(label) ? "" : kClosed);
}

// The valves never need the link: they switch even while an exchange waits.
void FuelPanel::Image3Click() {
    handlers_.Post([this] { return ToggleValve(kLeftValve); }, HandlerQueue::Lane::Quick);
}

void FuelPanel::Image4Click() {
    handlers_.Post([this] { return ToggleValve(kRightValve); }, HandlerQueue::Lane::Quick);
}

void FuelPanel::Image2Click() {
    handlers_.Post([this] { return Refuel(); });
}

void FuelPanel::Image5Click() {
    handlers_.Post([this] { return Defuel(); });
}

void FuelPanel::StartFuelSound() {
    TWaveSound& player = cues_.Player();
    player.Stop();
    player.SoundFile = cues_.PathOf(SoundCues::kFuel);
    player.LoopSound = true;
    cues_.PlayCue();
}

Task<> FuelPanel::LetWaitingRun() {
    if (hooks_.letWaitingRun) co_await hooks_.letWaitingRun();
}

Task<> FuelPanel::EndLoop() {
    if (!handlers_.Closed()) monitor_.SetEnabled(true);
    cues_.Player().Stop();
    cues_.StartBackground();
    co_await LetWaitingRun();
}

bool FuelPanel::TanksKnown() const {
    return data_.fuelWeightRaw != 0 && data_.leftCapacityGal != 0 && data_.rightCapacityGal != 0;
}

Task<> FuelPanel::WriteTanks(double left, double right) {
    const std::uint32_t leftLevel = TankLevelFor(left, data_.fuelWeightRaw, data_.leftCapacityGal);
    const std::uint32_t rightLevel = TankLevelFor(right, data_.fuelWeightRaw, data_.rightCapacityGal);
    bool ok = false;
    co_await OnLink(linkRunner_, [&] {
        std::uint32_t result = 0;
        ok = link_.FSUIPC_Write(kLeftLevel, 4, &leftLevel, result) &&
             link_.FSUIPC_Write(kRightLevel, 4, &rightLevel, result) && link_.FSUIPC_Process(result);
    });
    if (ok) {
        controls_.SetColor("Panel3", colors::Green);
    } else {
        controls_.SetColor("Panel3", colors::Fuchsia);
        co_await cues_.AlertCue();
    }
}

Task<> FuelPanel::Step(double left, double right) {
    co_await WriteTanks(left, right);
    if (hooks_.dataLoad) co_await hooks_.dataLoad();
    co_await LetWaitingRun();
    co_await clock_.Sleep(200);
}

Task<> FuelPanel::Refuel() {
    co_await cues_.SwitchCue();
    co_await clock_.Sleep(500);
    if (!IsClosed(kLeftValve) || !IsClosed(kRightValve)) {
        if (hooks_.beep) hooks_.beep();
        co_return;
    }
    if (!monitor_.Enabled()) {
        cues_.StartBackground();
        monitor_.SetEnabled(true);
        co_return;
    }
    // Read before anything changes, so a bad total leaves the monitor and the sound as they were.
    const std::int64_t target = RoundHalfEven(plan_.IntOf(FieldId::Edit29) * plan_.values.WeightUnitFactor);
    StartFuelSound();
    monitor_.SetEnabled(false);
    refuelling_ = true;
    LogFuelLoopStart(true, target, data_.leftFuelLb + data_.rightFuelLb);
    controls_.SetCaption(kSwitch, kSwitchOn);
    const double half = static_cast<double>(target / 2);
    int stalled = 0;
    while (TanksKnown() && RoundHalfEven(data_.leftFuelLb + data_.rightFuelLb + 10) < target) {
        const double before = data_.leftFuelLb + data_.rightFuelLb;
        // A tank takes no more than half the target, nor more than it holds.
        const double left = std::min({data_.leftFuelLb + 10 + Random10(), half, data_.leftCapacityLb});
        const double right = std::min({data_.rightFuelLb + 10 + Random10(), half, data_.rightCapacityLb});
        if (left <= data_.leftFuelLb && right <= data_.rightFuelLb) break; // both tanks are full
        co_await Step(left, right);
        if (handlers_.Closed()) break; // the program is ending
        stalled = data_.leftFuelLb + data_.rightFuelLb > before ? 0 : stalled + 1;
        if (stalled >= kStallSteps) break;
    }
    LogFuelLoopEnd(true, target, data_.leftFuelLb + data_.rightFuelLb, TanksKnown(), stalled >= kStallSteps,
                   false);
    refuelling_ = false;
    controls_.SetCaption(kSwitch, kSwitchOff);
    controls_.SetCaption(kLeftValve, "");
    controls_.SetCaption(kRightValve, "");
    co_await EndLoop();
}

Task<> FuelPanel::Defuel() {
    TWaveSound& player = cues_.Player();
    player.Stop();
    player.SoundFile = cues_.PathOf(SoundCues::kSwitch);
    player.LoopSound = false;
    cues_.PlayCue();
    co_await clock_.Sleep(50);
    cues_.StartBackground();
    if (IsClosed(kRightValve) || IsClosed(kLeftValve)) co_return;
    co_await clock_.Sleep(500);
    if (IsClosed(kDefuelValve)) {
        controls_.SetCaption(kDefuelValve, ""); // also ends a defuelling that is running
        co_return;
    }
    const std::int64_t target = RoundHalfEven(plan_.IntOf(FieldId::Edit29) * plan_.values.WeightUnitFactor);
    controls_.SetCaption(kDefuelValve, kClosed);
    co_await clock_.Sleep(500);
    monitor_.SetEnabled(false);
    StartFuelSound();
    defuelling_ = true;
    LogFuelLoopStart(false, target, data_.leftFuelLb + data_.rightFuelLb);
    int stalled = 0;
    while (IsClosed(kDefuelValve) && TanksKnown() &&
           target < RoundHalfEven(data_.leftFuelLb + data_.rightFuelLb)) {
        const double before = data_.leftFuelLb + data_.rightFuelLb;
        const double left = std::max(0.0, data_.leftFuelLb - 10 - Random10());
        const double right = std::max(0.0, data_.rightFuelLb - 10 - Random10());
        if (left >= data_.leftFuelLb && right >= data_.rightFuelLb) break; // both tanks are empty
        co_await Step(left, right);
        if (handlers_.Closed()) break;
        stalled = data_.leftFuelLb + data_.rightFuelLb < before ? 0 : stalled + 1;
        if (stalled >= kStallSteps) break;
    }
    LogFuelLoopEnd(false, target, data_.leftFuelLb + data_.rightFuelLb, TanksKnown(), stalled >= kStallSteps,
                   !IsClosed(kDefuelValve));
    defuelling_ = false;
    controls_.SetCaption(kDefuelValve, "");
    co_await EndLoop();
}

} // namespace vantrel
