#include "cockpit/cockpit.h"

#include "cockpit/altitude_alert.h"
#include "cockpit/sim_time_weather.h"
#include "cockpit/sound_switch.h"
#include "planning/flight_plan.h"

namespace vantrel {

void DefineMainWindowControls(ControlBoard& controls) {
    auto lamp = [&controls](const char* name, const char* caption, std::uint32_t color) {
        controls.Define(name, ControlState{caption, color, true, true});
    };
    lamp("Panel2", "FS", colors::Red);
    lamp("Panel3", "UIPC", colors::Red);
    lamp("Panel5", "Sound", colors::Lime);
    lamp("Panel7", "CFG", colors::Silver);
    // The buttons that need the link are disabled until it is up.
    for (auto [name, caption] :
         {std::pair{"Button2", "Refuel/Defuel"}, std::pair{"Button3", "Set UTC"},
          std::pair{"Button4", "FS Wx"}, std::pair{"Button7", "Alert"}, std::pair{"Button8", "Mode"}})
        controls.Define(name, ControlState{caption, colors::Silver, false, true});
    // The fuel panel's fuel figure: its design text until the first data load writes it.
    controls.Define("Form5.lbfuel", ControlState{"5000 lb", colors::Silver, true, true});
}

namespace {

CockpitSeams ThroughGate(const CockpitSeams& given, LinkGate& gate) {
    CockpitSeams seams = given;
    seams.linkRunner = &gate;
    return seams;
}

// The text of any error a handler ends with: the known ones as they are, anything else said
// plainly, so the user sees it and the cockpit goes on.
std::string ErrorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "An unexpected error occurred";
    }
}

} // namespace

Cockpit::Cockpit(FlightPlan& plan_, const CockpitSeams& seams_, std::string programDir_,
                 std::unique_ptr<IpcTransport> transport, IpcTimings timings)
    : plan(plan_), handlers(seams_.dispatch), linkGate(handlers, seams_.linkRunner),
      seams(ThroughGate(seams_, linkGate)), programDir(std::move(programDir_)),
      link(std::move(transport), timings), snd(seams.wave),
      cues(snd, seams.clock, programDir, plan.values.SoundOn, handlers),
      linkWindow(plan, link, cues, controls, data, seams, programDir, handlers),
      recorder(plan, data, *linkWindow.Timer2, seams.clock, programDir),
      fuelPanel(plan, link, data, controls, cues, seams.clock, *linkWindow.Timer1,
                FuelPanelHooks{[this] { return linkWindow.DataLoad(); },
                               [this]() -> Task<> {
                                   if (seams.processMessages) seams.processMessages();
                                   return handlers.LetWaitingRun();
                               },
                               seams.beep},
                handlers, seams.linkRunner),
      hold(plan, link, data, controls, *linkWindow.Timer1, seams.linkRunner), gauge(plan, controls, cues) {
    // An error a handler ends with shows as the plan's errors do.
    handlers.onError = [this](std::exception_ptr error) {
        if (plan.onError) plan.onError(ErrorText(error));
    };
    // The recorder's minute after a landing takes its turn like every other handler, so a box
    // it shows never lets a data load write the same flight meanwhile.
    linkWindow.Timer2->OnTimer = [this] {
        handlers.Post([this]() -> Task<> {
            recorder.Timer2Timer();
            co_return;
        });
    };
    linkWindow.onFlightPhase = [this] { recorder.FlightPhaseStep(); };
    linkWindow.fuelUsedLb = [this] { return recorder.FuelUsedLb(); };
    linkWindow.onHideFuelPanel = [this] { fuelPanel.Close(); };
    DefineMainWindowControls(controls);
    controls.SetColor("Panel5", SoundPanelColor(plan.values.SoundOn));
    snd.LoopSound = true;
    linkWindow.onSpeedCapture = [this] { hold.OnSpeedCapture(); };
    linkWindow.onReverseAndHold = [this] { return hold.OnReverseAndHold(); };
    // Without the checklist window's own voice settings the warning goes to its speech as is.
    hold.voice = [this](int, int, int, const std::string& text) {
        if (seams.speak) seams.speak(text);
    };
    plan.onSwitchCue = [this] { cues.PlaySwitchCue(); };
    plan.onAlertCue = [this] { cues.PlayAlertCue(); };
    plan.onSoundSwitched = [this](bool on) {
        controls.SetColor("Panel5", SoundPanelColor(on));
        if (on)
            cues.StartBackground();
        else
            snd.Stop();
    };
}

Cockpit::~Cockpit() {
    CloseNow();
}

void Cockpit::Start() {
    linkWindow.FormCreate();
}

