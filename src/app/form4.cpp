#include "form4.h"

#include "app_context.h"
#include "form1.h"
#include "panel_widget.h"
#include "ui_form4.h"
#include "window_places.h"

#include "cockpit/control_board.h"
#include "cockpit/gauge.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace {

// Names and values read light on the dark face; the values in the instruments' green.
void Tint(QLabel* label, const QColor& colour, int pointSize, bool bold) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    QFont f = label->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    label->setFont(f);
    // A press on a label reaches the window, which drags.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

vantrel::MouseButton GaugeButton(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return vantrel::MouseButton::Left;
    if (button == Qt::RightButton) return vantrel::MouseButton::Right;
    return vantrel::MouseButton::Middle;
}

} // namespace

TForm4::TForm4(vantrel::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx), ui(new Ui::TForm4) {
    ui->setupUi(this);
    // Above all windows, with a thin border and no caption; not tied to the main window, so it
    // stays over the simulator while the main window is hidden.
    setWindowFlags(Qt::Window | Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_MacAlwaysShowToolWindow); // also while another program is in front
    setFixedSize(size());
    ui->Image1->setPixmap(QPixmap(QStringLiteral(":/images/gauge.png")));
    ui->Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Tint(ui->Label8, QColor(0xd8, 0xe0, 0xea), 7, false);
    for (QLabel* name : {ui->Label1, ui->Label5, ui->Label6})
        Tint(name, QColor(0xe6, 0xe6, 0xe6), 6, false);
    for (QLabel* value : {ui->Label2, ui->Label3, ui->Label4})
        Tint(value, QColor(0x4c, 0xff, 0x6a), 8, true);
    for (TPanel* panel : {ui->label7, ui->Panel13, ui->Panel1}) {
        QFont f = panel->font();
        f.setPointSize(7);
        f.setBold(true);
        panel->setFont(f);
        panel->setLineWidth(1);
    }
    connect(ui->label7, &TPanel::clicked, this,
            [this] { Click([](vantrel::Gauge& g) { g.label7Click(); }); });
    connect(ui->Panel13, &TPanel::clicked, this,
            [this] { Click([](vantrel::Gauge& g) { g.Panel13Click(); }); });
    connect(ui->Panel1, &TPanel::mouseDown, this, [this](Qt::MouseButton button) {
        Click([mouse = GaugeButton(button)](vantrel::Gauge& g) { g.Panel1MouseDown(mouse); });
    });
}

TForm4::~TForm4() {
    if (gauge_) {
        gauge_->onVisibleChanged = nullptr;
        gauge_->onMoved = nullptr;
        gauge_->isMainWindowVisible = nullptr;
        gauge_->showMainWindow = nullptr;
    }
}

void TForm4::Click(std::function<void(vantrel::Gauge&)> action) {
    if (!gauge_) return;
    vantrel::Gauge* gauge = gauge_;
    if (inTurn_)
        inTurn_([gauge, action = std::move(action)] { action(*gauge); });
    else
        action(*gauge);
}

void TForm4::Attach(vantrel::Gauge& gauge, vantrel::ControlBoard& controls,
                    std::function<void(std::function<void()>)> inTurn) {
    gauge_ = &gauge;
    controls_ = &controls;
    inTurn_ = std::move(inTurn);
    // Other windows paint from the same board: they are told as well.
    QPointer<TForm4> self(this);
    controls.onChanged = [previous = controls.onChanged, self](const std::string& name) {
        if (previous) previous(name);
        if (self && name.rfind("Form4.", 0) == 0) self->ShowControl(name);
    };
    gauge.onVisibleChanged = [this] { setVisible(gauge_->Visible()); };
    gauge.onMoved = [this] { PlaceOnScreen(gauge_->Left(), gauge_->Top()); };
    gauge.isMainWindowVisible = [this] {
        const QWidget* main = ctx_.windows.Form1;
        return main && main->isVisible();
    };
    gauge.showMainWindow = [this](bool show) {
        QWidget* main = ctx_.windows.Form1;
        if (!main) return;
        if (!show) {
            main->hide();
            return;
        }
        main->showNormal();
        main->raise();
        main->activateWindow();
    };
    ShowAll();
    PlaceOnScreen(gauge.Left(), gauge.Top());
    setVisible(gauge.Visible());
}

void TForm4::PlaceFirstTime(const QWidget* other) {
    const vantrel::WindowPositions& stored = ctx_.plan->values.windowPositions;
    if (!gauge_ || stored.Left4 != vantrel::WindowPositions::kNone ||
        stored.Top4 != vantrel::WindowPositions::kNone)
        return;
    const QPoint place = vantrel::FirstPlaceBesideMainWindow(*this, ctx_.windows.Form1, {other},
                                                             QPoint(gauge_->Left(), gauge_->Top()));
    PlaceOnScreen(place.x(), place.y());
}

// A place stored on a larger desktop, or beside a main window at the screen's edge, must not
// leave the gauge out of reach.
void TForm4::PlaceOnScreen(int left, int top) {
    const QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - width()));
        top = std::clamp(top, area.top(), std::max(area.top(), area.bottom() + 1 - height()));
    }
    move(left, top);
    if (gauge_) gauge_->Moved(left, top);
}

void TForm4::ShowAll() {
    for (const char* name : {"Form4.label7", "Form4.Label1", "Form4.Label2", "Form4.Label3", "Form4.Label4",
                             "Form4.Label5", "Form4.Label6", "Form4.Panel13"})
        ShowControl(name);
}

void TForm4::ShowControl(const std::string& name) {
    if (!controls_ || !controls_->Has(name)) return;
    auto* widget = findChild<QLabel*>(QString::fromStdString(name.substr(6)));
    if (!widget) return;
    const vantrel::ControlState& state = controls_->Get(name);
    widget->setText(QString::fromStdString(state.caption));
    if (auto* panel = qobject_cast<TPanel*>(widget)) panel->SetColor(state.color);
}

// Dragging with the left button from any point not covered by a panel.
void TForm4::mousePressEvent(QMouseEvent* event) {
    drag_.Press(*this, *event);
    QWidget::mousePressEvent(event);
}

void TForm4::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.Move(*this, *event) && gauge_) gauge_->Moved(x(), y());
    QWidget::mouseMoveEvent(event);
}

void TForm4::mouseReleaseEvent(QMouseEvent* event) {
    drag_.Release(*event);
    QWidget::mouseReleaseEvent(event);
}

// The main window's Gauge panel shows and hides this window directly; the gauge follows.
void TForm4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (gauge_) gauge_->SetVisible(true);
}

void TForm4::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (gauge_ && !isVisible()) gauge_->SetVisible(false);
}

void TForm4::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(0x05, 0x06, 0x08));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
