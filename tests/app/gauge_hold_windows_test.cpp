// The cockpit's gauge and speed hold on the real windows.
#include "app_fixture.h"
#include "form1.h"
#include "form4.h"
#include "form7.h"
#include "gauge_hold_windows.h"
#include "panel_widget.h"

#include "cockpit/cockpit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using vantrel::FieldId;

struct SilentOutput : vantrel::WaveOutput {
    void Play(const std::string&, bool) override {}
    void Stop() override {}
};

// The program's windows that show the gauge and the hold, on a cockpit with virtual seams.
struct CockpitWindows {
    AppFixture f;
    vantrel::VirtualClock clock{0};
    vantrel::VirtualTimers timers{clock};
    SilentOutput wave;
    std::vector<std::string> spoken;
    vantrel::CockpitSeams seams{clock,
                                timers,
                                wave,
                                [this](const std::string& t) { spoken.push_back(t); },
                                [](const std::string&) { return false; },
                                [] {},
                                [] {}};
    TForm1 form1{f.ctx};
    std::unique_ptr<vantrel::Cockpit> cockpit;
    TForm4 form4{f.ctx};
    TForm7 form7{f.ctx, nullptr, "/nonexistent/checklists.ini"};

    CockpitWindows() {
        f.ctx.windows.Form1 = &form1;
        f.ctx.windows.Form4 = &form4;
        f.ctx.windows.Form7 = &form7;
        cockpit = std::make_unique<vantrel::Cockpit>(f.plan, seams, f.ctx.programDir);
        form1.show();
        vantrel::ConnectSpeedHoldAndGauge(*cockpit, f.ctx);
    }
    QString Text(const char* name) { return form4.findChild<QLabel*>(name)->text(); }
};

TEST(GaugeAndHoldWindows, CreatedVisibleInTakeoffModeAndTheHoldPanelsClick) {
    CockpitWindows w;
    EXPECT_TRUE(w.form4.isVisible());
    EXPECT_EQ(w.Text("label7"), "T/O9");
    EXPECT_EQ(w.Text("Label2"), QString::fromStdString(w.f.plan.Text(FieldId::Edit37)));
    EXPECT_FALSE(w.Text("Label2").isEmpty());
    const QRect main = w.form1.frameGeometry();
    // With no stored place the gauge sits clear of the main window and the checklist strip.
    const QRect gauge = w.form4.frameGeometry();
    EXPECT_FALSE(gauge.intersects(main)) << gauge.x() << "," << gauge.y();
    EXPECT_FALSE(gauge.intersects(w.form7.frameGeometry())) << gauge.x() << "," << gauge.y();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(gauge));

    // Flaps from the main window reach the gauge through the plan.
    Click(w.form4.findChild<TPanel*>("label7"));
    EXPECT_EQ(w.Text("label7"), "LDG22");
    w.f.plan.UserSelect(FieldId::rg2, 1);
    EXPECT_EQ(w.Text("label7"), "LDG45");
    EXPECT_EQ(w.Text("Label2"), QString::fromStdString(w.f.plan.Text(FieldId::Edit42)));

    Click(w.form7.SpeedHoldPanel());
    EXPECT_TRUE(w.cockpit->hold.HoldActive());
    EXPECT_EQ(w.form7.SpeedHoldPanel()->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(w.cockpit->linkWindow.Timer1->Interval(), 1000);
    Click(w.form7.ReverseThrustPanel());
    EXPECT_TRUE(w.cockpit->hold.ReverseArmed());
    Click(w.form7.SpeedHoldPanel());
    EXPECT_FALSE(w.cockpit->hold.HoldActive());
    EXPECT_EQ(w.form7.SpeedHoldPanel()->text(), "SPD");
    EXPECT_TRUE(w.spoken.empty()); // the checklist window has no voice here
}

// Pictures of the gauge over the main window in take-off and landing mode, taken from the
// screen when VANTREL_SHOTS_DIR names a folder (run under a real display such as Xvfb).
TEST(Screenshots, GaugeOverTheMainWindow) {
    const QByteArray dir = qgetenv("VANTREL_SHOTS_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "VANTREL_SHOTS_DIR not set";
    CockpitWindows w;
    w.form1.move(0, 0);
    w.form4.move(w.form1.frameGeometry().right() + 1 - 71, w.form1.frameGeometry().top() + 165);
    w.form4.raise();
    auto shoot = [&](const char* name) {
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
        QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = w.form1.frameGeometry().united(w.form4.frameGeometry());
        EXPECT_TRUE(screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                        .save(QString::fromLocal8Bit(dir) + "/" + name + ".png"));
        EXPECT_TRUE(w.form4.grab()
                        .scaled(w.form4.size() * 3)
                        .save(QString::fromLocal8Bit(dir) + "/" + name + "-gauge-x3.png"));
    };
    shoot("form4-takeoff");
    Click(w.form4.findChild<TPanel*>("label7"));
    Click(w.form4.findChild<TPanel*>("label7"));
    shoot("form4-landing45");
}

} // namespace
