// Great circle, levels, the quick estimate and the iterated fuel burn on their own.
#include "core/convert.h"
#include "core/rounding.h"
#include "planning/route_math.h"
#include "route_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vantrel;
using vantrel::testing::RouteFixture;

TEST(GreatCircle, DistanceAndTrackOnSimpleCourses) {
    const auto east = GreatCircle(0, 0, 0, 1);
    EXPECT_NEAR(east.distance, 60.0, 1e-9);
    EXPECT_NEAR(east.track, 90.0, 1e-9);
    const auto north = GreatCircle(0, 0, 1, 0);
    EXPECT_NEAR(north.distance, 60.0, 1e-9);
    EXPECT_NEAR(north.track, 0.0, 1e-6);
    const auto west = GreatCircle(0, 1, 0, 0);
    EXPECT_NEAR(west.track, 270.0, 1e-9);
    // Hamburg to Amsterdam: about 198 NM, westbound.
    const auto hamAms = GreatCircle(53.6304, 9.9882, 52.3086, 4.7639);
    EXPECT_NEAR(hamAms.distance, 204.0, 2.0);
    EXPECT_GT(hamAms.track, 180.0);
}

TEST(GreatCircle, SameHundredthIsTheSamePlace) {
    const auto same = GreatCircle(50.0012, 10.0049, 50.0099, 10.0001);
    EXPECT_EQ(same.distance, 0.0);
    EXPECT_EQ(same.track, 0.0);
    EXPECT_EQ(RecommendedLevel(same.distance, same.track, true), "010");
    EXPECT_EQ(RecommendedLevel(same.distance, same.track, false), "010");
}

TEST(GreatCircle, EndsOfTheCentralAngleStayFinite) {
    // c = -1: antipodes.
    const auto antipodes = GreatCircle(0, 0, 0, 180);
    EXPECT_NEAR(antipodes.distance, 10800.0, 1e-6);
    EXPECT_TRUE(std::isfinite(antipodes.track));
    const auto poles = GreatCircle(90, 0, -90, 0);
    EXPECT_NEAR(poles.distance, 10800.0, 1e-6);
    EXPECT_TRUE(std::isfinite(poles.track));
    // c = +1 without the early-out: two points a hair apart across a hundredth.
    const auto hair = GreatCircle(50.0099999, 10.0, 50.0100001, 10.0);
    EXPECT_TRUE(std::isfinite(hair.distance));
    EXPECT_LT(hair.distance, 0.01);
    EXPECT_TRUE(std::isfinite(hair.track));
    EXPECT_GE(hair.track, 0.0);
    EXPECT_LE(hair.track, 360.0);
}

TEST(RecommendedLevel, DirectionAndRvsm) {
    // 200 NM: 1.3 x 200 = 260.
    EXPECT_EQ(RecommendedLevel(200, 90, true), "270");
    EXPECT_EQ(RecommendedLevel(200, 270, true), "260");
    EXPECT_EQ(RecommendedLevel(200, 90, false), "270");
    EXPECT_EQ(RecommendedLevel(200, 270, false), "260");
    // 300 NM: 390 -> 380, capped to 360.
    EXPECT_EQ(RecommendedLevel(300, 90, true), "370");
    EXPECT_EQ(RecommendedLevel(300, 270, true), "360");
    EXPECT_EQ(RecommendedLevel(300, 90, false), "370");
    EXPECT_EQ(RecommendedLevel(300, 270, false), "350");
    // Without RVSM the upper levels are fitted: 300 -> 280 west, 290 east; 320 -> 310 west.
    EXPECT_EQ(RecommendedLevel(231, 200, false), "280"); // round(300.3) = 300
    EXPECT_EQ(RecommendedLevel(231, 100, false), "290");
    EXPECT_EQ(RecommendedLevel(247, 200, false), "310"); // round(321.1) = 321 -> 320
    EXPECT_EQ(RecommendedLevel(262, 200, false), "350"); // 340
    EXPECT_EQ(RecommendedLevel(262, 100, false), "330"); // 350 east -> 330
    // A track of exactly 180 counts as eastbound.
    EXPECT_EQ(RecommendedLevel(200, 180, true), "270");
}

TEST(QuickEstimate, RulesOfThumb) {
    const auto low = QuickEstimate(100, 300, 0);
    ASSERT_TRUE(low);
    EXPECT_EQ(low->fuel, 3820);
    EXPECT_EQ(low->minutes, 70);
    const auto high = QuickEstimate(245, 500, -50);
    ASSERT_TRUE(high);
    EXPECT_EQ(high->fuel, 4655);
    EXPECT_EQ(high->minutes, 93);
}

TEST(QuickEstimate, NoGroundSpeedCannotBeFlown) {
    EXPECT_FALSE(QuickEstimate(100, 300, -290)); // FL100: 290 kt
    EXPECT_FALSE(QuickEstimate(370, 300, -999));
    EXPECT_TRUE(QuickEstimate(100, 300, -289));
}

class FuelBurnTest : public ::testing::Test {
protected:
    PerformanceTables t;
    void SetUp() override { RouteFixture::FillTables(t); }
};

