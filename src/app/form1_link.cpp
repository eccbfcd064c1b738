// The simulator link's controls on the main window: the "FS" and "UIPC" lamps, "Set UTC",
// "FS Wx" and the "Sound" switch. The link and the sound player act on them through the main
// window's hooks.
#include "form1.h"

#include "app_context.h"
#include "panel_widget.h"
#include "ui_form1.h"

#include "planning/flight_plan.h"
#include "simlink/sound_switch.h"

void TForm1::ConnectLink() {
    // Not linked at start: both lamps red, the link's buttons disabled (the .ui says so).
    Panel("Panel2")->SetColor(vantrel::colors::Red);
    Panel("Panel3")->SetColor(vantrel::colors::Red);
    Panel("Panel5")->SetColor(vantrel::colors::Lime);
    Panel("Panel7")->SetColor(vantrel::colors::Silver);
    for (const char* name : {"Panel4", "Panel9", "Panel10"})
        Panel(name)->SetColor(0x3A4756);
    // The panels that act on a click show it with the pointing hand.
    for (const char* name : {"Panel3", "Panel4", "Panel5", "Panel6", "Panel9", "Panel10"})
        Panel(name)->setCursor(Qt::PointingHandCursor);

    connect(ui->Button3, &QPushButton::clicked, this, [this] {
        if (ctx_.hooks.setSimulatorUtc) Guarded(ctx_.hooks.setSimulatorUtc);
    });
    connect(ui->Button4, &QPushButton::clicked, this, [this] {
        if (ctx_.hooks.loadSimulatorWeather) Guarded(ctx_.hooks.loadSimulatorWeather);
    });
    connect(Panel("Panel3"), &TPanel::mouseDown, this, [this](Qt::MouseButton button) {
        if (ctx_.hooks.linkPanelMouseDown)
            Guarded([&] { ctx_.hooks.linkPanelMouseDown(static_cast<int>(button)); });
    });
    // The sound switch: the plan keeps the flag, the window colours the panel and the player
    // starts the background loop or falls silent.
    vantrel::FlightPlan& plan = *ctx_.plan;
    connect(Panel("Panel5"), &TPanel::clicked, this, [&plan] { vantrel::Panel5Click(plan); });
    plan.onSoundSwitched = [this](bool on) {
        Panel("Panel5")->SetColor(vantrel::SoundPanelColor(on));
        const auto& sound = on ? ctx_.hooks.startBackgroundSound : ctx_.hooks.stopSound;
        if (sound) sound();
    };
}
