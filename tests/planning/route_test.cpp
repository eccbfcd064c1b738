// The route recompute on a plan: airport codes and their colours, the reserve policy, the
// origin's elevation, both legs, and legs that cannot be flown.
#include "core/convert.h"
#include "core/rounding.h"
#include "planning/route.h"
#include "route_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantrel;

namespace {

class Route : public ::testing::Test, public vantrel::testing::RouteFixture {};

std::int64_t Position(const std::vector<FieldId>& order, FieldId id) {
    return std::find(order.begin(), order.end(), id) - order.begin();
}

} // namespace

TEST_F(Route, ResolvedCodesTurnLimeAndBothLegsAreComputed) {
    TypeRoute("AAAA", "BBBB", "CCCC");
    EXPECT_TRUE(errors.empty());
    for (FieldId id : {FieldId::Edit1, FieldId::Edit2, FieldId::Edit3})
        EXPECT_EQ(C(id), colors::Lime);
    const auto leg1 = GreatCircle(50, 10, 50, 13);
    EXPECT_EQ(T(FieldId::Edit4), IntToStr(RoundHalfEven(1.1 * leg1.distance))); // route allowance 10 %
    EXPECT_EQ(T(FieldId::Edit36), ZeroPad(RoundHalfEven(leg1.track), 3));
    EXPECT_EQ(T(FieldId::Edit7), RecommendedLevel(RoundHalfEven(1.1 * leg1.distance), leg1.track, true));
    EXPECT_EQ(T(FieldId::Edit11).size(), 5u);
    EXPECT_EQ(T(FieldId::Edit12).size(), 5u);
    EXPECT_EQ(C(FieldId::Edit4), colors::Silver);
    EXPECT_EQ(C(FieldId::Edit5), colors::Silver);
    // The leg fuels went through the weight recompute.
    const std::int64_t total = IntOf(FieldId::Edit18) + IntOf(FieldId::Edit19) + IntOf(FieldId::Edit20) +
                               IntOf(FieldId::Edit21) + IntOf(FieldId::Edit22) + 200;
    EXPECT_EQ(T(FieldId::Edit29), IntToStr(total));
}

TEST_F(Route, LowerCaseAndThreeLetterCodesAreFound) {
    TypeRoute("aaaa", "ABC", "CCCC");
    EXPECT_EQ(C(FieldId::Edit1), colors::Lime);
    EXPECT_EQ(C(FieldId::Edit2), colors::Lime);
    EXPECT_EQ(plan.routeEnds[1].code, "ABC");
    EXPECT_EQ(T(FieldId::Edit1), "aaaa"); // the text stays as typed
}

TEST_F(Route, ShortAndUnknownCodesKeepTheLegs) {
    TypeRoute("AAAA", "BBBB", "CCCC");
    const std::string distance1 = T(FieldId::Edit4), fuel1 = T(FieldId::Edit19), time1 = T(FieldId::Edit11);
    const std::string distance2 = T(FieldId::Edit5), fuel2 = T(FieldId::Edit20);
    Set(FieldId::Edit2, "BB");
    EXPECT_EQ(C(FieldId::Edit2), colors::Red);
    EXPECT_EQ(plan.routeEnds[1].code, "");
    Set(FieldId::Edit2, "ZZZZ");
    EXPECT_EQ(C(FieldId::Edit2), colors::Yellow);
    Set(FieldId::Edit9, "50"); // both legs would be recomputed if their ends were resolved
    EXPECT_EQ(T(FieldId::Edit4), distance1);
    EXPECT_EQ(T(FieldId::Edit19), fuel1);
    EXPECT_EQ(T(FieldId::Edit11), time1);
    EXPECT_EQ(T(FieldId::Edit5), distance2);
    EXPECT_EQ(T(FieldId::Edit20), fuel2);
    EXPECT_TRUE(errors.empty());
}

TEST_F(Route, NumbersThatAreNotNumbersStopTheRecompute) {
    struct Case {
        FieldId edit;
        const char* code;
        const char* error; // null: the line is usable there
    };
    // An elevation is a number only where it is used: at the origin.
    const Case cases[] = {{FieldId::Edit2, "BADC", "'5x.0000' is not a valid floating point value"},
                          {FieldId::Edit1, "BADE", "'inf8' is not a valid integer value"},
                          {FieldId::Edit2, "BADE", nullptr}};
    for (const Case& c : cases) {
        TypeRoute("AAAA", "BBBB", "CCCC");
        errors.clear();
        Set(c.edit, c.code);
        EXPECT_EQ(T(FieldId::Edit46), "181") << c.code; // the origin's elevation stays
        if (!c.error) {
            EXPECT_TRUE(errors.empty()) << c.code;
            EXPECT_EQ(C(c.edit), colors::Lime) << c.code;
            continue;
        }
        ASSERT_EQ(errors.size(), 1u) << c.code;
        EXPECT_EQ(errors[0], c.error);
        // The code cannot be used: it is not shown as found, and the legs keep their values.
        EXPECT_EQ(C(c.edit), colors::Yellow) << c.code;
        EXPECT_EQ(plan.routeEnds[c.edit == FieldId::Edit1 ? 0 : 1].code, "") << c.code;
    }
}

