// The alert altitude, its arming and the UTC clock of the main window.
#include "app_fixture.h"
#include "form1.h"
#include "panel_widget.h"
#include "utc_clock.h"

#include <QLabel>
#include <QTimeZone>

#include <gtest/gtest.h>

using vantrel::FieldId;
namespace colors = vantrel::colors;

namespace {

struct AidsFixture : ::testing::Test {
    AppFixture f;
    TestCockpit cockpit{f};
    std::unique_ptr<TForm1> form;
    // The aircraft's altitude as the cockpit's last data load left it.
    int& aircraftAltitude = cockpit.cockpit->data.altitudeFeet;
    void SetUp() override {
        form = std::make_unique<TForm1>(f.ctx);
        f.switchCues = 0;
    }
    TPanel* Alert() const { return form->Panel("Panel6"); }
    void SetAlertAltitude(int feet) {
        f.plan.values.AlertAltitude = feet;
        f.plan.SetText(FieldId::Panel6, std::to_string(feet));
    }
};

} // namespace

TEST_F(AidsFixture, LeftClickLowersRightClickRaisesByFiveHundredFeet) {
    SetAlertAltitude(5000);
    Click(Alert(), Qt::LeftButton);
    EXPECT_EQ(Alert()->text(), "4500");
    Click(Alert(), Qt::RightButton);
    Click(Alert(), Qt::RightButton);
    EXPECT_EQ(Alert()->text(), "5500");
    EXPECT_EQ(f.plan.values.AlertAltitude, 5500);
    EXPECT_EQ(f.switchCues, 3);
    EXPECT_EQ(f.beeps, 0);
}

TEST_F(AidsFixture, AltitudeStopsAtZeroWithABeep) {
    SetAlertAltitude(300);
    Click(Alert(), Qt::LeftButton);
    EXPECT_EQ(Alert()->text(), "0");
    EXPECT_EQ(f.beeps, 1);
    SetAlertAltitude(500);
    Click(Alert(), Qt::LeftButton);
    EXPECT_EQ(Alert()->text(), "0");
    EXPECT_EQ(f.beeps, 1);
}

TEST_F(AidsFixture, ArmingPicksTheDirectionTheAircraftWillPass) {
    SetAlertAltitude(5000);
    aircraftAltitude = 1200;
    form->Button7Click();
    EXPECT_EQ(f.plan.values.AlertDirection, 1);
    EXPECT_EQ(Alert()->Color(), colors::Lime);

    form->Button7Click(); // armed: disarms
    EXPECT_EQ(f.plan.values.AlertDirection, 0);
    EXPECT_EQ(Alert()->Color(), colors::Silver);

    aircraftAltitude = 8000;
    form->Button7Click();
    EXPECT_EQ(f.plan.values.AlertDirection, -1);
    form->Button7Click();

    aircraftAltitude = 5000;
    form->Button7Click();
    EXPECT_EQ(f.plan.values.AlertDirection, 0);
    EXPECT_EQ(Alert()->Color(), colors::Silver);
}

TEST_F(AidsFixture, SteppingKeepsTheDirectionButShowsTheAlertUnarmed) {
    SetAlertAltitude(5000);
    aircraftAltitude = 1200;
    form->Button7Click();
    Click(Alert(), Qt::RightButton);
    EXPECT_EQ(f.plan.values.AlertDirection, 1);
    EXPECT_EQ(Alert()->Color(), colors::Silver);
}

TEST_F(AidsFixture, ClockShowsUtcDayMonthHoursMinutes) {
    form->Timer1Timer();
    EXPECT_EQ(form->findChild<QLabel*>("label87")->text().size(), 11);
    const QDateTime local(QDate(2026, 12, 31), QTime(23, 30, 10), QTimeZone::systemTimeZone());
    EXPECT_EQ(vantrel::UtcClockText(local, 60), "01/01 00:30");
    EXPECT_EQ(vantrel::UtcClockText(local, -90), "31/12 22:00");
    EXPECT_EQ(vantrel::UtcClockText(QDateTime(QDate(2026, 3, 5), QTime(7, 5)), 0), "05/03 07:05");
}

TEST_F(AidsFixture, ClearAgentAndModeRunThePlansHandlers) {
    f.plan.SetText(FieldId::Edit30, "123");
    form->Button6Click();
    EXPECT_EQ(f.plan.Text(FieldId::Edit30), "=====");
    int alerts = 0;
    f.plan.onAlertCue = [&alerts] { ++alerts; };
    form->Button8Click(); // no actual weight yet
    EXPECT_EQ(alerts, 1);
    EXPECT_FALSE(f.plan.values.ActualMode);
    form->Button1Click();
    EXPECT_LE(std::stoi(f.plan.Text(FieldId::Edit13)), 49);
    EXPECT_LE(std::stoi(f.plan.Text(FieldId::Edit15)), 1110);
}
