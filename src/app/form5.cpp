#include "form5.h"

#include "app_context.h"
#include "form1.h"
#include "form4.h"
#include "form7.h"
#include "tools/fuel_panel_layout.h"
#include "ui_form5.h"
#include "window_places.h"

#include "cockpit/control_board.h"
#include "cockpit/fuel_panel.h"
#include "planning/flight_plan.h"

#include <QMouseEvent>

namespace {

using namespace fuel_panel_layout;
using vantrel::FuelPanel;

QPixmap Picture(const char* name) {
    return QPixmap(QStringLiteral(":/images/%1.jpg").arg(QLatin1String(name)));
}

void LcdWindow(QLabel* label, const char* color, int pixels) {
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(
        QStringLiteral("QLabel { background: #0c0e0c; color: %1; font: bold %2px \"DejaVu Sans "
                       "Mono\"; }")
            .arg(QLatin1String(color))
            .arg(pixels));
}

} // namespace

TForm5::TForm5(vantrel::AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), ui(new Ui::TForm5) {
    ui->setupUi(this);
    setFixedSize(kWidth, kHeight);
    ui->Image1->setGeometry(0, 0, kWidth, kHeight);
    ui->Image1->setPixmap(Picture("fuel_panel"));
    ui->lbfuel->setGeometry(kFuelDisplay);
    ui->lbselected->setGeometry(kSelectedDisplay);
    LcdWindow(ui->lbfuel, "#4dff4d", 20);
    LcdWindow(ui->lbselected, "#ffb020", 20);
    const struct {
        QLabel* label;
        QRect where;
    } parts[] = {{ui->Image2, kRefuelSwitch},   {ui->Image3, kLeftValve},     {ui->Image4, kRightValve},
                 {ui->Image5, kDefuelValve},    {ui->Label1, kLeftIndicator}, {ui->Label2, kRightIndicator},
                 {ui->Label3, kDefuelIndicator}};
    for (const auto& part : parts)
        part.label->setGeometry(part.where);
    for (QLabel* image : {ui->Image2, ui->Image3, ui->Image4, ui->Image5}) {
        image->setCursor(Qt::PointingHandCursor);
        image->installEventFilter(this);
    }
    for (QLabel* indicator : {ui->Label1, ui->Label2, ui->Label3})
        LcdWindow(indicator, "#f0f0f0", 12);
    // The stored place; -999 keeps the design place for that edge.
    if (ctx_.plan) {
        const vantrel::WindowPositions& w = ctx_.plan->values.windowPositions;
        const int left = w.Left5 == vantrel::WindowPositions::kNone ? x() : w.Left5;
        const int top = w.Top5 == vantrel::WindowPositions::kNone ? y() : w.Top5;
        move(left, top);
    }
    Refresh();
}

TForm5::~TForm5() = default;

void TForm5::Attach(FuelPanel& panel, const vantrel::ControlBoard& board) {
    panel_ = &panel;
    board_ = &board;
    panel.onShownChanged = [this](bool shown) {
        if (!shown) {
            if (isVisible()) hide();
        } else if (!isVisible()) {
            if (!vantrel::WasEverShown(this)) PlaceForFirstShow();
            exec();
        }
    };
    Refresh();
}

// With no stored place the panel opens beside the main window where the screen has room, else
// centred over it (it is modal: the main window waits for it anyway), never over one corner.
void TForm5::PlaceForFirstShow() {
    const vantrel::WindowPositions& w = ctx_.plan->values.windowPositions;
    const QWidget* main = ctx_.windows.Form1;
    if (!main || w.Left5 != vantrel::WindowPositions::kNone || w.Top5 != vantrel::WindowPositions::kNone)
        return;
    const QPoint centred = main->frameGeometry().center() - rect().center();
    move(vantrel::FirstPlaceBesideMainWindow(*this, main, {ctx_.windows.Form4, ctx_.windows.Form7}, centred));
}

void TForm5::Refresh() {
    for (const char* name : {"Form5.lbfuel", FuelPanel::kSelected, FuelPanel::kLeftValve,
                             FuelPanel::kRightValve, FuelPanel::kDefuelValve, FuelPanel::kSwitch})
        Paint(name);
}

void TForm5::ControlChanged(const std::string& name) {
    if (name.rfind("Form5.", 0) == 0) Paint(name);
}

void TForm5::Paint(const std::string& name) {
    const bool known = board_ && board_->Has(name);
    const std::string caption = known ? board_->Get(name).caption : "";
    const QString text = QString::fromLatin1(caption.c_str());
    const bool closed = caption == FuelPanel::kClosed;
    if (name == "Form5.lbfuel") {
        if (known) ui->lbfuel->setText(text);
    } else if (name == FuelPanel::kSelected) {
        if (known) ui->lbselected->setText(text);
    } else if (name == FuelPanel::kLeftValve) {
        ui->Label1->setText(text);
        ui->Image3->setPixmap(Picture(closed ? "fuel_valve_closed" : "fuel_valve_open"));
    } else if (name == FuelPanel::kRightValve) {
        ui->Label2->setText(text);
        ui->Image4->setPixmap(Picture(closed ? "fuel_valve_closed" : "fuel_valve_open"));
    } else if (name == FuelPanel::kDefuelValve) {
        ui->Label3->setText(text);
        ui->Image5->setPixmap(Picture(closed ? "fuel_valve_closed" : "fuel_valve_open"));
    } else if (name == FuelPanel::kSwitch) {
        ui->Image2->setPixmap(
            Picture(caption == FuelPanel::kSwitchOn ? "fuel_switch_on" : "fuel_switch_off"));
    }
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && panel_ &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Image2)
            panel_->Image2Click();
        else if (watched == ui->Image3)
            panel_->Image3Click();
        else if (watched == ui->Image4)
            panel_->Image4Click();
        else if (watched == ui->Image5)
            panel_->Image5Click();
        else
            return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm5::done(int result) {
    QDialog::done(result);
    if (panel_) panel_->Close();
}