TEST_F(FuelBurnTest, IteratesUntilTheWeightSettles) {
    // Pass 1 at 44,000 lb: 440 + 220 + 2133 + 309 = 3102; pass 2 at 41,102 lb; pass 3 at 41,082.
    const auto burn = ComputeFuelBurn(t, 100, 38000, 6000, 300, 0, 0, 0);
    ASSERT_TRUE(burn);
    EXPECT_EQ(burn->fuel, 3072);
    EXPECT_EQ(burn->minutes, 63);
    EXPECT_EQ(burn->passes, 3);
}

TEST_F(FuelBurnTest, WeightStayingInOneColumnStopsAfterTheSecondPass) {
    // Ramp weight 43,500 lb and 43,102 lb after the first pass: both column 44.
    const auto burn = ComputeFuelBurn(t, 100, 40000, 3500, 300, 0, 0, 0);
    ASSERT_TRUE(burn);
    EXPECT_EQ(burn->passes, 2);
    EXPECT_EQ(burn->fuel, 3102);
}

TEST_F(FuelBurnTest, BandsFollowElevationsAndAreLimited) {
    // The climb band (which also gives the ground speed) is the level less the departure
    // elevation, rounded up from 100 ft above a thousand, limited to bands 10..37.
    t.CS[0] = 400; // band 10
    t.CS[2] = 100; // band 12
    const auto seaLevel = ComputeFuelBurn(t, 100, 40000, 3100, 300, 0, 0, 0);
    const auto highField = ComputeFuelBurn(t, 100, 40000, 3100, 300, 2000, 0, 0); // band 8 -> 10
    const auto belowSea = ComputeFuelBurn(t, 100, 40000, 3100, 300, -1266, 0, 0); // band 12
    ASSERT_TRUE(seaLevel && highField && belowSea);
    EXPECT_EQ(seaLevel->minutes, highField->minutes);
    EXPECT_EQ(seaLevel->fuel, highField->fuel);
    EXPECT_LT(seaLevel->minutes, belowSea->minutes);
    // Far above the top band the tables' last band is used.
    EXPECT_TRUE(ComputeFuelBurn(t, 999, 40000, 3100, 300, 0, 0, 0));
}

TEST_F(FuelBurnTest, AlternatingColumnIsBoundedAndPlansTheHeavierAnswer) {
    for (auto& row : t.FC) {
        row[3] = 1000; // 43,000 lb: fuel puts the weight into column 44
        row[4] = 300;  // 44,000 lb: fuel puts the weight back into column 43
    }
    const auto burn = ComputeFuelBurn(t, 100, 40000, 4000, 300, 0, 0, 0);
    ASSERT_TRUE(burn);
    EXPECT_EQ(burn->passes, kMaxFuelBurnPasses);
    EXPECT_EQ(burn->fuel, 1000 + 220 + 2133 + 309);
}

TEST_F(FuelBurnTest, LegsThatCannotBeFlown) {
    EXPECT_FALSE(ComputeFuelBurn(t, 100, 40000, 3100, 300, 0, 0, -300)); // ground speed 0
    EXPECT_FALSE(ComputeFuelBurn(t, 100, 40000, 3100, 300, 0, 0, -999));
    EXPECT_TRUE(ComputeFuelBurn(t, 100, 40000, 3100, 300, 0, 0, -299));
    // A leg shorter than climb plus descent against a strong head wind: figures below zero.
    EXPECT_FALSE(ComputeFuelBurn(t, 100, 40000, 3100, 0, 0, 0, -290));
    // Empty tables: no speed at all.
    EXPECT_FALSE(ComputeFuelBurn(PerformanceTables{}, 100, 40000, 3100, 300, 0, 0, 0));
    // Absurd table values give no figures rather than infinities.
    t.CT[0][4] = 1e300;
    EXPECT_FALSE(ComputeFuelBurn(t, 100, 40000, 3100, 300, 0, 0, 0));
    RouteFixture::FillTables(t);
    t.DT[0] = 1e300;
    EXPECT_FALSE(ComputeFuelBurn(t, 100, 40000, 3100, 300, 0, 0, 0));
}

TEST_F(FuelBurnTest, ShortLegStillLowersTheFuel) {
    // Cruise distance below zero with an ordinary wind only lowers the figures.
    const auto burn = ComputeFuelBurn(t, 100, 40000, 3100, 50, 0, 0, 0);
    ASSERT_TRUE(burn);
    // Cruise part round(-36.67 / 300 x 3000) = -367; the weight settles in column 41.
    EXPECT_EQ(burn->fuel, 410 + 220 - 367 + 309);
    EXPECT_EQ(burn->minutes, RoundHalfEven(16 + (50 - 16.0 * 325 / 60) / 300 * 60 + 4));
}

TEST(MinutesToHHMM, PadsHoursAndMinutes) {
    EXPECT_EQ(MinutesToHHMM(0), "00:00");
    EXPECT_EQ(MinutesToHHMM(43), "00:43");
    EXPECT_EQ(MinutesToHHMM(61), "01:01");
    EXPECT_EQ(MinutesToHHMM(6000), "100:00");
}
