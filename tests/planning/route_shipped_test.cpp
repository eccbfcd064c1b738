// The route with the data the program ships: a plausible trip for the type, and no field
// ever showing a number that is not one, for any pair of airports and any wind.
#include "core/convert.h"
#include "core/profile_file.h"
#include "plan_fixture.h"
#include "planning/performance_tables.h"
#include "planning/route.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>
#include <regex>
#include <sstream>
#include <unistd.h>

using namespace vantrel;

namespace {

class ShippedRoute : public ::testing::Test, public vantrel::testing::PlanFixture {
protected:
    void SetUp() override {
        LoadFuelTables(plan.paths.ProgramDir + "fuel/fuelplan.csv", plan.tables);
        LoadAirportDatabase(plan);
    }
    int Minutes(FieldId id) {
        const std::string& t = T(id);
        return StrToInt(t.substr(0, t.find(':'))) * 60 + StrToInt(t.substr(t.find(':') + 1));
    }
};

} // namespace

TEST_F(ShippedRoute, HamburgAmsterdamRotterdamIsAPlausibleTrip) {
    Set(FieldId::Edit1, "EDDH");
    Set(FieldId::Edit2, "EHAM");
    Set(FieldId::Edit3, "EHRD");
    EXPECT_TRUE(errors.empty());
    // About 198 NM great circle, plus 10 % allowance; westbound, RVSM: an even level.
    EXPECT_NEAR(StrToInt(T(FieldId::Edit4)), 225, 5);
    EXPECT_EQ(T(FieldId::Edit7), "280");
    // An ERJ-145 burns roughly 2,000-2,500 lb on a leg of this length, in about 45 minutes.
    EXPECT_GT(StrToInt(T(FieldId::Edit19)), 1800);
    EXPECT_LT(StrToInt(T(FieldId::Edit19)), 2800);
    EXPECT_GT(Minutes(FieldId::Edit11), 35);
    EXPECT_LT(Minutes(FieldId::Edit11), 60);
    // Amsterdam to Rotterdam: a hop of about 30 NM at a low level.
    EXPECT_NEAR(StrToInt(T(FieldId::Edit5)), 28, 4);
    EXPECT_LE(StrToInt(T(FieldId::Edit8)), 50);
    EXPECT_GT(StrToInt(T(FieldId::Edit20)), 300);
    EXPECT_LT(StrToInt(T(FieldId::Edit20)), 1000);
    // Speeds are whole knots from the tables, V1 <= VR <= V2.
    EXPECT_LE(StrToInt(T(FieldId::Edit37)), StrToInt(T(FieldId::Edit38)));
    EXPECT_LE(StrToInt(T(FieldId::Edit38)), StrToInt(T(FieldId::Edit39)));
    EXPECT_GT(StrToInt(T(FieldId::Edit42)), 100);
    EXPECT_EQ(T(FieldId::Edit46), "53");
}

TEST_F(ShippedRoute, NoFieldEverShowsANumberThatIsNotOne) {
    std::vector<std::string> codes;
    {
        std::string text;
        ASSERT_TRUE(ReadWholeFile(plan.paths.ProgramDir + kAirportDatabaseFile, text));
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line))
            codes.push_back(line.substr(0, 4));
    }
    ASSERT_GT(codes.size(), 4500u);
    const std::regex notANumber("inf|nan", std::regex::icase);
    const std::regex negativeZero("(^|[^0-9])-0+([^0-9]|$)");
    const std::regex hhmm("^[0-9]{2,}:[0-5][0-9]$");
    const std::regex whole("^[0-9]+$");
    const std::regex level("^[0-9]{3}$");

    std::mt19937 random(20261208);
    auto pick = [&] {
        return codes[std::uniform_int_distribution<std::size_t>(0, codes.size() - 1)(random)];
    };
    auto wind = [&] { return std::to_string(std::uniform_int_distribution<int>(0, 999)(random)); };
    auto coin = [&] { return std::uniform_int_distribution<int>(0, 1)(random); };
    // Fixed pairs first: the same airport, and nearly opposite sides of the earth.
    const std::vector<std::array<std::string, 3>> fixed = {
        {"EDDH", "EDDH", "EDDH"}, {"LEMD", "NZAA", "LEMD"}, {"SLLP", "EHAM", "LLMZ"}};
    for (int i = 0; i < 600; ++i) {
        if (i == 300) UseKilograms();
        plan.UserSelect(FieldId::ComboBox1, coin());
        plan.UserSelect(FieldId::ComboBox2, coin());
        Set(FieldId::Edit9, wind());
        Set(FieldId::Edit10, wind());
        Set(FieldId::Edit6, coin() ? "" : std::to_string(std::uniform_int_distribution<int>(0, 99)(random)));
        plan.UserSetChecked(FieldId::cbRVSM, coin());
        const auto route = i < static_cast<int>(fixed.size())
                               ? fixed[static_cast<std::size_t>(i)]
                               : std::array<std::string, 3>{pick(), pick(), pick()};
        Set(FieldId::Edit1, route[0]);
        Set(FieldId::Edit2, route[1]);
        Set(FieldId::Edit3, route[2]);
        const std::string where = route[0] + "-" + route[1] + "-" + route[2] + " wind " +
                                  T(FieldId::ComboBox1) + T(FieldId::Edit9) + "/" + T(FieldId::ComboBox2) +
                                  T(FieldId::Edit10);
        ASSERT_TRUE(errors.empty()) << where << ": " << errors.front();
        for (int f = 0; f < kFieldCount; ++f) {
            const std::string& text = plan.Text(static_cast<FieldId>(f));
            ASSERT_FALSE(std::regex_search(text, notANumber))
                << where << " " << FieldName(static_cast<FieldId>(f));
            ASSERT_FALSE(std::regex_search(text, negativeZero))
                << where << " " << FieldName(static_cast<FieldId>(f));
        }
        // A leg that cannot be flown (red distance) keeps the fuel and time it had, here
        // possibly the texts the window starts with.
        if (C(FieldId::Edit4) != colors::Red) {
            ASSERT_TRUE(std::regex_match(T(FieldId::Edit11), hhmm)) << where;
        }
        if (C(FieldId::Edit5) != colors::Red) {
            ASSERT_TRUE(std::regex_match(T(FieldId::Edit12), hhmm)) << where;
        }
        for (FieldId id : {FieldId::Edit4, FieldId::Edit5, FieldId::Edit19, FieldId::Edit20})
            ASSERT_TRUE(std::regex_match(T(id), whole)) << where << " " << T(id);
        for (FieldId id : {FieldId::Edit7, FieldId::Edit8, FieldId::Edit35, FieldId::Edit36}) {
            ASSERT_TRUE(std::regex_match(T(id), level)) << where << " " << T(id);
            ASSERT_LE(StrToInt(T(id)), 370);
        }
    }
}
