#include "cockpit/cockpit.h"

#include "planning/flight_plan.h"
#include "cockpit/altitude_alert.h"
#include "cockpit/sim_time_weather.h"
#include "cockpit/sound_switch.h"

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
    : plan(plan_), seams(seams_), programDir(std::move(programDir_)), link(std::move(transport), timings),
      snd(seams.wave), cues(snd, seams.clock, programDir, plan.values.SoundOn),
      linkWindow(plan, link, cues, controls, data, seams, programDir),
      recorder(plan, data, *linkWindow.Timer2, seams.clock, programDir),
      fuelPanel(plan, link, data, controls, cues, seams.clock, *linkWindow.Timer1,
                FuelPanelHooks{[this] { linkWindow.DataLoad(); }, seams.processMessages, seams.beep}),
      hold(plan, link, data, controls, *linkWindow.Timer1), gauge(plan, controls, cues) {
    linkWindow.onFlightPhase = [this] { recorder.FlightPhaseStep(); };
    linkWindow.fuelUsedLb = [this] { return recorder.FuelUsedLb(); };
    linkWindow.onHideFuelPanel = [this] { fuelPanel.Close(); };
    DefineMainWindowControls(controls);
    controls.SetColor("Panel5", SoundPanelColor(plan.values.SoundOn));
    snd.LoopSound = true;
    linkWindow.onSpeedCapture = [this] { hold.OnSpeedCapture(); };
    linkWindow.onReverseAndHold = [this] { hold.OnReverseAndHold(); };
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

void Cockpit::Start() {
    linkWindow.FormCreate();
}

void Cockpit::Close() {
    linkWindow.FormClose();
}

void Cockpit::Button3Click() {
    cues.PlaySwitchCue();
    WriteSimulatorClock(link, seams.clock.Now(), plan.values.UtcBiasMinutes);
}

void Cockpit::Button4Click() {
    cues.PlaySwitchCue();
    LoadSimulatorWeather(link, plan);
}

void Cockpit::Button7Click() {
    cues.PlaySwitchCue();
    ToggleAltitudeAlert(plan, data.altitudeFeet);
}

void Cockpit::Button8Click() {
    plan.Guarded([this] { plan.Button8Click(); });
}

void Cockpit::Panel3MouseDown(MouseButton button) {
    cues.PlaySwitchCue();
    linkWindow.Panel3MouseDown(button);
}

void Cockpit::Panel6MouseDown(MouseButton button) {
    cues.PlaySwitchCue();
    StepAlertAltitude(plan, button, seams.beep);
}

void Cockpit::Panel5Click() {
    vantrel::Panel5Click(plan);
}

} // namespace vantrel
