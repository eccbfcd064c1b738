// The fuel panel's valves, refuel and defuel loops against the real server over the posix
// transport, on a virtual clock.
#include "cockpit_test_support.h"

#include "cockpit/fuel_panel.h"
#include "core/convert.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantrel {
namespace {

using test::CockpitBench;

struct FuelBench : CockpitBench {
    std::unique_ptr<CockpitTimer> monitor = timers.CreateTimer(10'000, true);
    int beeps = 0;
    int steps = 0; // data loads of the loops
    int writes = 0;
    std::function<void()> duringStep; // a click while the loop lets messages run
    std::unique_ptr<FuelPanel> panel;

    explicit FuelBench(IpcClient* client = nullptr) {
        panel =
            std::make_unique<FuelPanel>(plan, client ? *client : *link, data, controls, cues, clock, *monitor,
                                        FuelPanelHooks{[this]() -> Task<bool> {
                                                           ++steps;
                                                           co_return LoadData();
                                                       },
                                                       [this]() -> Task<> {
                                                           if (duringStep && Running()) duringStep();
                                                           co_return;
                                                       },
                                                       [this] { ++beeps; }},
                                        handlers);
        server.Space().on_write = [this](std::uint32_t offset, const std::uint8_t*, std::uint32_t) {
            if (offset == 0x0B7C || offset == 0x0B94) ++writes;
        };
    }
    bool Running() const { return panel->Refuelling() || panel->Defuelling(); }
    std::string Caption(const char* name) const { return controls.Get(name).caption; }
    void Start(double leftLb, double rightLb, const std::string& edit29) {
        SetServerFuel(leftLb, rightLb);
        ASSERT_TRUE(LoadData());
        Put(FieldId::Edit29, edit29);
    }
    void OpenBothValves() {
        panel->Image3Click();
        panel->Image4Click();
        ASSERT_EQ(Caption(FuelPanel::kLeftValve), "CLSD");
        ASSERT_EQ(Caption(FuelPanel::kRightValve), "CLSD");
    }
    // The valves and the sound are back as before a loop.
    void ExpectIdle() {
        EXPECT_EQ(Caption(FuelPanel::kLeftValve), "");
        EXPECT_EQ(Caption(FuelPanel::kRightValve), "");
        EXPECT_EQ(Caption(FuelPanel::kDefuelValve), "");
        EXPECT_TRUE(monitor->Enabled());
        ASSERT_FALSE(wave.calls.empty());
        EXPECT_EQ(wave.calls.back(), "bkgnd.wav loop");
        EXPECT_FALSE(panel->Refuelling() || panel->Defuelling());
    }
};

TEST(FuelPanel, RefuelFillsEachTankToHalfTheTargetAndAlwaysEnds) {
    struct Case {
        const char* name;
        double left, right;
        const char* edit29;
        bool kilograms;
        double expectMin, expectMax; // each tank at the end, in pounds
        bool stepped;
    } cases[] = {
        {"target within 10 lb", 2000, 2000, "4010", false, 1999.9, 2000.1, false},
        {"target 10 lb below the fuel", 2000, 2000, "3990", false, 1999.9, 2000.1, false},
        {"9500 lb", 1000, 1200, "9500", false, 4740, 4750.001, true},
        {"uneven tanks, odd target", 3000, 100, "7001", false, 3000 - 0.01, 3500.001, true},
        {"kilograms", 1000, 1000, "2000", true, 2194, 2204.7, true},
        {"more than the tanks hold", 6000, 6000, "20000", false, 6698.4, 6699.9, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FuelBench b;
        if (c.kilograms) b.plan.values.WeightUnitFactor = kKilogramFactor;
        b.Start(c.left, c.right, c.edit29);
        b.OpenBothValves();
        b.panel->Image2Click();
        EXPECT_GE(b.data.leftFuelLb, std::min(c.expectMin, c.left - 0.01));
        EXPECT_LE(b.data.leftFuelLb, c.expectMax);
        EXPECT_GE(b.data.rightFuelLb, std::min(c.expectMin, c.right - 0.01));
        EXPECT_LE(b.data.rightFuelLb, c.expectMax);
        EXPECT_EQ(b.writes > 0, c.stepped);
        if (c.stepped) {
            EXPECT_NE(std::find(b.wave.calls.begin(), b.wave.calls.end(), "fuel.wav loop"),
                      b.wave.calls.end());
            EXPECT_EQ(b.controls.Get("Panel3").color, colors::Green);
        }
        b.ExpectIdle();
        EXPECT_EQ(b.beeps, 0);
    }
}

TEST(FuelPanel, RefuelEndsWhenTheSimulatorTakesNoFuelOrCannotSayHowMuch) {
    {
        SCOPED_TRACE("levels written are not taken");
        FuelBench b;
        b.Start(1000, 1000, "9000");
        b.server.Space().on_write = [&b](std::uint32_t offset, const std::uint8_t*, std::uint32_t) {
            if (offset == 0x0B7C || offset == 0x0B94) {
                ++b.writes;
                b.server.Space().SetU32(offset, CockpitBench::LevelOf(1000));
            }
        };
        b.OpenBothValves();
        b.panel->Image2Click();
        EXPECT_EQ(b.steps, FuelPanel::kStallSteps);
        b.ExpectIdle();
    }
    for (auto [weight, capacity] : {std::pair<std::uint16_t, std::uint32_t>{0, 1000}, {1715, 0}}) {
        SCOPED_TRACE("fuel weight " + std::to_string(weight) + ", capacity " + std::to_string(capacity));
        FuelBench b;
        b.SetServerTanks(weight, capacity, 0, 0);
        ASSERT_TRUE(b.LoadData());
        b.Put(FieldId::Edit29, "9000");
        b.OpenBothValves();
        b.panel->Image2Click();
        EXPECT_EQ(b.writes, 0);
        EXPECT_EQ(b.steps, 0);
        b.ExpectIdle();
    }
    {
        SCOPED_TRACE("failed exchanges: fuchsia and the alert cue, then the loop gives up");
        IpcClient closed; // never opened: every exchange fails
        FuelBench b(&closed);
        b.Start(1000, 1000, "9000");
        b.OpenBothValves();
        b.panel->Image2Click();
        EXPECT_EQ(b.controls.Get("Panel3").color, colors::Fuchsia);
        EXPECT_EQ(std::count(b.wave.calls.begin(), b.wave.calls.end(), "alert.wav once"),
                  FuelPanel::kStallSteps);
        b.ExpectIdle();
    }
}

TEST(FuelPanel, RefuelSwitchNeedsBothValvesAndRestartsAStoppedMonitor) {
    FuelBench b;
    b.Start(1000, 1000, "5000");
    b.panel->Image3Click();
    b.panel->Image2Click(); // right valve still open
    EXPECT_EQ(b.beeps, 1);
    EXPECT_EQ(b.writes, 0);
    b.panel->Image4Click();
    b.monitor->SetEnabled(false);
    b.wave.calls.clear();
    b.panel->Image2Click();
    EXPECT_TRUE(b.monitor->Enabled());
    EXPECT_EQ(b.writes, 0);
    EXPECT_EQ(b.wave.calls.back(), "bkgnd.wav loop");
    EXPECT_EQ(b.Caption(FuelPanel::kLeftValve), "CLSD"); // the valves stay set
}

TEST(FuelPanel, ValvesToggleAfterASecondUnlessTheDefuelValveIsSet) {
    FuelBench b;
    b.Start(3000, 3000, "5000");
    const LocalMs t0 = b.clock.Now();
    b.panel->Image3Click();
    EXPECT_EQ(b.clock.Now() - t0, 50 + 1000); // the switch cue, then the valve
    EXPECT_EQ(b.Caption(FuelPanel::kLeftValve), "CLSD");
    b.panel->Image3Click();
    EXPECT_EQ(b.Caption(FuelPanel::kLeftValve), "");
    // Defuel valve set: a refuel valve click sounds and changes nothing.
    b.duringStep = [&] {
        b.panel->Image4Click();
        b.panel->Image3Click();
        EXPECT_EQ(b.Caption(FuelPanel::kLeftValve), "");
        EXPECT_EQ(b.Caption(FuelPanel::kRightValve), "");
    };
    b.panel->Image5Click();
    EXPECT_GT(b.steps, 0);
}

TEST(FuelPanel, DefuelStopsAtOrBelowTheTargetNeverBelowZero) {
    struct Case {
        const char* name;
        double left, right;
        const char* edit29;
        double targetLb;
    } cases[] = {{"down to 4000", 3000, 3000, "4000", 4000},
                 {"down to nothing", 40, 25, "0", 0},
                 {"a negative total", 30, 30, "-50", 0},
                 {"already below", 1000, 1000, "2500", 2000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FuelBench b;
        b.Start(c.left, c.right, c.edit29);
        b.panel->Image5Click();
        EXPECT_LE(b.FuelOnBoard(), c.targetLb + 0.5);
        EXPECT_GE(b.FuelOnBoard(), std::max(0.0, c.targetLb - 40));
        EXPECT_GE(b.data.leftFuelLb, 0);
        EXPECT_GE(b.data.rightFuelLb, 0);
        b.ExpectIdle();
    }
}

TEST(FuelPanel, DefuelValveClickedAgainEndsTheDefuelling) {
    FuelBench b;
    b.Start(3000, 3000, "1000");
    b.duringStep = [&] {
        EXPECT_FALSE(b.monitor->Enabled());
        if (b.steps == 3) b.panel->Image5Click();
    };
    b.panel->Image5Click();
    EXPECT_EQ(b.steps, 3);
    EXPECT_GT(b.FuelOnBoard(), 5800);
    b.ExpectIdle();
    // With a refuel valve set the defuel valve only sounds.
    b.panel->Image3Click();
    b.steps = 0;
    b.panel->Image5Click();
    EXPECT_EQ(b.steps, 0);
    EXPECT_EQ(b.Caption(FuelPanel::kDefuelValve), "");
}

TEST(FuelPanel, OpeningShowsTheSmallerOfTotalFuelAndCapacity) {
    struct Case {
        const char* edit29;
        const char* edit33;
        bool kilograms;
        const char* shown;
    } cases[] = {{"5200", "12000", false, "5200 lb"},
                 {"14000", "12000", false, "12000 lb"},
                 {"2500", "5443", true, "2500 kg"}};
    for (const Case& c : cases) {
        FuelBench b;
        b.plan.values.WeightsInKg = c.kilograms;
        b.Put(FieldId::Edit29, c.edit29);
        b.Put(FieldId::Edit33, c.edit33);
        b.panel->Button2Click();
        EXPECT_TRUE(b.panel->Shown());
        EXPECT_EQ(b.Caption(FuelPanel::kSelected), c.shown);
        EXPECT_EQ(std::count(b.wave.calls.begin(), b.wave.calls.end(), "switch.wav once"), 2);
        b.panel->Close();
        EXPECT_FALSE(b.panel->Shown());
    }
    FuelBench b;
    b.Put(FieldId::Edit29, "abc");
    EXPECT_THROW(b.panel->Button2Click(), ConvertError);
    EXPECT_FALSE(b.panel->Shown());
}

} // namespace
} // namespace vantrel
