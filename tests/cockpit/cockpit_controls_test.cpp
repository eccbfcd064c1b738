// The main window's link controls on the cockpit: Set UTC, FS Wx, the UIPC lamp, the alert
// altitude and the speeds mode, against the real server.
#include "cockpit_rig.h"

#include "cockpit/altitude_alert.h"
#include "cockpit/utc_clock.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vantrel {
namespace {

using test::CockpitRig;

LocalMs At(const char* iso) {
    LocalMs ms = 0;
    EXPECT_TRUE(ParseIso(iso, ms)) << iso;
    return ms;
}

std::uint8_t Byte(CockpitRig& rig, std::uint32_t offset) {
    return std::uint8_t(rig.Space().GetU16(offset) & 0xFF);
}

struct ClockCase {
    const char* local;
    int bias;
    int localHour, localMinute, utcHour, utcMinute, utcSecond, day;
};

TEST(SetUtc, WritesLocalAndUtcClockAndTheDayOfTheYear) {
    const ClockCase cases[] = {
        {"2026-12-09T23:30:00", 60, 23, 30, 0, 30, 0, 344},  // UTC is already the next day
        {"2024-12-31T12:00:05", 0, 12, 0, 12, 0, 5, 366},    // 31 December of a leap year
        {"2025-01-01T00:10:59", 0, 0, 10, 0, 10, 59, 1},     // 1 January
        {"2025-01-01T00:30:00", -60, 0, 30, 23, 30, 0, 366}, // UTC still in the leap year
    };
    CockpitRig rig;
    rig.Link();
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.local);
        rig.plan.values.UtcBiasMinutes = c.bias;
        rig.clock.Set(At(c.local));
        rig.cockpit->Button3Click();
        EXPECT_EQ(Byte(rig, offsets::kClockHourLocal.address), c.localHour);
        EXPECT_EQ(Byte(rig, offsets::kClockMinuteLocal.address), c.localMinute);
        EXPECT_EQ(Byte(rig, offsets::kClockHourUtc.address), c.utcHour);
        EXPECT_EQ(Byte(rig, offsets::kClockMinuteUtc.address), c.utcMinute);
        EXPECT_EQ(Byte(rig, offsets::kClockSecondUtc.address), c.utcSecond);
        EXPECT_EQ(rig.Space().GetU16(offsets::kDayOfYearUtc.address), c.day);
    }
    EXPECT_EQ(rig.wave.Plays("sounds/switch.wav"), 4);
}

TEST(FsWeather, CopiesWeatherIntoTheBarsWithinTheirRangesAndNothingOnFailure) {
    struct Case {
        std::int16_t qnhRaw, oatRaw;
        int qnh, oat;
    } const cases[] = {
        {1012 * 16 + 8, 15 * 256 + 128, 1012, 16}, // halves to even
        {1100 * 16, -60 * 256, 1060, -50},         // clamped by the bars
        {0, 0, 950, 0},                            // no plausibility check here
    };
    CockpitRig rig;
    rig.Link();
    for (const Case& c : cases) {
        rig.Space().SetU16(offsets::kQnh.address, std::uint16_t(c.qnhRaw));
        rig.Space().SetU16(offsets::kOutsideAirTemperature.address, std::uint16_t(c.oatRaw));
        rig.cockpit->Button4Click();
        EXPECT_EQ(rig.plan.Position(FieldId::ScrollBar2), c.qnh);
        EXPECT_EQ(rig.plan.Position(FieldId::ScrollBar1), c.oat);
    }
    rig.StopSimulator();
    rig.cockpit->Button4Click();
    EXPECT_EQ(rig.plan.Position(FieldId::ScrollBar2), 950);
}

