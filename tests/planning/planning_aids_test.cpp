#include "plan_fixture.h"

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::testing::PlanFixture;
using F = FieldId;

TEST(PlanningAids, TemperatureAndPressureLabels) {
    PlanFixture f;
    f.plan.UserSetPosition(F::ScrollBar1, -50);
    EXPECT_EQ(f.T(F::Label75), "-50\xC2\xB0"
                               "C/-58\xC2\xB0"
                               "F");
    f.plan.UserSetPosition(F::ScrollBar1, 15);
    EXPECT_EQ(f.T(F::Label75), "15\xC2\xB0"
                               "C/59\xC2\xB0"
                               "F");
    f.plan.UserSetPosition(F::ScrollBar1, 99); // clamped to the bar's range
    EXPECT_EQ(f.plan.Position(F::ScrollBar1), 50);

    f.plan.UserSetPosition(F::ScrollBar2, 1000);
    f.plan.UserSetPosition(F::ScrollBar2, 1013);
    EXPECT_EQ(f.T(F::Label74), "1013/2991");
    EXPECT_EQ(f.T(F::Edit47), f.T(F::Edit46));
    f.plan.UserSetPosition(F::ScrollBar2, 994); // 19 hPa below standard: 500 ft higher
    EXPECT_EQ(f.T(F::Edit47), "681");
}

TEST(PlanningAids, ModeNeedsAnActualWeight) {
    PlanFixture f;
    int alerts = 0;
    f.plan.onAlertCue = [&] { ++alerts; };
    f.plan.Button8Click();
    EXPECT_FALSE(f.plan.values.ActualMode);
    EXPECT_EQ(alerts, 1);
    f.plan.SetText(F::Edit48, "45000");
    f.plan.Button8Click();
    EXPECT_TRUE(f.plan.values.ActualMode);
    EXPECT_EQ(f.T(F::Label95), "Gross weight: ACT (45000)");
}

TEST(PlanningAids, ClearUsedFuelAndAgentBounds) {
    PlanFixture f;
    f.plan.SetText(F::Edit30, "1234");
    f.plan.Button6Click();
    EXPECT_EQ(f.T(F::Edit30), "=====");
    EXPECT_EQ(f.C(F::Edit30), colors::Silver);
    for (int i = 0; i < 200; ++i) {
        f.plan.Button1Click();
        EXPECT_LE(std::stoi(f.T(F::Edit13)), 49);
        EXPECT_LE(std::stoi(f.T(F::Edit15)), 1110);
    }
    f.UseKilograms();
    for (int i = 0; i < 200; ++i) {
        f.plan.Button1Click();
        EXPECT_LE(std::stoi(f.T(F::Edit15)), 511);
    }
}
