// The planning aids on the main window: load agent, speeds mode, used-fuel reset, the alert
// altitude and the UTC clock.
#include "form1.h"

#include "app_context.h"
#include "panel_widget.h"
#include "ui_form1.h"
#include "utc_clock.h"

#include "core/convert.h"
#include "planning/flight_plan.h"

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

// Left button: 500 ft down, not below 0 (a beep says so); right button: 500 ft up. The alert
// keeps its direction; the panel shows the new value, not armed.
void TForm1::Panel6MouseDown(Qt::MouseButton button) {
    PlaySwitchCue();
    vantrel::FlightPlan& plan = *ctx_.plan;
    int& altitude = plan.values.AlertAltitude;
    if (button == Qt::LeftButton) {
        altitude -= 500;
        if (altitude < 0) {
            altitude = 0;
            if (ctx_.dialogs.beep)
                ctx_.dialogs.beep();
            else
                QApplication::beep();
        }
    } else if (button == Qt::RightButton) {
        altitude += 500;
    } else {
        return;
    }
    plan.Guarded([&plan, altitude] {
        plan.SetText(FieldId::Panel6, vantrel::IntToStr(altitude));
        plan.SetColor(FieldId::Panel6, vantrel::colors::Silver);
    });
}

// Arms the alert for the direction in which the aircraft will pass the alert altitude, or
// disarms it. At the alert altitude itself there is nothing to pass, so it stays disarmed.
void TForm1::Button7Click() {
    PlaySwitchCue();
    vantrel::FlightPlan& plan = *ctx_.plan;
    plan.Guarded([this, &plan] {
        if (plan.Color(FieldId::Panel6) == vantrel::colors::Lime) {
            plan.SetColor(FieldId::Panel6, vantrel::colors::Silver);
            plan.values.AlertDirection = 0;
            return;
        }
        plan.SetColor(FieldId::Panel6, vantrel::colors::Lime);
        const int aircraft = ctx_.hooks.aircraftAltitudeFeet ? ctx_.hooks.aircraftAltitudeFeet() : 0;
        const int alert = vantrel::StrToInt(plan.Text(FieldId::Panel6));
        if (alert < aircraft) {
            plan.values.AlertDirection = -1;
        } else if (alert > aircraft) {
            plan.values.AlertDirection = 1;
        } else {
            plan.values.AlertDirection = 0;
            plan.SetColor(FieldId::Panel6, vantrel::colors::Silver);
        }
    });
}

// The UTC clock, every 10 seconds.
void TForm1::Timer1Timer() {
    vantrel::FlightPlan& plan = *ctx_.plan;
    const std::string text =
        vantrel::UtcClockText(QDateTime::currentDateTime(), plan.values.UtcBiasMinutes).toStdString();
    plan.Guarded([&plan, &text] { plan.SetText(FieldId::label87, text); });
}
