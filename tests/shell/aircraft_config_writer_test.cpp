#include "core/convert.h"
#include "core/profile_file.h"
#include "fs9_fixture.h"
#include "shell/aircraft_config_writer.h"
#include "shell/aircraft_files.h"
#include "shell/settings_file.h"
#include "shell/sim_file_guard.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace vantrel;
using namespace vantrel::testing;
using namespace std::string_literals;

namespace {

class AircraftConfigWriter : public Fs9Fixture {
protected:
    void SetUp() override {
        Fs9Fixture::SetUp();
        LoadAircraftFiles(plan_); // pounds, pilot 180 lb
        plan_.SetItemIndex(FieldId::ComboBox3, 1);
        ComboBox3Change(plan_); // Hamburg Amsterdam, livery fltsim.2
        plan_.SetText(FieldId::Edit13, "50");
        plan_.SetText(FieldId::Edit14, "190");
        plan_.SetText(FieldId::Edit15, "500");
        plan_.SetText(FieldId::Edit17, "26500");
        plan_.SetText(FieldId::Edit32, "48000");
        plan_.SetText(FieldId::Edit51, "D-AVNT");
        plan_.SetText(FieldId::Edit53, "VANTREL AIR");
        plan_.SetText(FieldId::Edit54, "815");
    }

    // Answers the confirmation and records what was asked.
    QuestionFn Answer(bool yes) {
        return [this, yes](const std::string& text, const std::string& caption) {
            asked_.push_back(caption + ": " + text);
            return yes;
        };
    }
    fs::path FlightPath() const { return FlightsDir() / "Hamburg Amsterdam.flt"; }
    std::string PayloadList(const fs::path& flight) const {
        return ProfileFile(flight.string()).ReadString("Payload.0", "PayloadList", "<missing>");
    }
    std::string Cfg(const std::string& section, const std::string& key) const {
        return ProfileFile(CfgPath().string()).ReadString(section, key, "<missing>");
    }
    std::string Panel(const std::string& key) const {
        return ProfileFile(PanelPath().string()).ReadString("fms.perf", key, "<missing>");
    }

    std::vector<std::string> asked_;
};

} // namespace

TEST_F(AircraftConfigWriter, WritesTheConfigurationByteForByteAsExpected) {
    ASSERT_EQ(plan_.Text(FieldId::Edit50), "2"); // 50 passengers need both attendants
    const std::string flightBefore = Slurp(FlightPath());
    ASSERT_TRUE(SaveAircraftConfig(plan_, Answer(true)));
    EXPECT_EQ(asked_, std::vector<std::string>{
                          "Vantrel Suite ERJ145LR: Are you sure you want to store flight data?"});
    EXPECT_EQ(Slurp(CfgPath()), Slurp(FixtureFile("fs9-expected/aircraft.cfg")));

    // The saved flight: only its payload line changes, line endings kept.
    std::string flightExpected = flightBefore;
    const std::string oldList = "PayloadList=170.0, 170.0, 0.0, 0.0, 3000.0, 4500.0, 800.0\r\n";
    flightExpected.replace(flightExpected.find(oldList), oldList.size(),
                           "PayloadList=180.0, 180.0, 140.0, 140.0, 3800.0, 5700.0, 500.0\r\n");
    EXPECT_EQ(Slurp(FlightPath()), flightExpected);
}

