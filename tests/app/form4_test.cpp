// The speeds gauge window: painted from the board, its panels forwarded, dragged by the rest.
#include "app_fixture.h"
#include "form1.h"
#include "form4.h"
#include "form7.h"
#include "panel_widget.h"

#include "cockpit/control_board.h"
#include "cockpit/gauge.h"
#include "cockpit/sound_cues.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

using vantrel::FieldId;

struct SilentOutput : vantrel::WaveOutput {
    void Play(const std::string&, bool) override {}
    void Stop() override {}
};

class GaugeWindow : public ::testing::Test {
protected:
    GaugeWindow() {
        f.plan.paths.ProgramDir = f.ctx.programDir;
        f.plan.CalcSpeedsInCurrentMode();
        main.setObjectName("Form1");
        main.setGeometry(40, 60, 500, 400);
        main.show();
        form.Attach(gauge, controls);
        const QRect frame = main.frameGeometry();
        gauge.FormCreate(frame.left(), frame.top(), frame.width());
    }
    QString Text(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    TPanel* Panel(const char* name) { return form.findChild<TPanel*>(name); }
    QString Field(FieldId id) { return QString::fromStdString(f.plan.Text(id)); }

    AppFixture f;
    vantrel::ControlBoard controls;
    SilentOutput output;
    vantrel::TWaveSound player{output};
    vantrel::VirtualClock clock{0};
    bool soundOn = false;
    vantrel::HandlerQueue handlers;
    vantrel::SoundCues cues{player, clock, "/p/", soundOn, handlers};
    vantrel::Gauge gauge{f.plan, controls, cues};
    QWidget main;
    TForm4 form{f.ctx};
};

TEST_F(GaugeWindow, ShowsTheSpeedsAndFollowsTheModeCycle) {
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.width(), 61);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Panel("label7")->text(), "T/O9");
    EXPECT_EQ(Text("Label1"), "V1");
    EXPECT_EQ(Text("Label2"), Field(FieldId::Edit37));
    EXPECT_EQ(Text("Label4"), Field(FieldId::Edit39));
    EXPECT_EQ(Panel("Panel13")->text(), "PLAN");

    Click(Panel("label7"));
    EXPECT_EQ(Panel("label7")->text(), "LDG22");
    EXPECT_EQ(Text("Label1"), "VREF");
    EXPECT_EQ(Text("Label6"), "TGT");
    EXPECT_EQ(Text("Label2"), Field(FieldId::Edit42));
    EXPECT_EQ(Text("Label4"), Field(FieldId::Edit45));
    EXPECT_EQ(f.plan.ItemIndex(FieldId::rg2), 0);

    // Mode is off (no link): Panel13 does nothing.
    controls.Define("Button8", {"Mode", vantrel::colors::Silver, false, true});
    f.plan.SetText(FieldId::Edit48, "41000");
    Click(Panel("Panel13"));
    EXPECT_EQ(Panel("Panel13")->text(), "PLAN");
    controls.SetEnabled("Button8", true);
    Click(Panel("Panel13"));
    EXPECT_EQ(Panel("Panel13")->text(), "ACT");
}

TEST_F(GaugeWindow, Panel1TogglesTheMainWindowAndHidesTheGauge) {
    // The main window the gauge shows and hides is the context's.
    TForm1 form1(f.ctx);
    f.ctx.windows.Form1 = &form1;
    form1.show();
    Click(Panel("Panel1"));
    EXPECT_FALSE(form1.isVisible());
    EXPECT_TRUE(form.isVisible());
    Click(Panel("Panel1"));
    EXPECT_TRUE(form1.isVisible());
    Click(Panel("Panel1"), Qt::MiddleButton);
    EXPECT_TRUE(form1.isVisible());
    Click(Panel("Panel1"), Qt::RightButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(gauge.Visible());
    f.ctx.windows.Form1 = nullptr;
    // Shown again from outside (the main window's Gauge panel): the gauge follows.
    form.show();
    EXPECT_TRUE(gauge.Visible());
}

TEST_F(GaugeWindow, PlacedBesideTheMainWindowAndDraggedByItsFace) {
    const QRect frame = main.frameGeometry();
    EXPECT_EQ(form.pos(), QPoint(frame.left() + frame.width() - 61 - 10, frame.top() + 165));
    EXPECT_EQ(gauge.Left(), form.x());

    // A press on a speed (not a panel) drags the window; the settings get the new place.
    QLabel* value = form.findChild<QLabel*>("Label3");
    const QPoint at = value->geometry().center();
    const QPointF start = form.mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), start, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(form.childAt(at) ? form.childAt(at) : &form, &press);
    const QPointF to = start + QPointF(-30, 25);
    QMouseEvent move(QEvent::MouseMove, QPointF(at) + QPointF(-30, 25), to, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&form, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), to, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&form, &release);
    EXPECT_EQ(form.pos(), QPoint(frame.left() + frame.width() - 71 - 30, frame.top() + 165 + 25));
    EXPECT_EQ(gauge.Left(), form.x());
    EXPECT_EQ(gauge.Top(), form.y());
}

TEST(CheckListWindowSpeedHoldPanels, PaintFromTheBoard) {
    vantrel::AppContext ctx;
    TForm7 form(ctx, nullptr, "/nonexistent/checklists.ini");
    vantrel::ControlBoard controls;
    controls.Define("Form7.pnat", {"247", vantrel::colors::Lime, true, true});
    controls.Define("Form7.pnrev", {"REV", vantrel::colors::Yellow, true, true});
    form.ShowControl(controls, "Form7.pnat");
    form.ShowControl(controls, "Form7.pnrev");
    form.ShowControl(controls, "Panel3"); // not this window's
    EXPECT_EQ(form.SpeedHoldPanel()->text(), "247");
    EXPECT_EQ(form.SpeedHoldPanel()->palette().color(QPalette::Window), QColor(0x00, 0xFF, 0x00));
    EXPECT_EQ(form.ReverseThrustPanel()->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x00));
}

} // namespace
