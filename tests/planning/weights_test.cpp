#include "plan_fixture.h"

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::testing::PlanFixture;
using F = FieldId;

namespace {

class Weights : public ::testing::Test, public PlanFixture {
protected:
    // The standard load: 50 passengers of 190 lb, 500 lb cargo, BOW 27337, two pilots of 190.
    void StandardLoad() {
        Set(F::Edit14, "190");
        Set(F::Edit15, "500");
        Set(F::Edit17, "27337");
        Set(F::Edit13, "50");
        plan.Edit18Change();
    }
};

} // namespace

TEST_F(Weights, StandardLoadInPounds) {
    StandardLoad();
    EXPECT_EQ(plan.values.DryOperatingWeight, 27997);
    EXPECT_EQ(T(F::Edit16), "10000");
    EXPECT_EQ(T(F::Edit23), "37997");
    EXPECT_EQ(T(F::Edit50), "2");
    // NO ALTN reserve, then taxi 500 + trip 7000 + alternate 1000 + reserve 4666 + extra 500 + 200.
    EXPECT_EQ(T(F::Edit21), "4666");
    EXPECT_EQ(T(F::Edit29), "13866");
    EXPECT_EQ(T(F::Edit24), "51863");
    EXPECT_EQ(T(F::Edit25), "51363");
    EXPECT_EQ(T(F::Edit26), "44363");
    EXPECT_TRUE(errors.empty());
}

TEST_F(Weights, ReservePolicies) {
    StandardLoad();
    const std::pair<int, const char*> pounds[] = {{0, "1750"}, {1, "1516"}, {2, "1166"}, {3, "4666"}};
    for (auto [index, expected] : pounds) {
        plan.UserSelect(F::cb3, index);
        EXPECT_EQ(T(F::Edit21), expected) << "policy " << index;
    }
    UseKilograms();
    const std::pair<int, const char*> kilograms[] = {{0, "794"}, {2, "529"}, {3, "2116"}};
    for (auto [index, expected] : kilograms) {
        plan.UserSelect(F::cb3, index);
        EXPECT_EQ(T(F::Edit21), expected) << "policy " << index;
    }
    // FAA INT in kilograms: round((3175 * 2.2046226 * 0.05 + 1166) / 2.2046226) = 688.
    Set(F::Edit19, "3175");
    plan.UserSelect(F::cb3, 1);
    EXPECT_EQ(T(F::Edit21), "688");
    // No selection keeps the reserve as it is.
    plan.SetItemIndex(F::cb3, 7);
    Set(F::Edit21, "1234");
    EXPECT_EQ(T(F::Edit21), "1234");
}

TEST_F(Weights, AttendantsFollowThePassengerCount) {
    StandardLoad();
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0"}, {"1", "1"}, {"25", "1"}, {"26", "2"}, {"50", "2"}};
    for (auto [pax, attendants] : cases) {
        Set(F::Edit13, pax);
        EXPECT_EQ(T(F::Edit50), attendants) << pax << " passengers";
    }
    // The attendant change ran its own recompute: one attendant of 140 lb less than two.
    Set(F::Edit13, "25");
    EXPECT_EQ(plan.values.DryOperatingWeight, 2 * 190 + 140 + 27337);
}

TEST_F(Weights, ChecksColourTheirFieldsInPounds) {
    StandardLoad();
    Set(F::Edit13, "51");
    EXPECT_EQ(C(F::Edit13), colors::Red);
    Set(F::Edit13, "50");
    EXPECT_EQ(C(F::Edit13), colors::White);

    Set(F::Edit15, "1646"); // 1646 + 50 x 20 = 2646, the bulk limit itself
    EXPECT_EQ(C(F::Edit15), colors::White);
    Set(F::Edit15, "1647");
    EXPECT_EQ(C(F::Edit15), colors::Red);

    Set(F::Edit18, "1000");
    EXPECT_EQ(C(F::Edit18), colors::White);
    Set(F::Edit18, "1001");
    EXPECT_EQ(C(F::Edit18), colors::Yellow);

    for (auto [bow, color] : {std::pair{"19999", colors::Red},
                              {"20000", colors::Cream},
                              {"30000", colors::Cream},
                              {"30001", colors::Red}}) {
        Set(F::Edit17, bow);
        EXPECT_EQ(C(F::Edit17), color) << bow;
    }
}

