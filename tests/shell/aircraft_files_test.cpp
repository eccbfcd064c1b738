#include "core/convert.h"
#include "fs9_fixture.h"
#include "shell/aircraft_files.h"

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::testing;
using namespace std::string_literals;

TEST(ParseStationWeight, TakesTheWholePoundsBeforeTheDecimalPoint) {
    EXPECT_EQ(ParseStationWeight("0.0"), 0);
    EXPECT_EQ(ParseStationWeight("\"190.0, 42.0, -1.5, 0.0, Pilot\""), 190);
    EXPECT_EQ(ParseStationWeight("190.0, 42.0, -1.5, 0.0, Pilot"), 190);
    // Without a decimal point the whole text counts, so a plain integer is read.
    EXPECT_EQ(ParseStationWeight("\"175\""), 175);
    EXPECT_EQ(ParseStationWeight("175"), 175);
}

TEST(ParseStationWeight, TextThatIsNoNumberRaisesTheConversionError) {
    try {
        ParseStationWeight("\"heavy.0, 42.0\"");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'heavy' is not a valid integer value");
    }
    EXPECT_THROW(ParseStationWeight(""), ConvertError);
    EXPECT_THROW(ParseStationWeight("190, 42.0"), ConvertError);
    EXPECT_THROW(ParseStationWeight(std::string(10000, '9') + ".0"), ConvertError);
    EXPECT_THROW(ParseStationWeight("\x01\xff\0.0"s), ConvertError);
}

using AircraftFiles = Fs9Fixture;

TEST_F(AircraftFiles, FlightsUsingTheAircraftAreListedInNameOrder) {
    // alpha.FLT (upper-case extension) comes first, compared without regard to case; the
    // Cessna, the "ERJ 135", the lower-case "erj145", the unreadable garbage, the folder named
    // folder.flt and the .txt file are left out; renamed.flt is listed under its title.
    EXPECT_EQ(ListSavedFlights(FlightsDir().string()),
              (std::vector<std::string>{"alpha", "Hamburg Amsterdam", "Other Title", "Unknown livery"}));
    EXPECT_TRUE(ListSavedFlights((root_ / "missing").string()).empty());
    EXPECT_TRUE(ListSavedFlights("").empty());
}

TEST_F(AircraftFiles, ReadFlightAircraftTestsForErjAnd145AnywhereCaseSensitive) {
    auto flight = [this](const std::string& aircraft) {
        Put(root_ / "t.flt", "[Main]\nTitle=T\n[Plane.0]\nAircraft=" + aircraft + "\n");
        return ReadFlightAircraft((root_ / "t.flt").string());
    };
    EXPECT_TRUE(flight("ERJ 145LR Vantrel Air").isErj145);
    EXPECT_TRUE(flight("Livery 145 of the ERJ").isErj145);
    EXPECT_FALSE(flight("ERJ 135").isErj145);
    EXPECT_FALSE(flight("erj145").isErj145);
    EXPECT_EQ(flight("ERJ 135").title, "T");
    const FlightAircraft missing = ReadFlightAircraft((root_ / "none.flt").string());
    EXPECT_FALSE(missing.isErj145);
    EXPECT_EQ(missing.title, "");
}

TEST_F(AircraftFiles, PoundPanelAndConfigurationFillThePlan) {
    LoadAircraftFiles(plan_);
    EXPECT_FALSE(plan_.values.WeightsInKg);
    EXPECT_EQ(plan_.values.WeightUnitFactor, 1.0);
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "400");
    EXPECT_EQ(plan_.Text(FieldId::Edit14), "185");
    EXPECT_EQ(plan_.values.LandingFuelAllowance, 300);
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "26000");
    EXPECT_EQ(plan_.Text(FieldId::Edit32), "48501");
    EXPECT_EQ(plan_.values.PilotWeight, 180);
    // The first flight becomes the active one and its livery is looked up.
    EXPECT_EQ(plan_.ItemIndex(FieldId::ComboBox3), 0);
    EXPECT_EQ(plan_.Text(FieldId::ComboBox3), "alpha");
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.1");
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "D-ACLH");
    EXPECT_EQ(plan_.Text(FieldId::Edit53), "HANSALINE");
    EXPECT_EQ(plan_.Text(FieldId::Edit54), "3125");
}

