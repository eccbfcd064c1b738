// The link window's monitor and data load against the real server over the posix transport.
#include "cockpit_rig.h"

#include <chrono>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using test::CockpitRig;

bool AllLinkButtons(CockpitRig& rig, bool enabled) {
    for (const char* name : LinkWindow::kLinkButtons)
        if (rig.control(name).enabled != enabled) return false;
    return true;
}

TEST(LinkMonitor, FirstTickAfterOneSecondThenEveryTenSeconds) {
    CockpitRig rig;
    EXPECT_EQ(rig.window().Timer1->Interval(), 1000);
    EXPECT_FALSE(rig.window().Timer2->Enabled());
    EXPECT_EQ(rig.window().Timer2->Interval(), 60000);
    rig.Advance(999);
    EXPECT_FALSE(rig.window().linked);
    rig.Advance(1);
    EXPECT_TRUE(rig.window().linked);
    EXPECT_EQ(rig.window().shownLinked, 1);
    EXPECT_EQ(rig.window().Timer1->Interval(), 10000);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit48), "=====");
    // The OK cue's hold moved the clock on; the period counts from the tick's start.
    const LocalMs start = FromCivil(CivilTime{2026, 12, 9, 12, 0, 0, 0});
    rig.timers.AdvanceTo(start + 10999);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit48), "=====");
    rig.timers.AdvanceTo(start + 11000); // the data load of the second tick
    EXPECT_NE(rig.plan.Text(FieldId::Edit48), "=====");
}

TEST(LinkMonitor, SimulatorAbsentKeepsEverythingRedAndDisabled) {
    CockpitRig rig(false);
    for (int tick = 0; tick < 3; ++tick) {
        rig.Advance(tick == 0 ? 1000 : 10000);
        EXPECT_EQ(rig.control("Panel2").color, colors::Red);
        EXPECT_EQ(rig.control("Panel3").color, colors::Red);
        EXPECT_TRUE(AllLinkButtons(rig, false));
        EXPECT_EQ(rig.window().Icon(), "icon2.ico");
        EXPECT_EQ(rig.window().IconPath(), "/prog/icon2.ico");
        EXPECT_FALSE(rig.cockpit->link.IsOpen());
    }
    EXPECT_EQ(rig.wave.Plays("sounds/alert.wav"), 0);
}

// A simulator whose listen queue is full for a moment is busy, not gone: the tick waits for
// room, and the cockpit stays linked.
TEST(LinkMonitor, AFullListenQueueForAMomentIsNoMissingSimulator) {
    CockpitRig rig;
    rig.Link();
    rig.server->Serve(false);
    const std::vector<int> idle = test::FillListenQueue(rig.dir.Path() + "/FS98MAIN");
    ASSERT_FALSE(idle.empty());
    std::thread release([&rig] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        rig.server->Serve(true);
    });
    rig.Advance(10000);
    release.join();
    EXPECT_TRUE(rig.window().linked);
    EXPECT_TRUE(AllLinkButtons(rig, true));
    EXPECT_EQ(rig.wave.Plays("sounds/alert.wav"), 0);
    EXPECT_NE(rig.plan.Text(FieldId::Edit48), "=====");
    for (int connection : idle)
        close(connection);
}

TEST(LinkMonitor, NoWeatherYetKeepsTheLinkUnmarkedThenOkCueOnce) {
    CockpitRig rig;
    rig.Space().SetU16(offsets::kQnh.address, 0);
    rig.Advance(1000);
    EXPECT_FALSE(rig.window().linked);
    EXPECT_TRUE(rig.cockpit->link.IsOpen()); // open, waiting for weather
    EXPECT_EQ(rig.control("Panel2").color, colors::Lime);
    EXPECT_EQ(rig.control("Panel3").color, colors::Red);
    EXPECT_TRUE(AllLinkButtons(rig, false));
    EXPECT_EQ(rig.wave.Plays("sounds/OK.wav"), 0);

    rig.Space().SetU16(offsets::kQnh.address, std::uint16_t(998 * 16 + 7)); // 998.44 hPa
    rig.Space().SetU16(offsets::kOutsideAirTemperature.address, std::uint16_t(-12 * 256));
    rig.Advance(10000);
    EXPECT_TRUE(rig.window().linked);
    EXPECT_EQ(rig.plan.Position(FieldId::ScrollBar2), 998);
    EXPECT_EQ(rig.plan.Position(FieldId::ScrollBar1), -12);
    EXPECT_EQ(rig.wave.Plays("sounds/OK.wav"), 1);
    EXPECT_TRUE(AllLinkButtons(rig, true));
    EXPECT_EQ(rig.window().Icon(), "icon1.ico");
    rig.Advance(20000); // data loads only
    EXPECT_EQ(rig.wave.Plays("sounds/OK.wav"), 1);
}