TEST_F(AircraftConfigWriter, PanelFileReceivesTheFuelFiguresInPounds) {
    const std::string before = Slurp(PanelPath());
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(Panel("tofuel"), plan_.Text(FieldId::Edit18));
    EXPECT_EQ(Panel("paxweight"), "190");
    EXPECT_EQ(Panel("fuelreservetype"), "1");
    EXPECT_EQ(Panel("fuelreserveweight"),
              IntToStr(StrToInt(plan_.Text(FieldId::Edit21)) + StrToInt(plan_.Text(FieldId::Edit22)) +
                       StrToInt(plan_.Text(FieldId::Edit20))));
    EXPECT_EQ(Panel("fuelreservetime"), "45");
    EXPECT_EQ(Panel("bow"), IntToStr(plan_.values.DryOperatingWeight));
    EXPECT_EQ(Panel("landfuel"), "300");
    // Keys in the order written, after the file's own; its other lines stay.
    EXPECT_EQ(ProfileFile(PanelPath().string()).ReadSectionKeys("fms.perf"),
              (std::vector<std::string>{"tofuel", "landfuel", "paxweight", "fuelreservetype", "cruisealt",
                                        "fuelreserveweight", "fuelreservetime", "bow"}));
    const std::string after = Slurp(PanelPath());
    EXPECT_NE(after.find("[preferences]\r\nfuelusekg=0\r\nunits=imperial\r\n"), std::string::npos);
    EXPECT_NE(after.find("; unchanged by the program\r\ncruisealt=370\r\n"), std::string::npos);
    EXPECT_EQ(after.find("\n\n"), std::string::npos); // no bare line feed added to a CRLF file
    (void)before;
}

TEST_F(AircraftConfigWriter, NoWritesNothingButTheSaveButtonStillSavesSettings) {
    const std::string cfg = Slurp(CfgPath());
    const std::string panel = Slurp(PanelPath());
    const std::string flight = Slurp(FlightPath());
    Button9Click(plan_, Answer(false));
    EXPECT_EQ(asked_.size(), 1u);
    EXPECT_EQ(Slurp(CfgPath()), cfg);
    EXPECT_EQ(Slurp(PanelPath()), panel);
    EXPECT_EQ(Slurp(FlightPath()), flight);
    EXPECT_EQ(ProfileFile(SettingsPath().string()).ReadString("Payload", "Cargo", ""), "500");

    fs::remove(SettingsPath());
    Button9Click(plan_, Answer(true));
    EXPECT_EQ(ProfileFile(SettingsPath().string()).ReadString("Route", "Origin", ""),
              plan_.Text(FieldId::Edit1));
    EXPECT_EQ(Cfg("weight_and_balance", "empty_weight"), "26500");
}

TEST_F(AircraftConfigWriter, AttendantStationsFollowTheFirstCharacterOfTheCount) {
    plan_.values.PaxForTwoAttendants = 60; // 50 passengers: one attendant
    plan_.Edit18Change();
    ASSERT_EQ(plan_.Text(FieldId::Edit50), "1");
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.2"), "140.0,  35.0, -1.0, 0.0, Flight Att Fwd");
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.3"), "0.0, -40.0, 0.0, 0.0, Flight Attendant Aft");
    EXPECT_EQ(PayloadList(FlightPath()), "180.0, 180.0, 140.0, 0.0, 3800.0, 5700.0, 500.0");
}

TEST_F(AircraftConfigWriter, NoAttendantsWriteTheEmptyStationTexts) {
    plan_.SetText(FieldId::Edit13, "0");
    if (plan_.Text(FieldId::Edit50) != "0") GTEST_SKIP() << "the weight chain keeps an attendant aboard";
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.2"), "0.0,  35.0, -1.0, 0.0, Flight Attendant Fwd");
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.3"), "0.0, -40.0, 0.0, 0.0, Flight Attendant Aft");
    EXPECT_EQ(PayloadList(FlightPath()), "180.0, 180.0, 0.0, 0.0, 0.0, 0.0, 500.0");
}

TEST_F(AircraftConfigWriter, PassengerSplitRoundsHalfEven) {
    plan_.SetText(FieldId::Edit13, "55"); // 55 x 190 = 10450
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.4"), "4180.0, 30.0, 0.0, 0.0, Pax Fwd");
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.5"), "6270.0, -20.0, 0.0, 0.0, Pax Aft");
    plan_.SetText(FieldId::Edit13, "1");
    plan_.SetText(FieldId::Edit14, "5");  // 2.0 and 3.0
    plan_.SetText(FieldId::Edit14, "25"); // 10.0 and 15.0
    plan_.SetText(FieldId::Edit14, "15"); // 6.0 and 9.0
    plan_.SetText(FieldId::Edit14, "13"); // 5.2 -> 5, 7.8 -> 8
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(PayloadList(FlightPath()), "180.0, 180.0, 140.0, 0.0, 5.0, 8.0, 500.0");
}

