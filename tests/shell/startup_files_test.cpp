#include "fs9_fixture.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "wine_prefix.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

// The start-up sequence against a program folder holding the shipped tables, with the
// questions and the lamp colours recorded.
class StartupFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = FreshTempDir("startup");
        programDir_ = dir_ / "program";
        InstallProgramData(programDir_);
        hooks_.ask = [this](const std::string& text) {
            questions_.push_back(text);
            return answer_;
        };
        hooks_.colorCfgLamp = [this](std::uint32_t color) { lamp_.push_back(color); };
        hooks_.placeMainWindow = [this](int top, int left) { placed_ = {top, left}; };
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    StartupResult Start() { return RunStartupSequence(plan_, programDir_.string() + "/", hooks_); }
    std::string Settings() const { return Slurp(programDir_ / "vn-erj145.ini"); }

    fs::path dir_;
    fs::path programDir_;
    FlightPlan plan_;
    StartupHooks hooks_;
    bool answer_ = true;
    std::vector<std::string> questions_;
    std::vector<std::uint32_t> lamp_;
    std::vector<int> placed_;
    ScopedEnv fsPath_{"VANTREL_FS_PATH", std::nullopt};
    ScopedEnv documents_{"VANTREL_DOCUMENTS", std::nullopt};
    ScopedEnv winePrefix_{"WINEPREFIX", std::nullopt};
    ScopedEnv xdgConfig_{"XDG_CONFIG_HOME", std::nullopt};
};

const char* const kNoFlights = "Cannot find FS2004 installation. Do you really want to continue?";
const char* const kNoAircraft =
    "Cannot find ERJ145LR aircraft configuration file. Do you really want to continue?";
const char* const kNoPanel = "Cannot find ERJ145LR FMS configuration file. Do you really want to continue?";

} // namespace

TEST_F(StartupFiles, SimulatorUnderWineIsFoundWithoutConfiguration) {
    const auto wine = WinePrefixFixture::Create(dir_ / "home" / ".wine");
    ScopedEnv home("HOME", (dir_ / "home").string());
    ASSERT_EQ(Start(), StartupResult::Completed);
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(lamp_, std::vector<std::uint32_t>{colors::Lime});
    const std::string aircraftDir = fs::canonical(wine.simDir).string() + "/Aircraft/Feelthere PIC ERJ145LR/";
    EXPECT_EQ(plan_.paths.AircraftCfgPath, aircraftDir + "aircraft.cfg");
    EXPECT_EQ(plan_.paths.PanelIniPath, aircraftDir + "panel/erj.ini");
    EXPECT_EQ(plan_.paths.FlightsDir, fs::canonical(wine.documentsDir).string() + "/Flight Simulator Files/");
    EXPECT_EQ(plan_.Items(FieldId::ComboBox3).size(), 4u);
    EXPECT_EQ(plan_.Text(FieldId::Edit51), "D-ACLH");
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "400");
    EXPECT_EQ(plan_.values.PilotWeight, 180);
    EXPECT_EQ(placed_, (std::vector<int>{-999, -999}));
    // First start: only the marker is written; the rest waits for a save.
    EXPECT_EQ(Settings(), "[Folder]\nInit=1\n");
}

// A pilot who starts the program from the desktop menu (no WINEPREFIX) with the simulator in a
// prefix other than ~/.wine; the folders saved by an earlier start that are gone now give way.
TEST_F(StartupFiles, TheSimulatorInAnotherPrefixIsFoundAndSavedMissingFoldersGiveWay) {
    struct Case {
        const char* prefix; // below HOME
        bool wow64;
    };
    for (const Case& c : {Case{".local/share/wineprefixes/fs9", true}, Case{".wine-fs9", false}}) {
        SCOPED_TRACE(c.prefix);
        const fs::path home = dir_ / c.prefix;
        ScopedEnv homeVar("HOME", home.string());
        const auto wine = WinePrefixFixture::Create(home / c.prefix, c.wow64);
        const fs::path gone = dir_ / "gone";
        Put(programDir_ / "vn-erj145.ini",
            "[Folder]\r\nInit=1\r\nflights=" + (gone / "Flight Simulator Files").string() +
                "/\r\naircraft=" + (gone / "aircraft.cfg").string() +
                "\r\nerj=" + (gone / "panel" / "erj.ini").string() + "\r\n[Route]\r\nOrigin=LOWW\r\n");
        FlightPlan plan;
        questions_.clear();
        ASSERT_EQ(RunStartupSequence(plan, programDir_.string() + "/", hooks_), StartupResult::Completed);
        EXPECT_TRUE(questions_.empty());
        const std::string aircraftDir =
            fs::canonical(wine.simDir).string() + "/Aircraft/Feelthere PIC ERJ145LR/";
        EXPECT_EQ(plan.paths.AircraftCfgPath, aircraftDir + "aircraft.cfg");
        EXPECT_EQ(plan.paths.PanelIniPath, aircraftDir + "panel/erj.ini");
        EXPECT_EQ(plan.paths.FlightsDir,
                  fs::canonical(wine.documentsDir).string() + "/Flight Simulator Files/");
        EXPECT_EQ(plan.Text(FieldId::Edit1), "LOWW");
    }
}