TEST(LinkLamp, LeftClicksCycleThePeriodRightClickSwitchesTheLinkOff) {
    CockpitRig rig;
    int hidden = 0;
    rig.window().onHideFuelPanel = [&] { ++hidden; };
    rig.Link(); // period 10 s after the first tick
    const struct {
        MouseButton button;
        int period;
        const char* caption;
    } steps[] = {{MouseButton::Left, 30000, "30 s"},
                 {MouseButton::Left, 1000, "1 s"},
                 {MouseButton::Left, 5000, "5 s"},
                 {MouseButton::Middle, 10000, "10 s"}};
    for (const auto& step : steps) {
        rig.cockpit->Panel3MouseDown(step.button);
        EXPECT_EQ(rig.window().Timer1->Interval(), step.period);
        EXPECT_EQ(rig.control("Panel3").caption, step.caption);
    }
    EXPECT_TRUE(rig.window().Timer1->Enabled());

    rig.cockpit->Panel3MouseDown(MouseButton::Right);
    EXPECT_EQ(hidden, 1);
    EXPECT_FALSE(rig.window().Timer1->Enabled());
    EXPECT_FALSE(rig.cockpit->link.IsOpen());
    EXPECT_EQ(rig.control("Panel2").color, colors::Red);
    EXPECT_EQ(rig.control("Panel3").color, colors::Red);
    for (const char* name : LinkWindow::kLinkButtons)
        EXPECT_FALSE(rig.control(name).enabled) << name;
    rig.cockpit->Panel3MouseDown(MouseButton::Right); // already red: nothing more
    EXPECT_EQ(hidden, 1);
    rig.cockpit->Panel3MouseDown(MouseButton::Left); // a new period does not start the monitor
    EXPECT_FALSE(rig.window().Timer1->Enabled());
    rig.Advance(60000);
    EXPECT_FALSE(rig.cockpit->link.IsOpen());

    // Started again (the fuel panel's refuel switch does so), the monitor links anew.
    rig.window().Timer1->SetEnabled(true);
    rig.Advance(30000);
    EXPECT_TRUE(rig.window().linked);
    EXPECT_EQ(rig.control("Panel3").color, colors::Lime);
    rig.Advance(30000);
    EXPECT_NE(rig.plan.Text(FieldId::Edit48), "=====");
}