TEST_F(AircraftFiles, KilogramPanelConvertsWithHalfEvenRounding) {
    plan_.paths.PanelIniPath = KgPanelPath().string();
    LoadAircraftFiles(plan_);
    EXPECT_TRUE(plan_.values.WeightsInKg);
    EXPECT_DOUBLE_EQ(plan_.values.WeightUnitFactor, kKilogramFactor);
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "499"); // 1100 / 2.2046226 = 498.95
    EXPECT_EQ(plan_.Text(FieldId::Edit14), "86");  // 190 / 2.2046226 = 86.18
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "11793");
    EXPECT_EQ(plan_.values.LandingFuelAllowance, 250); // never converted
    EXPECT_EQ(plan_.values.PilotWeight, 180);          // pounds
}

TEST_F(AircraftFiles, OnlyFuelusekgOfExactlyOneSelectsKilograms) {
    for (const char* value : {"2", "1.0", "1 ; kg", "yes", "-1"}) {
        Put(PanelPath(), std::string("[preferences]\nfuelusekg=") + value + "\n");
        FlightPlan plan;
        plan.paths = plan_.paths;
        LoadAircraftFiles(plan);
        EXPECT_FALSE(plan.values.WeightsInKg) << value;
        EXPECT_EQ(plan.values.WeightUnitFactor, 1.0) << value;
    }
    Put(PanelPath(), "[PREFERENCES]\nFuelUseKg=0x1\n");
    LoadAircraftFiles(plan_);
    EXPECT_TRUE(plan_.values.WeightsInKg);
}

TEST_F(AircraftFiles, MissingFilesGiveDefaults) {
    plan_.paths.PanelIniPath = (root_ / "nowhere" / "erj.ini").string();
    plan_.paths.AircraftCfgPath = (root_ / "nowhere" / "aircraft.cfg").string();
    plan_.paths.FlightsDir = (root_ / "nowhere").string() + "/";
    plan_.SetText(FieldId::Edit51, "KEEP");
    LoadAircraftFiles(plan_);
    EXPECT_FALSE(plan_.values.WeightsInKg);
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "0");
    EXPECT_EQ(plan_.Text(FieldId::Edit14), "0");
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "0");
    EXPECT_EQ(plan_.Text(FieldId::Edit32), "0");
    EXPECT_EQ(plan_.values.LandingFuelAllowance, 200);
    EXPECT_EQ(plan_.values.PilotWeight, 0);
    EXPECT_TRUE(plan_.Items(FieldId::ComboBox3).empty());
    EXPECT_EQ(plan_.ItemIndex(FieldId::ComboBox3), -1);
    // With no flights no look-up runs at this point.
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "KEEP");
}

TEST_F(AircraftFiles, GarbageConfigurationGivesDefaultsOrTheConversionError) {
    std::string garbage = "\x00\xff[weight_and_balance\nempty_weight=1\n"s;
    garbage += "[weight_and_balance]\nempty_weight=26000.5\nmax_gross_weight=48501 ; lbs\n";
    garbage += std::string(10000, 'Z') + "\n";
    Put(CfgPath(), garbage);
    Put(PanelPath(), "\xfe\xff\x00\n[fms.perf]\ntofuel=abc\ntofuel=500\npaxweight=\n"s);
    LoadAircraftFiles(plan_);
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "0");
    EXPECT_EQ(plan_.Text(FieldId::Edit32), "0");
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "0"); // the first of duplicate keys counts
    EXPECT_EQ(plan_.Text(FieldId::Edit14), "0");
    EXPECT_EQ(plan_.values.PilotWeight, 0);

    Put(CfgPath(), "[weight_and_balance]\nstation_load.0=\"pilot.0, 42.0\"\n");
    try {
        LoadAircraftFiles(plan_);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'pilot' is not a valid integer value");
    }
}

