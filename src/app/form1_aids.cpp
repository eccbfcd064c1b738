// The planning aids on the main window: load agent, speeds mode, used-fuel reset, the alert
// altitude and the UTC clock.
#include "form1.h"

#include "app_context.h"
#include "panel_widget.h"
#include "ui_form1.h"
#include "utc_clock.h"

#include "core/convert.h"
#include "planning/flight_plan.h"
#include "cockpit/altitude_alert.h"
#include "cockpit/cockpit.h"

#include <QApplication>
#include <QDateTime>

using vantrel::FieldId;

void TForm1::ConnectAids() {
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(ui->Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(Panel("Panel6"), &TPanel::mouseDown, this, &TForm1::Panel6MouseDown);
}

void TForm1::Button1Click() {
    vantrel::FlightPlan& plan = *ctx_.plan;
    plan.Guarded([&plan] { plan.Button1Click(); });
}

void TForm1::Button6Click() {
    vantrel::FlightPlan& plan = *ctx_.plan;
    plan.Guarded([&plan] { plan.Button6Click(); });
}

void TForm1::Button8Click() {
    vantrel::FlightPlan& plan = *ctx_.plan;
    plan.Guarded([&plan] { plan.Button8Click(); });
}

// The alert altitude's step and its arming are the cockpit's; the window forwards the clicks.
void TForm1::Panel6MouseDown(Qt::MouseButton button) {
    PlaySwitchCue();
    const vantrel::MouseButton which = button == Qt::LeftButton    ? vantrel::MouseButton::Left
                                       : button == Qt::RightButton ? vantrel::MouseButton::Right
                                                                   : vantrel::MouseButton::Middle;
    vantrel::StepAlertAltitude(*ctx_.plan, which, [this] {
        if (ctx_.dialogs.beep)
            ctx_.dialogs.beep();
        else
            QApplication::beep();
    });
}

// Armed against the altitude of the cockpit's last data load (0 without a link).
void TForm1::Button7Click() {
    if (ctx_.cockpit) {
        ctx_.cockpit->Button7Click();
        return;
    }
    PlaySwitchCue();
    vantrel::ToggleAltitudeAlert(*ctx_.plan, 0);
}

// The UTC clock, every 10 seconds.
void TForm1::Timer1Timer() {
    vantrel::FlightPlan& plan = *ctx_.plan;
    const std::string text =
        vantrel::UtcClockText(QDateTime::currentDateTime(), plan.values.UtcBiasMinutes).toStdString();
    plan.Guarded([&plan, &text] { plan.SetText(FieldId::label87, text); });
}