TEST(AltitudeAlert, FiresOnceWhenPassingTheArmedAltitude) {
    struct Case {
        const char* name;
        int direction;
        std::vector<int> loads;
        std::vector<bool> fires;
    } const cases[] = {
        {"climbing", 1, {5000, 5001, 5001, 6000}, {false, true, false, false}},
        {"descending", -1, {5000, 4999, 4000}, {false, true, false}},
        {"disarmed", 0, {4000, 6000}, {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlightPlan plan;
        plan.values.AlertAltitude = 5000;
        plan.values.AlertDirection = c.direction;
        plan.SetColor(FieldId::Panel6, colors::Lime);
        int cues = 0;
        for (std::size_t i = 0; i < c.loads.size(); ++i) {
            EXPECT_EQ(CheckAltitudeAlert(plan, c.loads[i], [&] { ++cues; }), c.fires[i]) << c.loads[i];
        }
        EXPECT_EQ(cues, c.direction != 0 ? 1 : 0);
        EXPECT_EQ(plan.values.AlertDirection, 0);
        if (c.direction != 0) {
            EXPECT_EQ(plan.Color(FieldId::Panel6), colors::Silver);
        }
    }
}

TEST(AltitudeAlert, ArmsWithTheAltitudeOfTheLastLoadAndFiresFromALoad) {
    const struct {
        std::uint32_t metres; // 1201 ft, 7999 ft, 5000 ft
        int direction;
        std::uint32_t panel;
    } cases[] = {{366, 1, colors::Lime}, {2438, -1, colors::Lime}, {1524, 0, colors::Silver}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.metres);
        CockpitRig rig;
        rig.Space().SetU32(offsets::kAltitudeMetres.address, c.metres);
        rig.Advance(11000);
        rig.cockpit->Button7Click();
        EXPECT_EQ(rig.plan.values.AlertDirection, c.direction);
        EXPECT_EQ(rig.plan.Color(FieldId::Panel6), c.panel);
    }
    CockpitRig rig;
    rig.Advance(11000);
    rig.cockpit->Button7Click(); // on the ground: armed for climbing
    rig.Space().SetU32(offsets::kAltitudeMetres.address, 1524);
    rig.Advance(10000);
    EXPECT_EQ(rig.wave.Plays("sounds/altalert.wav"), 0);
    rig.Space().SetU32(offsets::kAltitudeMetres.address, 1525); // 5003 ft
    rig.Advance(10000);
    rig.Advance(10000);
    EXPECT_EQ(rig.wave.Plays("sounds/altalert.wav"), 1);
    EXPECT_EQ(rig.plan.Color(FieldId::Panel6), colors::Silver);
    rig.cockpit->Button7Click(); // disarmed now, so this arms again: above it, for descending
    EXPECT_EQ(rig.plan.values.AlertDirection, -1);
    rig.cockpit->Button7Click();
    EXPECT_EQ(rig.plan.values.AlertDirection, 0);
}

TEST(AltitudeAlert, StepsOfTheAlertAltitude) {
    const struct {
        int from;
        MouseButton button;
        int to;
        int beeps;
    } cases[] = {{300, MouseButton::Left, 0, 1},
                 {500, MouseButton::Left, 0, 0},
                 {5000, MouseButton::Right, 5500, 0},
                 {5000, MouseButton::Middle, 5000, 0}};
    for (const auto& c : cases) {
        CockpitRig rig(false);
        rig.plan.values.AlertAltitude = c.from;
        rig.plan.values.AlertDirection = 1;
        rig.plan.SetColor(FieldId::Panel6, colors::Lime);
        rig.cockpit->Panel6MouseDown(c.button);
        EXPECT_EQ(rig.plan.values.AlertAltitude, c.to);
        EXPECT_EQ(rig.beeps, c.beeps);
        EXPECT_EQ(rig.plan.values.AlertDirection, 1); // the direction stays
        if (c.button != MouseButton::Middle) {
            EXPECT_EQ(rig.plan.Text(FieldId::Panel6), std::to_string(c.to));
            EXPECT_EQ(rig.plan.Color(FieldId::Panel6), colors::Silver);
        }
        EXPECT_EQ(rig.wave.Plays("sounds/switch.wav"), 1);
    }
}

TEST(SpeedsMode, NeedsTheActualWeightOfALoad) {
    CockpitRig rig;
    rig.cockpit->Button8Click();
    EXPECT_FALSE(rig.plan.values.ActualMode);
    EXPECT_EQ(rig.wave.Plays("sounds/alert.wav"), 1);
    rig.Advance(11000);
    rig.cockpit->Button8Click();
    EXPECT_TRUE(rig.plan.values.ActualMode);
    rig.cockpit->Button8Click();
    EXPECT_FALSE(rig.plan.values.ActualMode);
}

// A simulator that is gone fails the exchange at once: its socket refuses, nothing waits for
// the send time-outs (11 x 2 s with the real timings used here).
TEST(LinkMonitor, AGoneSimulatorFailsFast) {
    CockpitRig rig(true, IpcTimings{});
    rig.Link();
    ASSERT_TRUE(rig.cockpit->link.IsOpen());
    rig.StopSimulator();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(test::Finished(rig.window().DataLoad()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

} // namespace
} // namespace vantrel

namespace vantrel {
namespace {

TEST(UtcClockText, LocalTimeMovedByTheBias) {
    const struct {
        const char* local;
        int bias;
        const char* text;
    } cases[] = {{"2026-12-09T23:30:00", 60, "10/12 00:30"},
                 {"2024-12-31T23:59:59", 1, "01/01 00:00"},
                 {"2025-03-01T00:05:00", -10, "28/02 23:55"}};
    for (const auto& c : cases) {
        LocalMs ms = 0;
        ASSERT_TRUE(ParseIso(c.local, ms));
        EXPECT_EQ(UtcClockText(ms, c.bias), c.text) << c.local;
    }
}

} // namespace
} // namespace vantrel

namespace vantrel {
namespace {

TEST(SimulatorWindow, ASocketThatAcceptsInAPrivateFolder) {
    test::TempIpcDir dir; // exported as VANTREL_IPC_DIR
    EXPECT_FALSE(SimulatorWindowExists("FS98MAIN"));
    {
        test::InProcessServer server(dir.Path());
        EXPECT_TRUE(SimulatorWindowExists("FS98MAIN"));
        EXPECT_FALSE(SimulatorWindowExists("UIPCMAIN"));
        chmod(dir.Path().c_str(), 0777); // others could plant a socket: no window
        EXPECT_FALSE(SimulatorWindowExists("FS98MAIN"));
        chmod(dir.Path().c_str(), 0700);
    }
    EXPECT_FALSE(SimulatorWindowExists("FS98MAIN")); // the server removed its socket
}

} // namespace
} // namespace vantrel