TEST_F(AircraftFiles, LookupFillsTheMatchingLiveryFirstKeyWinning) {
    LoadAircraftFiles(plan_);
    plan_.UserSelect(FieldId::ComboBox3, 1); // Hamburg Amsterdam: hook not connected yet
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.1");
    ConnectActiveFlightLookup(plan_);
    plan_.UserSelect(FieldId::ComboBox3, 1);
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.2");
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "D-AVAN");
    EXPECT_EQ(plan_.Text(FieldId::Edit53), "VANTREL");
    EXPECT_EQ(plan_.Text(FieldId::Edit54), "4711");
}

TEST_F(AircraftFiles, NoMatchBeforeAMissingTitleKeepsTheBoxes) {
    LoadAircraftFiles(plan_);
    // "ERJ 145 Unknown" sits in fltsim.5, behind the gap at fltsim.4: never reached.
    plan_.SetItemIndex(FieldId::ComboBox3, 3);
    ComboBox3Change(plan_);
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "");
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "D-ACLH");
    EXPECT_EQ(plan_.Text(FieldId::Edit53), "HANSALINE");
}

TEST_F(AircraftFiles, FlightNotNamedAfterItsTitleMatchesTheFirstEmptyTitle) {
    LoadAircraftFiles(plan_);
    plan_.SetItemIndex(FieldId::ComboBox3, 2); // "Other Title" lives in renamed.flt
    ComboBox3Change(plan_);
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.4");
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "");
    EXPECT_EQ(plan_.Text(FieldId::Edit53), "");
    EXPECT_EQ(plan_.Text(FieldId::Edit54), "");
}

TEST_F(AircraftFiles, LiveriesFromTenOnAreNeverMatched) {
    std::string cfg;
    for (int n = 0; n <= 10; ++n)
        cfg += "[fltsim." + std::to_string(n) + "]\ntitle=L" + std::to_string(n) + "\natc_id=R" +
               std::to_string(n) + "\n";
    Put(CfgPath(), cfg);
    Put(FlightsDir() / "x.flt", "[Main]\nTitle=x\n[Plane.0]\nAircraft=L9\n");
    plan_.SetItems(FieldId::ComboBox3, {"x"});
    plan_.SetItemIndex(FieldId::ComboBox3, 0);
    ComboBox3Change(plan_);
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.9");
    Put(FlightsDir() / "x.flt", "[Main]\nTitle=x\n[Plane.0]\nAircraft=L10\n");
    ComboBox3Change(plan_);
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "");
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "R9");
}

TEST_F(AircraftFiles, FlightFileNamesStayInsideTheFlightsFolder) {
    const std::string dir = FlightsDir().string() + "/";
    EXPECT_EQ(FlightFilePath(dir, "alpha"), (FlightsDir() / "alpha.FLT").string());
    EXPECT_EQ(FlightFilePath(dir, "Hamburg Amsterdam"), (FlightsDir() / "Hamburg Amsterdam.flt").string());
    EXPECT_EQ(FlightFilePath(dir, "ALPHA"), dir + "ALPHA.flt"); // the title itself is not case-folded
    EXPECT_EQ(FlightFilePath(dir, "../../etc/passwd"), "");
    EXPECT_EQ(FlightFilePath(dir, ".."), "");
    // A crafted title leads nowhere: the look-up then searches for an empty aircraft name.
    Put(root_ / "evil.flt", "[Plane.0]\nAircraft=ERJ 145LR Vantrel Air\n");
    plan_.SetItems(FieldId::ComboBox3, {"../evil"});
    plan_.SetItemIndex(FieldId::ComboBox3, 0);
    ComboBox3Change(plan_);
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.4");
}