TEST_F(Weights, ChecksUseConvertedLimitsInKilograms) {
    UseKilograms();
    StandardLoad();
    Set(F::Edit18, "454"); // round(1000 / 2.2046226) = 454
    EXPECT_EQ(C(F::Edit18), colors::White);
    Set(F::Edit18, "455");
    EXPECT_EQ(C(F::Edit18), colors::Yellow);
    Set(F::Edit17, "9072"); // round(20000 / 2.2046226) = 9072
    EXPECT_EQ(C(F::Edit17), colors::Cream);
    Set(F::Edit17, "9071");
    EXPECT_EQ(C(F::Edit17), colors::Red);
    // Bulk: round(cargo x f) + 20 x passengers against 2646 lb; 747 kg = 1647 lb.
    Set(F::Edit15, "746");
    EXPECT_EQ(C(F::Edit15), colors::White);
    Set(F::Edit15, "747");
    EXPECT_EQ(C(F::Edit15), colors::Red);
}

TEST_F(Weights, KilogramChainRoundsEachStep) {
    UseKilograms();
    Set(F::Edit14, "86");    // 189.6 -> 190 lb
    Set(F::Edit15, "227");   // 500.4 -> 500 lb
    Set(F::Edit17, "12400"); // 27337.3 -> 27337 lb
    Set(F::Edit13, "50");
    plan.Edit18Change();
    EXPECT_EQ(plan.values.DryOperatingWeight, 2 * 190 + 2 * 140 + 27337);
    EXPECT_EQ(T(F::Edit16), "4536");  // round(10000 / 2.2046226)
    EXPECT_EQ(T(F::Edit23), "17235"); // round((4536 x f + 27997) / f)
}

TEST_F(Weights, LimitFieldsTurnRedOnlyAboveTheLimit) {
    StandardLoad();
    Set(F::Edit32, T(F::Edit25));
    EXPECT_EQ(C(F::Edit32), colors::Lime);
    Set(F::Edit32, std::to_string(std::stoi(T(F::Edit25)) - 1));
    EXPECT_EQ(C(F::Edit32), colors::Red);
    // Raising the limit again re-checks it at once.
    Set(F::Edit32, "60000");
    EXPECT_EQ(C(F::Edit32), colors::Lime);
    // Every limit pair.
    Set(F::Edit52, "9999");
    EXPECT_EQ(C(F::Edit52), colors::Red);
    Set(F::Edit27, "37997");
    EXPECT_EQ(C(F::Edit27), colors::Lime);
    Set(F::Edit31, "51862");
    EXPECT_EQ(C(F::Edit31), colors::Red);
    Set(F::Edit34, "44363");
    EXPECT_EQ(C(F::Edit34), colors::Lime);
    Set(F::Edit33, "11398"); // total fuel 13866 exceeds the capacity
    EXPECT_EQ(C(F::Edit33), colors::Red);
}

TEST_F(Weights, EmptyInputStopsSilentlyAndKeepsResults) {
    StandardLoad();
    const std::string total = T(F::Edit29), block = T(F::Edit24);
    Set(F::Edit22, "");
    EXPECT_EQ(T(F::Edit29), total);
    EXPECT_EQ(T(F::Edit24), block);
    EXPECT_TRUE(errors.empty());
    Set(F::Edit22, "1500");
    EXPECT_EQ(T(F::Edit29), "14866");
}

TEST_F(Weights, PastedTextStopsWithTheConversionErrorAndKeepsEarlierWrites) {
    StandardLoad();
    plan.UserSelect(F::cb3, 2); // NBAA: reserve 1166
    Set(F::Edit13, "51");       // red passengers, written before the failure below
    const std::string zfw = T(F::Edit23);
    Set(F::Edit17, "12a");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'12a' is not a valid integer value");
    EXPECT_EQ(T(F::Edit17), "12a");
    EXPECT_EQ(C(F::Edit13), colors::Red);
    EXPECT_EQ(T(F::Edit21), "1166");
    EXPECT_EQ(T(F::Edit23), zfw);
    // Mending the text recomputes normally.
    errors.clear();
    Set(F::Edit17, "27337");
    EXPECT_TRUE(errors.empty());
}

TEST_F(Weights, DefaultsAndKindsBeforeAnyCheck) {
    EXPECT_EQ(T(F::Edit1), "EDDV");
    EXPECT_EQ(C(F::Edit14), colors::Cream);
    EXPECT_EQ(C(F::Edit16), colors::Silver);
    EXPECT_EQ(C(F::Edit27), colors::Lime);
    EXPECT_EQ(T(F::Edit48), "=====");
    EXPECT_EQ(T(F::cb3), "NO ALTN");
    EXPECT_EQ(plan.ItemIndex(F::rg2), 1);
    EXPECT_TRUE(plan.Checked(F::cbRVSM));
    EXPECT_EQ(plan.Position(F::ScrollBar2), 1013);
}