TEST_F(Route, OriginSetsElevationAndPressureAltitudeBeforeTheLegs) {
    Set(FieldId::Edit2, "BBBB");
    std::vector<FieldId> order;
    plan.onFieldChanged = [&](FieldId id) { order.push_back(id); };
    Set(FieldId::Edit1, "CCCC");
    EXPECT_EQ(T(FieldId::Edit46), "400");
    EXPECT_EQ(T(FieldId::Edit47), "400"); // QNH 1013
    EXPECT_LT(Position(order, FieldId::Edit47), Position(order, FieldId::Edit4));
    // The destination leaves them alone.
    plan.SetText(FieldId::Edit46, "999");
    Set(FieldId::Edit2, "CCCC");
    EXPECT_EQ(T(FieldId::Edit46), "999");
}

TEST_F(Route, PressureAltitudeFollowsTheQnh) {
    plan.SetPosition(FieldId::ScrollBar2, 994);
    Set(FieldId::Edit1, "AAAA");
    EXPECT_EQ(T(FieldId::Edit47), "681"); // 19 hPa below standard: 500 ft more
    Set(FieldId::Edit1, "EHAM");
    EXPECT_EQ(T(FieldId::Edit46), "-11");
    EXPECT_EQ(T(FieldId::Edit47), "489");
    Set(FieldId::Edit1, "BBBB");
    EXPECT_EQ(T(FieldId::Edit46), "0");
    Set(FieldId::Edit1, "HIGH");
    EXPECT_EQ(T(FieldId::Edit46), "13355");
    Set(FieldId::Edit1, "DEEP");
    EXPECT_EQ(T(FieldId::Edit46), "-1266");
}

TEST(ElevationForDisplay, DropsUpToThreeLeadingZeros) {
    EXPECT_EQ(ElevationForDisplay("0181"), "181");
    EXPECT_EQ(ElevationForDisplay("0000"), "0");
    EXPECT_EQ(ElevationForDisplay("0005"), "5");
    EXPECT_EQ(ElevationForDisplay("1046"), "1046");
    EXPECT_EQ(ElevationForDisplay("-11"), "-11");
    EXPECT_EQ(ElevationForDisplay(""), "");
}

TEST_F(Route, ReservePolicyFromTheCodes) {
    TypeRoute("KJFK", "KBOS", "CCCC");
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 0); // FAA DOM: both start with K
    Set(FieldId::Edit2, "AAAA");
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 1); // FAA INT
    Set(FieldId::Edit1, "AAZZ");                // unknown, but the policy is chosen first
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 0); // same first two characters
    // An empty code leaves the policy as it is.
    plan.SetItemIndex(FieldId::cb3, 2);
    Set(FieldId::Edit1, "");
    Set(FieldId::Edit2, "KBOS");
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 2);
    // A one-character code compares as itself.
    Set(FieldId::Edit1, "K");
    Set(FieldId::Edit2, "KJFK");
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 0);
    Set(FieldId::Edit1, "E");
    Set(FieldId::Edit2, "EHAM");
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 1);
    // Codes too short to look up do not choose.
    plan.SetItemIndex(FieldId::cb3, 3);
    Set(FieldId::Edit2, "KJ");
    EXPECT_EQ(plan.ItemIndex(FieldId::cb3), 3);
}

TEST_F(Route, RouteAllowanceRoundsTheDistance) {
    plan.airports.LoadText(vantrel::testing::AirportLine("EQ00", 0, 0, "0000") + "\n" +
                           vantrel::testing::AirportLine("EQ06", 0, 6.6733333333, "0000") + "\n");
    TypeRoute("EQ00", "EQ06", "EQ00");
    EXPECT_EQ(T(FieldId::Edit4), "440"); // 400.4 NM + 10 % = 440.44
    const GreatCircleResult withAllowance = LegDistance(plan, plan.routeEnds[0], plan.routeEnds[1]);
    EXPECT_EQ(withAllowance.distance, 440.0);
    Set(FieldId::Edit6, "");
    EXPECT_EQ(T(FieldId::Edit4), "400");
    EXPECT_NEAR(LegDistance(plan, plan.routeEnds[0], plan.routeEnds[1]).distance, 400.4, 0.01);
    Set(FieldId::Edit6, "x");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'x' is not a valid integer value");
}