void Cockpit::Close(std::function<void()> closed) {
    if (closed) whenClosed_.push_back(std::move(closed));
    if (finished_) {
        TellClosed();
        return;
    }
    if (closing_) return;
    closing_ = true;
    linkWindow.Timer1->SetEnabled(false);
    link.StopRetrying();
    handlers.Close([this] { return Shutdown(); });
}

Task<> Cockpit::Shutdown() {
    ShutDownRecorder();
    co_await linkWindow.FormClose();
    linkGate.Finish();
    finished_ = true;
    TellClosed();
}

// The flight log takes what it still owes once, whichever way the program ends.
void Cockpit::ShutDownRecorder() {
    if (std::exchange(recorderShutDown_, true)) return;
    recorder.Shutdown();
}

void Cockpit::TellClosed() {
    for (std::function<void()>& f : std::exchange(whenClosed_, {}))
        f();
}

void Cockpit::CloseNow() {
    if (finished_) return;
    closing_ = true;
    linkWindow.Timer1->SetEnabled(false);
    linkWindow.Timer2->OnTimer = nullptr;
    link.StopRetrying();
    // The exchange that is out ends after its current send; the handlers waiting for it never
    // go on (their resumption goes with the event loop), so the link is idle from here on.
    linkGate.Finish();
    ShutDownRecorder();
    linkWindow.CloseLinkNow();
    finished_ = true;
    TellClosed();
}

// A link button's switch cue comes at once, whatever the link is doing; its action takes its
// turn after every handler before it.
void Cockpit::PostAfterCue(HandlerQueue::Handler action) {
    handlers.Post([this] { return cues.SwitchCue(); }, HandlerQueue::Lane::Quick);
    handlers.Post(std::move(action));
}

void Cockpit::Button3Click() {
    PostAfterCue([this] { return SetUtc(); });
}

Task<> Cockpit::SetUtc() {
    const LocalMs now = seams.clock.Now();
    const int bias = plan.values.UtcBiasMinutes;
    co_await OnLink(seams.linkRunner, [&] { WriteSimulatorClock(link, now, bias); });
}

void Cockpit::Button4Click() {
    PostAfterCue([this] { return LoadWeather(); });
}

Task<> Cockpit::LoadWeather() {
    int qnh = 0, oat = 0;
    bool read = false;
    co_await OnLink(seams.linkRunner, [&] { read = ReadSimulatorWeather(link, qnh, oat); });
    if (read) ApplySimulatorWeather(plan, qnh, oat);
}

void Cockpit::Button7Click() {
    handlers.Post([this] { return ToggleAlert(); }, HandlerQueue::Lane::Quick);
}

Task<> Cockpit::ToggleAlert() {
    co_await cues.SwitchCue();
    ToggleAltitudeAlert(plan, data.altitudeFeet);
}

void Cockpit::Button8Click() {
    QuickClick([this] { plan.Guarded([this] { plan.Button8Click(); }); });
}

// The "UIPC" lamp. Its right click is the way out of a hung simulator: the monitor stops and an
// exchange that waits ends after its current send at once; the link closes in its turn.
void Cockpit::Panel3MouseDown(MouseButton button) {
    if (button != MouseButton::Right) {
        handlers.Post(
            [this]() -> Task<> {
                co_await cues.SwitchCue();
                linkWindow.StepMonitorPeriod();
            },
            HandlerQueue::Lane::Quick);
        return;
    }
    handlers.Post(
        [this]() -> Task<> {
            co_await cues.SwitchCue();
            linkWindow.SwitchOffAtOnce();
        },
        HandlerQueue::Lane::Quick);
    handlers.Post([this] { return linkWindow.SwitchOff(); });
}

void Cockpit::Panel6MouseDown(MouseButton button) {
    handlers.Post([this, button] { return StepAlert(button); }, HandlerQueue::Lane::Quick);
}

Task<> Cockpit::StepAlert(MouseButton button) {
    co_await cues.SwitchCue();
    StepAlertAltitude(plan, button, seams.beep);
}

void Cockpit::Panel5Click() {
    QuickClick([this] { vantrel::Panel5Click(plan); });
}

void Cockpit::PnatClick() {
    QuickClick([this] { hold.pnatClick(); });
}

void Cockpit::PnrevClick() {
    QuickClick([this] { hold.pnrevClick(); });
}

void Cockpit::QuickClick(std::function<void()> action) {
    handlers.Post(
        [action = std::move(action)]() -> Task<> {
            action();
            co_return;
        },
        HandlerQueue::Lane::Quick);
}

} // namespace vantrel