TEST(LinkMonitor, SimulatorQuittingAndComingBack) {
    CockpitRig rig;
    rig.Advance(11000);
    ASSERT_EQ(rig.control("Panel3").color, colors::Lime);
    rig.StopSimulator();
    rig.Advance(10000);
    EXPECT_EQ(rig.wave.Plays("sounds/alert.wav"), 1);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit48), "=====");
    EXPECT_EQ(rig.plan.Color(FieldId::Edit48), colors::Silver);
    EXPECT_TRUE(AllLinkButtons(rig, false));
    EXPECT_EQ(rig.control("Panel2").color, colors::Red);
    EXPECT_EQ(rig.window().Icon(), "icon2.ico");
    EXPECT_FALSE(rig.cockpit->link.IsOpen());
    rig.Advance(20000); // still gone: no second alert
    EXPECT_EQ(rig.wave.Plays("sounds/alert.wav"), 1);

    rig.StartSimulator();
    rig.Advance(10000);
    EXPECT_TRUE(rig.window().linked);
    EXPECT_EQ(rig.wave.Plays("sounds/OK.wav"), 2);
    EXPECT_TRUE(AllLinkButtons(rig, true));
    rig.Advance(10000);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit28), "4000");
}

struct WeightCase {
    const char* name;
    bool kilograms;
    const char* zeroFuel;
    const char* maxBlock;
    const char* gross;
    const char* fuel;
    const char* lbfuel;
    std::uint32_t grossColor;
};

TEST(DataLoad, FuelAndWeightsInBothUnits) {
    const WeightCase cases[] = {
        {"kilograms", true, "12000", "20000", "13814", "1814", "1814 kg", colors::Lime},
        {"pounds", false, "12000", "20000", "16000", "4000", "4000 lb", colors::Lime},
        {"at the block limit", false, "12000", "16000", "16000", "4000", "4000 lb", colors::Lime},
        {"one above it", false, "12001", "16000", "16001", "4000", "4000 lb", colors::Red},
    };
    for (const WeightCase& c : cases) {
        SCOPED_TRACE(c.name);
        CockpitRig rig;
        rig.plan.values.WeightsInKg = c.kilograms;
        rig.plan.values.WeightUnitFactor = c.kilograms ? kKilogramFactor : 1.0;
        rig.plan.SetText(FieldId::Edit23, c.zeroFuel);
        rig.plan.SetText(FieldId::Edit31, c.maxBlock);
        rig.Advance(11000);
        EXPECT_EQ(rig.plan.Text(FieldId::Edit48), c.gross);
        EXPECT_EQ(rig.plan.Color(FieldId::Edit48), c.grossColor);
        EXPECT_EQ(rig.plan.Text(FieldId::Edit28), c.fuel);
        EXPECT_EQ(rig.control("Form5.lbfuel").caption, c.lbfuel);
        EXPECT_DOUBLE_EQ(rig.cockpit->data.leftFuelLb, 2000);
        EXPECT_DOUBLE_EQ(rig.cockpit->data.leftCapacityLb, 2000);
        EXPECT_EQ(rig.control("Panel3").color, colors::Lime);
    }
}

struct NonsenseCase {
    const char* name;
    std::uint32_t level, capacity;
    std::uint16_t fuelWeight;
    std::uint32_t altitude;
    std::int32_t feet;
};

bool Sensible(const std::string& text) {
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos &&
           text.find('-') == std::string::npos;
}