TEST_F(Route, SameAirportIsALegOfZero) {
    TypeRoute("AAAA", "NEAR", "AAAA");
    EXPECT_EQ(T(FieldId::Edit4), "0");
    EXPECT_EQ(T(FieldId::Edit36), "000");
    EXPECT_EQ(T(FieldId::Edit7), "010");
    EXPECT_EQ(C(FieldId::Edit4), colors::Silver);
}

TEST_F(Route, WindComponentsAndSigns) {
    TypeRoute("AAAA", "BBBB", "CCCC");
    EXPECT_EQ(LegWind(plan, 1), 0);
    Set(FieldId::Edit9, "30");
    EXPECT_EQ(LegWind(plan, 1), 30);
    plan.UserSelect(FieldId::ComboBox1, 1);
    EXPECT_EQ(LegWind(plan, 1), -30);
    Set(FieldId::Edit9, "");
    EXPECT_EQ(LegWind(plan, 1), 0);
    Set(FieldId::Edit10, "15");
    plan.UserSelect(FieldId::ComboBox2, 1);
    EXPECT_EQ(LegWind(plan, 2), -15);
    const auto quick = QuickLegEstimate(plan, 100, 2, 300);
    EXPECT_EQ(quick.wind, -15);
    EXPECT_EQ(quick.estimate->fuel, QuickEstimate(100, 300, -15)->fuel);
}

TEST_F(Route, HeadWindAsFastAsTheAircraftLeavesTheLegRedAndItsFuel) {
    TypeRoute("AAAA", "BBBB", "CCCC");
    const std::string fuel = T(FieldId::Edit19), time = T(FieldId::Edit11), total = T(FieldId::Edit29);
    plan.UserSelect(FieldId::ComboBox1, 1);
    Set(FieldId::Edit9, "999");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(C(FieldId::Edit4), colors::Red);
    EXPECT_EQ(T(FieldId::Edit19), fuel);
    EXPECT_EQ(T(FieldId::Edit11), time);
    EXPECT_EQ(T(FieldId::Edit29), total);
    // Quick estimate possible (400 kt at FL170) but not the tables' 300 kt: the fuel of the
    // estimate is taken back.
    Set(FieldId::Edit9, "350");
    EXPECT_EQ(C(FieldId::Edit4), colors::Red);
    EXPECT_EQ(T(FieldId::Edit19), fuel);
    EXPECT_EQ(T(FieldId::Edit11), time);
    EXPECT_EQ(T(FieldId::Edit29), total);
    // Flyable again.
    Set(FieldId::Edit9, "20");
    EXPECT_EQ(C(FieldId::Edit4), colors::Silver);
    EXPECT_NE(T(FieldId::Edit19), fuel);
    // The alternate leg on its own.
    plan.UserSelect(FieldId::ComboBox2, 1);
    Set(FieldId::Edit10, "999");
    EXPECT_EQ(C(FieldId::Edit5), colors::Red);
    EXPECT_EQ(C(FieldId::Edit4), colors::Silver);
}

TEST_F(Route, KilogramModePassesRoundedPoundsToTheFuelBurn) {
    UseKilograms();
    TypeRoute("AAAA", "BBBB", "CCCC");
    // Record the total fuel standing when each trip fuel is written.
    std::vector<std::string> totalAtTripWrite;
    plan.onFieldChanged = [&](FieldId id) {
        if (id == FieldId::Edit19) totalAtTripWrite.push_back(T(FieldId::Edit29));
    };
    Set(FieldId::Edit9, "20");
    ASSERT_EQ(totalAtTripWrite.size(), 2u); // the quick estimate, then the fuel burn
    const double f = kKilogramFactor;
    const double distance = LegDistance(plan, plan.routeEnds[0], plan.routeEnds[1]).distance;
    const auto burn = ComputeFuelBurn(
        plan.tables, IntOf(FieldId::Edit7), RoundHalfEven(IntOf(FieldId::Edit23) * f),
        RoundHalfEven(StrToInt(totalAtTripWrite[1]) * f), distance, IntOf(FieldId::Edit46), 0, 20);
    ASSERT_TRUE(burn);
    EXPECT_EQ(T(FieldId::Edit19), IntToStr(RoundHalfEven(burn->fuel / f)));
    EXPECT_EQ(T(FieldId::Edit11), MinutesToHHMM(burn->minutes));
}

TEST_F(Route, SendersOtherThanCodesRecomputeBothLegs) {
    TypeRoute("AAAA", "BBBB", "CCCC");
    const std::string d1 = T(FieldId::Edit4), d2 = T(FieldId::Edit5);
    Set(FieldId::Edit6, "50");
    EXPECT_NE(T(FieldId::Edit4), d1);
    EXPECT_NE(T(FieldId::Edit5), d2);
    const std::string level = T(FieldId::Edit7);
    plan.UserSetChecked(FieldId::cbRVSM, false);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(T(FieldId::Edit7),
              RecommendedLevel(StrToInt(T(FieldId::Edit4)), StrToInt(T(FieldId::Edit36)), false));
}
