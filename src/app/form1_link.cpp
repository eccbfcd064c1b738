// The simulator link's controls on the main window: the "FS" and "UIPC" lamps, the buttons that
// need the link, "Set UTC", "FS Wx" and the "Sound" switch. The cockpit keeps their state; the
// window paints it and forwards the clicks.
#include "form1.h"

#include "app_context.h"
#include "control_signals.h"
#include "panel_widget.h"
#include "ui_form1.h"

#include "planning/flight_plan.h"
#include "cockpit/cockpit.h"
#include "cockpit/sound_switch.h"

#include <QPushButton>

namespace {

vantrel::MouseButton ToMouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return vantrel::MouseButton::Left;
    case Qt::RightButton:
        return vantrel::MouseButton::Right;
    default:
        return vantrel::MouseButton::Middle;
    }
}

// The main window's controls that the cockpit keeps.
constexpr const char* kLinkLamps[] = {"Panel2", "Panel3", "Panel5"};

} // namespace

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

    vantrel::Cockpit* cockpit = ctx_.cockpit;
    if (!cockpit) {
        // A main window on its own (without the link): the sound switch still switches.
        vantrel::FlightPlan& plan = *ctx_.plan;
        connect(Panel("Panel5"), &TPanel::clicked, this, [&plan] { vantrel::Panel5Click(plan); });
        plan.onSoundSwitched = [this](bool on) { Panel("Panel5")->SetColor(vantrel::SoundPanelColor(on)); };
        return;
    }
    connect(ui->Button3, &QPushButton::clicked, this,
            [this, cockpit] { Guarded([cockpit] { cockpit->Button3Click(); }); });
    connect(ui->Button4, &QPushButton::clicked, this,
            [this, cockpit] { Guarded([cockpit] { cockpit->Button4Click(); }); });
    connect(Panel("Panel3"), &TPanel::mouseDown, this, [this, cockpit](Qt::MouseButton button) {
        Guarded([&] { cockpit->Panel3MouseDown(ToMouseButton(button)); });
    });
    connect(Panel("Panel5"), &TPanel::clicked, this, [cockpit] { cockpit->Panel5Click(); });
    if (ctx_.controlSignals)
        connect(ctx_.controlSignals, &vantrel::ControlSignals::changed, this,
                [this](const QString& name) { PaintLinkControl(name.toStdString()); });
    for (const char* name : kLinkLamps)
        PaintLinkControl(name);
    for (const char* name : vantrel::LinkWindow::kLinkButtons)
        PaintLinkControl(name);
}

void TForm1::PaintLinkControl(const std::string& name) {
    const vantrel::ControlBoard& controls = ctx_.cockpit->controls;
    if (!controls.Has(name)) return;
    const vantrel::ControlState& state = controls.Get(name);
    if (TPanel* panel = findChild<TPanel*>(QString::fromStdString(name))) {
        panel->SetColor(state.color);
        panel->setText(QString::fromStdString(state.caption));
        return;
    }
    if (QPushButton* button = findChild<QPushButton*>(QString::fromStdString(name))) {
        // Only the enabled state: the buttons keep their captions with the accelerator marks.
        button->setEnabled(state.enabled);
        button->setVisible(state.visible);
    }
}