TEST(DataLoad, NonsenseFromTheSimulatorGivesSensibleFields) {
    const NonsenseCase cases[] = {
        {"level above full counts as full", 0xFFFFFFFF, 250, 8 * 256, 1000, 3281},
        {"capacity 0", offsets::kTankFull, 0, 8 * 256, 1000, 3281},
        {"fuel weight 0", offsets::kTankFull, 250, 0, 1000, 3281},
        {"everything at its maximum", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF, 0x7FFFFFFF, 2147483647},
        {"below sea level", offsets::kTankFull, 250, 8 * 256, 0xFFFFFFF6, -33},
    };
    for (const NonsenseCase& c : cases) {
        SCOPED_TRACE(c.name);
        CockpitRig rig;
        rig.plan.SetText(FieldId::Edit23, "12000");
        rig.Space().SetU32(offsets::kLeftMainLevel.address, c.level);
        rig.Space().SetU32(offsets::kLeftMainCapacity.address, c.capacity);
        rig.Space().SetU16(offsets::kFuelWeight.address, c.fuelWeight);
        rig.Space().SetU32(offsets::kAltitudeMetres.address, c.altitude);
        rig.Space().SetU16(offsets::kOnGround.address, 0); // airborne: Edit30 is written too
        rig.Advance(11000);
        EXPECT_EQ(rig.cockpit->data.altitudeFeet, c.feet);
        const LinkData& d = rig.cockpit->data;
        EXPECT_LE(d.leftFuelLb, d.leftCapacityLb);
        EXPECT_GE(d.leftFuelLb, 0);
        for (FieldId id : {FieldId::Edit48, FieldId::Edit28, FieldId::Edit30}) {
            EXPECT_TRUE(Sensible(rig.plan.Text(id))) << rig.plan.Text(id);
            EXPECT_NE(rig.plan.Text(id), "=====");
        }
        EXPECT_TRUE(Sensible(rig.control("Form5.lbfuel").caption));
    }
}

TEST(DataLoad, FailedExchangeShowsFuchsiaAndKeepsTheFigures) {
    CockpitRig rig;
    rig.Advance(11000);
    const LinkData before = rig.cockpit->data;
    rig.StopSimulator();
    // The window is gone but the tick's look-up has not seen it yet: the load itself fails.
    EXPECT_FALSE(test::Finished(rig.window().DataLoad()));
    EXPECT_EQ(rig.control("Panel3").color, colors::Fuchsia);
    EXPECT_EQ(rig.wave.Plays("sounds/alert.wav"), 1);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit48), "=====");
    EXPECT_EQ(rig.cockpit->data.leftFuelLb, before.leftFuelLb);
    EXPECT_EQ(rig.cockpit->data.onGroundPrevious, before.onGroundPrevious);
    EXPECT_EQ(rig.cockpit->data.onGroundCurrent, before.onGroundCurrent);
}

TEST(DataLoad, HooksRunInStepOrderAndOnGroundFlagsMove) {
    CockpitRig rig;
    std::vector<std::string> order;
    rig.window().onSpeedCapture = [&] { order.push_back("capture"); };
    rig.window().onReverseAndHold = [&]() -> Task<> {
        order.push_back("hold");
        EXPECT_DOUBLE_EQ(rig.cockpit->data.leftFuelLb, 2000); // the figures of this load
        co_return;
    };
    rig.window().onFlightPhase = [&] { order.push_back("phase"); };
    rig.window().fuelUsedLb = [] { return 661.4; };
    rig.plan.values.WeightsInKg = true;
    rig.plan.values.WeightUnitFactor = kKilogramFactor;
    rig.Space().SetU16(offsets::kOnGround.address, 0);
    rig.Space().SetU32(offsets::kIndicatedAirspeed.address, 250 * 128);
    rig.Advance(11000);
    EXPECT_EQ(order, (std::vector<std::string>{"capture", "hold", "phase"}));
    EXPECT_EQ(rig.cockpit->data.onGroundPrevious, 1);
    EXPECT_EQ(rig.cockpit->data.onGroundCurrent, 0);
    EXPECT_EQ(rig.cockpit->data.speed, 250 * 128);
    EXPECT_EQ(rig.plan.Text(FieldId::Edit30), "300"); // 661.4 lb in kilograms
    rig.Advance(10000);
    EXPECT_EQ(rig.cockpit->data.onGroundPrevious, 0);
}

// A tick never runs inside a data load, but a data load of a handler that runs there (the
// refuel switch's) is carried out, as it was when the messages were handled in place.
TEST(LinkMonitor, TicksDoNotNestButAHandlersOwnLoadRuns) {
    CockpitRig rig;
    rig.Advance(1000);
    int nested = 0;
    bool nestedLoadRan = false;
    const int okCues = rig.wave.Plays("sounds/OK.wav");
    rig.onProcessMessages = [&] {
        if (nested++ > 0) return;   // the messages of the outer load only
        rig.window().Timer1Timer(); // a timer message handled inside the data load
        nestedLoadRan = test::Finished(rig.window().DataLoad()) || nestedLoadRan;
    };
    rig.Advance(10000);
    EXPECT_EQ(nested, 2); // the outer load's messages and the inner load's
    EXPECT_TRUE(nestedLoadRan);
    EXPECT_EQ(rig.wave.Plays("sounds/OK.wav"), okCues);
    EXPECT_EQ(rig.control("Panel3").color, colors::Lime); // the outer load finished
}

} // namespace
} // namespace vantrel