TEST_F(AircraftConfigWriter, KilogramBoxesAreWrittenInPounds) {
    plan_.values.WeightsInKg = true;
    plan_.values.WeightUnitFactor = kKilogramFactor;
    plan_.SetText(FieldId::Edit18, "499");
    plan_.SetText(FieldId::Edit15, "680");
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(Panel("tofuel"), "1100"); // 499 x 2.2046226 = 1100.11
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.6"), "1499.0, 00.0,  0.0, 0.0, Cargo");
}

TEST_F(AircraftConfigWriter, WithoutALiveryMatchTheLiveryKeysAreNotWritten) {
    plan_.SetItemIndex(FieldId::ComboBox3, 3); // Unknown livery: no match
    ComboBox3Change(plan_);
    ASSERT_EQ(plan_.values.CurrentFltsimSection, "");
    const std::string before = Slurp(CfgPath());
    SaveAircraftConfig(plan_, Answer(true));
    const std::string after = Slurp(CfgPath());
    EXPECT_EQ(after.find("D-AVNT"), std::string::npos);
    EXPECT_EQ(after.substr(0, after.find("[weight_and_balance]")),
              before.substr(0, before.find("[weight_and_balance]")));
    EXPECT_EQ(PayloadList(FlightsDir() / "Unknown livery.flt"),
              "180.0, 180.0, 140.0, 140.0, 3800.0, 5700.0, 500.0");
}

TEST_F(AircraftConfigWriter, WithoutASelectedFlightNoFlightFileIsWritten) {
    plan_.SetItemIndex(FieldId::ComboBox3, -1);
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_FALSE(fs::exists(FlightsDir() / ".flt"));
    EXPECT_EQ(Cfg("weight_and_balance", "empty_weight"), "26500");
}

TEST_F(AircraftConfigWriter, FlightWithUpperCaseExtensionIsWrittenInPlace) {
    plan_.SetItemIndex(FieldId::ComboBox3, 0); // alpha.FLT
    ComboBox3Change(plan_);
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(PayloadList(FlightsDir() / "alpha.FLT"), "180.0, 180.0, 140.0, 140.0, 3800.0, 5700.0, 500.0");
    EXPECT_FALSE(fs::exists(FlightsDir() / "alpha.flt"));
}

TEST_F(AircraftConfigWriter, ABoxThatIsNoNumberStopsWithKeysBeforeItWritten) {
    plan_.SetText(FieldId::Edit14, "heavy");
    try {
        SaveAircraftConfig(plan_, Answer(true));
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'heavy' is not a valid integer value");
    }
    EXPECT_EQ(Panel("tofuel"), plan_.Text(FieldId::Edit18)); // before the bad box
    EXPECT_EQ(Panel("paxweight"), "185");                    // unchanged
    EXPECT_EQ(Cfg("weight_and_balance", "empty_weight"), "26000");
}

TEST_F(AircraftConfigWriter, MissingSimulatorFoldersAreReportedAndTheSettingsStillSaved) {
    plan_.paths.AircraftCfgPath = (root_ / "no-sim" / "aircraft.cfg").string();
    plan_.paths.PanelIniPath = (root_ / "no-sim" / "panel" / "erj.ini").string();
    plan_.paths.FlightsDir = (root_ / "no-docs").string() + "/";
    std::vector<std::string> errors;
    plan_.onError = [&errors](const std::string& text) { errors.push_back(text); };
    EXPECT_NO_THROW(Button9Click(plan_, Answer(true)));
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "Unable to write to " + plan_.paths.FlightsDir +
                              "Hamburg Amsterdam.flt: No such file or directory",
                          "Unable to write to " + plan_.paths.AircraftCfgPath + ": No such file or directory",
                          "Unable to write to " + plan_.paths.PanelIniPath + ": No such file or directory"}));
    EXPECT_FALSE(fs::exists(root_ / "no-sim"));
    EXPECT_FALSE(fs::exists(root_ / "no-docs"));
    EXPECT_TRUE(fs::exists(SettingsPath()));
}

