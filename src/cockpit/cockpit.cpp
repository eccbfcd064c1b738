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

Cockpit::Cockpit(FlightPlan& plan_, const CockpitSeams& seams_, std::string programDir_,
                 std::unique_ptr<IpcTransport> transport, IpcTimings timings)
    : plan(plan_), seams(seams_), programDir(std::move(programDir_)), handlers(seams.dispatch),
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
        plan.Guarded([&] { std::rethrow_exception(error); });
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
    // No exchange may outlive the link it works on.
    link.StopRetrying();
    if (seams.linkRunner) seams.linkRunner->Finish();
}

void Cockpit::Start() {
    linkWindow.FormCreate();
}

void Cockpit::Close() {
    if (closed_) return;
    closed_ = true;
    link.StopRetrying();
    if (seams.linkRunner) seams.linkRunner->Finish();
    recorder.Shutdown();
    linkWindow.FormClose();
}

void Cockpit::Button3Click() {
    handlers.Post([this] { return SetUtc(); });
}

Task<> Cockpit::SetUtc() {
    co_await cues.SwitchCue();
    const LocalMs now = seams.clock.Now();
    const int bias = plan.values.UtcBiasMinutes;
    co_await OnLink(seams.linkRunner, [&] { WriteSimulatorClock(link, now, bias); });
}

void Cockpit::Button4Click() {
    handlers.Post([this] { return LoadWeather(); });
}

Task<> Cockpit::LoadWeather() {
    co_await cues.SwitchCue();
    int qnh = 0, oat = 0;
    bool read = false;
    co_await OnLink(seams.linkRunner, [&] { read = ReadSimulatorWeather(link, qnh, oat); });
    if (read) ApplySimulatorWeather(plan, qnh, oat);
}

void Cockpit::Button7Click() {
    handlers.Post([this] { return ToggleAlert(); });
}

Task<> Cockpit::ToggleAlert() {
    co_await cues.SwitchCue();
    ToggleAltitudeAlert(plan, data.altitudeFeet);
}

void Cockpit::Button8Click() {
    plan.Guarded([this] { plan.Button8Click(); });
}

void Cockpit::Panel3MouseDown(MouseButton button) {
    handlers.Post([this, button] { return LinkLampDown(button); });
}

Task<> Cockpit::LinkLampDown(MouseButton button) {
    co_await cues.SwitchCue();
    co_await linkWindow.Panel3MouseDown(button);
}

void Cockpit::Panel6MouseDown(MouseButton button) {
    handlers.Post([this, button] { return StepAlert(button); });
}

Task<> Cockpit::StepAlert(MouseButton button) {
    co_await cues.SwitchCue();
    StepAlertAltitude(plan, button, seams.beep);
}

void Cockpit::Panel5Click() {
    vantrel::Panel5Click(plan);
}

} // namespace vantrel