TEST_F(StartupFiles, EnvironmentFoldersAndStoredSettingsAreUsed) {
    const fs::path fs9 = dir_ / "fs9";
    fs::copy(fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9", fs9, fs::copy_options::recursive);
    ScopedEnv home("HOME", (dir_ / "home").string());
    ScopedEnv fsPath("VANTREL_FS_PATH", (fs9 / "Flight Simulator 9").string());
    ScopedEnv documents("VANTREL_DOCUMENTS", (fs9 / "Documents").string());
    Put(programDir_ / "vn-erj145.ini",
        "[Folder]\r\nInit=1\r\n[FlightData]\r\nAircraft=1\r\n[Window]\r\nTop1=40\r\n"
        "Left1=50\r\n[Route]\r\nOrigin=LOWW\r\n");
    ASSERT_EQ(Start(), StartupResult::Completed);
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(plan_.Text(FieldId::ComboBox3), "Hamburg Amsterdam");
    EXPECT_EQ(plan_.values.CurrentFltsimSection, "fltsim.2");
    EXPECT_EQ(plan_.Text(FieldId::Edit1), "LOWW");
    EXPECT_EQ(placed_, (std::vector<int>{40, 50}));
}

TEST_F(StartupFiles, MissingSimulatorAsksEachQuestionAndGoesOnWithDefaults) {
    ScopedEnv home("HOME", (dir_ / "home").string());
    ASSERT_EQ(Start(), StartupResult::Completed);
    EXPECT_EQ(questions_, (std::vector<std::string>{kNoFlights, kNoAircraft, kNoPanel}));
    EXPECT_EQ(lamp_, (std::vector<std::uint32_t>{colors::Red, colors::Red}));
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "360");
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "27337");
    EXPECT_EQ(plan_.Text(FieldId::Edit1), "EDDH");
}

TEST_F(StartupFiles, AircraftFolderMissingButPanelFilePresentEndsLime) {
    const fs::path fs9 = dir_ / "fs9";
    fs::copy(fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9", fs9, fs::copy_options::recursive);
    ScopedEnv home("HOME", (dir_ / "home").string());
    ScopedEnv documents("VANTREL_DOCUMENTS", (fs9 / "Documents").string());
    const fs::path panel =
        fs9 / "Flight Simulator 9" / "Aircraft" / "Feelthere PIC ERJ145LR" / "panel" / "erj.ini";
    Put(programDir_ / "vn-erj145.ini",
        "[folder]\naircraft=" + (dir_ / "gone" / "aircraft.cfg").string() + "\nerj=" + panel.string() + "\n");
    ASSERT_EQ(Start(), StartupResult::Completed);
    EXPECT_EQ(questions_, std::vector<std::string>{kNoAircraft});
    EXPECT_EQ(lamp_, (std::vector<std::uint32_t>{colors::Red, colors::Lime}));
}

TEST_F(StartupFiles, NoToTheFirstQuestionStopsBeforeAnythingIsLoaded) {
    ScopedEnv home("HOME", (dir_ / "home").string());
    answer_ = false;
    const std::string origin = plan_.Text(FieldId::Edit1);
    EXPECT_EQ(Start(), StartupResult::StoppedByUser);
    EXPECT_EQ(questions_, std::vector<std::string>{kNoFlights});
    EXPECT_EQ(plan_.Text(FieldId::Edit1), origin);
    EXPECT_EQ(Settings(), "[Folder]\nInit=1\n");
}

TEST_F(StartupFiles, BadPilotStationStopsTheRestWithTheConversionError) {
    const fs::path fs9 = dir_ / "fs9";
    fs::copy(fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9", fs9, fs::copy_options::recursive);
    ScopedEnv home("HOME", (dir_ / "home").string());
    ScopedEnv fsPath("VANTREL_FS_PATH", (fs9 / "Flight Simulator 9").string());
    ScopedEnv documents("VANTREL_DOCUMENTS", (fs9 / "Documents").string());
    Put(fs9 / "Flight Simulator 9" / "Aircraft" / "Feelthere PIC ERJ145LR" / "aircraft.cfg",
        "[weight_and_balance]\nstation_load.0=\"x190.0, 42.0\"\n");
    std::vector<std::string> errors;
    plan_.onError = [&](const std::string& e) { errors.push_back(e); };
    EXPECT_EQ(Start(), StartupResult::StoppedByError);
    EXPECT_EQ(errors, std::vector<std::string>{"'x190' is not a valid integer value"});
    EXPECT_TRUE(placed_.empty()); // the settings were not loaded
}