TEST_F(AircraftConfigWriter, TypedLineBreaksCannotAddLinesToTheConfiguration) {
    plan_.SetText(FieldId::Edit51, "D-AVNT\r\n[fltsim.0]\r\ntitle=hijacked");
    SaveAircraftConfig(plan_, Answer(true));
    EXPECT_EQ(Cfg("fltsim.0", "title"), "ERJ 145LR Feelthere House");
    EXPECT_EQ(Cfg("fltsim.2", "atc_id"), "D-AVNT  [fltsim.0]  title=hijacked");
    EXPECT_EQ(ProfileFile(CfgPath().string()).ReadSections().size(), 9u);
}

TEST_F(AircraftConfigWriter, ReadOnlyAircraftFolderKeepsItsFilesAndOthersAreStillWritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder";
    const std::string cfg = Slurp(CfgPath());
    fs::permissions(AircraftDir(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NO_THROW(SaveAircraftConfig(plan_, Answer(true)));
    fs::permissions(AircraftDir(), fs::perms::owner_all);
    EXPECT_EQ(Slurp(CfgPath()), cfg);
    EXPECT_EQ(PayloadList(FlightPath()), "180.0, 180.0, 140.0, 140.0, 3800.0, 5700.0, 500.0");
}

TEST_F(AircraftConfigWriter, SaveKeepsEachAddOnFileOnceAsItWasBeforeTheFirstChange) {
    const std::vector<fs::path> files = {CfgPath(), PanelPath(), FlightPath()};
    std::vector<std::string> before;
    for (const auto& f : files)
        before.push_back(Slurp(f));
    for (const char* pax : {"50", "20"}) { // the second Save changes the files again
        plan_.SetText(FieldId::Edit13, pax);
        ASSERT_TRUE(SaveAircraftConfig(plan_, Answer(true)));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].string());
        const fs::path original = files[i].string() + kOriginalSuffix;
        EXPECT_EQ(Slurp(original), before[i]);
        EXPECT_NE(Slurp(files[i]), before[i]);
        int copies = 0;
        for (const auto& e : fs::directory_iterator(files[i].parent_path()))
            copies += e.path().filename().string().find(kOriginalSuffix) != std::string::npos ? 1 : 0;
        EXPECT_EQ(copies, 1); // beside the file, none for the files Save leaves alone
        EXPECT_FALSE(fs::exists(original.string() + kOriginalSuffix));
    }
    EXPECT_EQ(Cfg("weight_and_balance", "station_load.4"),
              "1520.0, 30.0, 0.0, 0.0, Pax Fwd"); // the second Save
}

TEST(SimFolderAdvice, RefusedWritesSayWhatToDoOtherFailuresStayAsTheyAre) {
    struct Case {
        const char* reason;
        bool advised;
    };
    for (const Case& c : {Case{"Permission denied", true}, Case{"Operation not permitted", true},
                          Case{"Read-only file system", true}, Case{"No space left on device", false},
                          Case{"No such file or directory", false}}) {
        SCOPED_TRACE(c.reason);
        const std::string failure = UnableToWrite("C:\\FS9\\Aircraft\\aircraft.cfg", c.reason);
        const std::string shown = WithSimFolderAdvice(failure);
        EXPECT_EQ(shown.rfind(failure, 0), 0u);
        EXPECT_EQ(shown.find("C:\\Program Files (x86)") != std::string::npos, c.advised);
        EXPECT_EQ(shown.find("press Save again") != std::string::npos, c.advised);
    }
}
