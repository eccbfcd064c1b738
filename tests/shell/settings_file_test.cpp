#include "core/convert.h"
#include "fs9_fixture.h"
#include "shell/aircraft_files.h"
#include "shell/settings_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace vantrel;
using namespace vantrel::testing;
using namespace std::string_literals;

namespace {

class SettingsFile : public Fs9Fixture {
protected:
    // A plan whose aircraft files are missing: pound mode and "0" in the four boxes the
    // settings file fills only then, as on a machine without the aircraft.
    void UseMissingAircraftFiles(FlightPlan& plan) {
        plan.paths.AircraftCfgPath = (root_ / "nowhere" / "aircraft.cfg").string();
        plan.paths.PanelIniPath = (root_ / "nowhere" / "erj.ini").string();
        LoadAircraftFiles(plan);
    }
    std::string Stored(const std::string& section, const std::string& key) {
        return ProfileFile(SettingsPath().string()).ReadString(section, key, "<missing>");
    }
};

// Every key of the layout with a value other than its default.
std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>
NonDefaultSettings(const std::string& flightsDir, const std::string& nowhere) {
    return {
        {"Folder", {{"Init", "1"}, {"ERJ145LR", "My ERJ Folder"}}},
        {"folder",
         {{"flights", flightsDir},
          {"aircraft", nowhere + "/aircraft.cfg"},
          {"erj", nowhere + "/erj.ini"},
          {"fsreg", "SOFTWARE\\Other\\FS"},
          {"pathinfo", "Custom Path"}}},
        {"FlightData", {{"Aircraft", "2"}}},
        {"Flight Attendants", {{"Passenger for two", "30"}}},
        {"Route",
         {{"Origin", "LOWW"},
          {"Dest", "LSZH"},
          {"Altn", "LSGG"},
          {"Addtnl", "7"},
          {"RVSM", "1"},
          {"Reserves", "2"}}},
        {"Winds", {{"WCDest", "-15"}, {"WCAltn", "20"}, {"Dest", "1"}, {"Altn", "1"}}},
        {"Payload", {{"Pax", "42"}, {"Cargo", "1234"}}},
        {"Standards", {{"Pax", "175"}, {"BOW", "27000"}}},
        {"Fuel", {{"Taxi", "333"}, {"Extra", "777"}, {"Reserves", "9999"}}},
        {"Max.Weights",
         {{"Bulk", "2500"},
          {"ZFW", "39000"},
          {"Block", "48000"},
          {"TOW", "48100"},
          {"LW", "42000"},
          {"Fuel", "11000"},
          {"Payload", "12000"}}},
        {"Speeds", {{"OAT", "-7"}, {"QNH", "998"}}},
        {"Window",
         {{"Top1", "10"},
          {"Left1", "20"},
          {"Top4", "30"},
          {"Left4", "40"},
          {"Top5", "50"},
          {"Left5", "60"},
          {"Top7", "70"},
          {"Left7", "80"}}},
        {"Flaps", {{"Flaps", "1"}}},
        {"Alert", {{"Altitude", "12000"}}},
        {"Sound", {{"Sound", "0"}}},
    };
}

std::string IniText(const decltype(NonDefaultSettings("", ""))& layout) {
    std::string text;
    for (const auto& [section, keys] : layout) {
        text += "[" + section + "]\r\n";
        for (const auto& [key, value] : keys)
            text += key + "=" + value + "\r\n";
    }
    return text;
}

void ExpectSamePlan(const FlightPlan& a, const FlightPlan& b) {
    for (int i = 0; i < kFieldCount; ++i) {
        const auto id = static_cast<FieldId>(i);
        EXPECT_EQ(a.Text(id), b.Text(id)) << FieldName(id);
        EXPECT_EQ(a.ItemIndex(id), b.ItemIndex(id)) << FieldName(id);
        EXPECT_EQ(a.Color(id), b.Color(id)) << FieldName(id);
    }
    EXPECT_EQ(a.values.PaxForTwoAttendants, b.values.PaxForTwoAttendants);
    EXPECT_EQ(a.values.BulkLimit, b.values.BulkLimit);
    EXPECT_EQ(a.values.AlertAltitude, b.values.AlertAltitude);
    EXPECT_EQ(a.values.SoundOn, b.values.SoundOn);
    EXPECT_EQ(a.values.CurrentFltsimSection, b.values.CurrentFltsimSection);
    const WindowPositions& wa = a.values.windowPositions;
    const WindowPositions& wb = b.values.windowPositions;
    EXPECT_EQ(std::vector<int>({wa.Top1, wa.Left1, wa.Top4, wa.Left4, wa.Top5, wa.Left5, wa.Top7, wa.Left7}),
              std::vector<int>({wb.Top1, wb.Left1, wb.Top4, wb.Left4, wb.Top5, wb.Left5, wb.Top7, wb.Left7}));
}

} // namespace

TEST_F(SettingsFile, NoFileGivesTheDefaults) {
    int cues = 0;
    std::vector<bool> switched;
    plan_.onSwitchCue = [&] { ++cues; };
    plan_.onSoundSwitched = [&](bool on) { switched.push_back(on); };
    UseMissingAircraftFiles(plan_);
    LoadSettings(plan_);
    EXPECT_EQ(plan_.Text(FieldId::Edit1), "EDDH");
    EXPECT_EQ(plan_.Text(FieldId::Edit2), "EHAM");
    EXPECT_EQ(plan_.Text(FieldId::Edit3), "EHRD");
    EXPECT_EQ(plan_.Text(FieldId::Edit13), "50");
    EXPECT_EQ(plan_.Text(FieldId::Edit15), "1500");
    EXPECT_EQ(plan_.Text(FieldId::Edit22), "500");
    EXPECT_EQ(plan_.Text(FieldId::Edit14), "190");
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "27337");
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "360");
    EXPECT_EQ(plan_.Text(FieldId::Edit32), "48501");
    EXPECT_EQ(plan_.Text(FieldId::Edit27), "39462");
    EXPECT_EQ(plan_.Text(FieldId::Edit31), "48721");
    EXPECT_EQ(plan_.Text(FieldId::Edit34), "42549");
    EXPECT_EQ(plan_.Text(FieldId::Edit33), "11398");
    EXPECT_EQ(plan_.Text(FieldId::Edit52), "12755");
    EXPECT_EQ(plan_.Position(FieldId::ScrollBar1), 15);
    EXPECT_EQ(plan_.Position(FieldId::ScrollBar2), 1013);
    EXPECT_EQ(plan_.values.AlertAltitude, 5000);
    EXPECT_EQ(plan_.Text(FieldId::Panel6), "5000");
    EXPECT_EQ(plan_.values.BulkLimit, 2646);
    EXPECT_EQ(plan_.values.PaxForTwoAttendants, 26);
    EXPECT_EQ(plan_.ItemIndex(FieldId::cb3), 0);
    EXPECT_EQ(plan_.ItemIndex(FieldId::rg2), 0);
    EXPECT_FALSE(plan_.Checked(FieldId::cbRVSM));
    EXPECT_EQ(plan_.values.windowPositions.Top1, -999);
    EXPECT_EQ(plan_.values.windowPositions.Left7, -999);
    // Sound on: the switch ran once, turning the inverted flag back on.
    EXPECT_TRUE(plan_.values.SoundOn);
    EXPECT_GE(cues, 1);
    EXPECT_EQ(switched, std::vector<bool>{true});
    EXPECT_FALSE(fs::exists(SettingsPath())); // loading writes nothing
}

TEST_F(SettingsFile, AircraftFileValuesWinUnlessTheyAreZero) {
    Put(SettingsPath(), "[Standards]\nPax=999\nBOW=999\n[Fuel]\nTaxi=999\n[Max.Weights]\nTOW=999\n");
    LoadAircraftFiles(plan_); // 185, 26000, 400, 48501 from the fixture
    LoadSettings(plan_);
    EXPECT_EQ(plan_.Text(FieldId::Edit14), "185");
    EXPECT_EQ(plan_.Text(FieldId::Edit17), "26000");
    EXPECT_EQ(plan_.Text(FieldId::Edit18), "400");
    EXPECT_EQ(plan_.Text(FieldId::Edit32), "48501");
}

TEST_F(SettingsFile, SavingAndLoadingInPoundsLeavesEveryValueUnchanged) {
    const fs::path nowhere = root_ / "nowhere";
    const auto layout = NonDefaultSettings(FlightsDir().string() + "/", nowhere.string());
    Put(SettingsPath(), IniText(layout));

    auto start = [&](FlightPlan& plan, const fs::path& programDir) {
        plan.paths.ProgramDir = programDir.string() + "/";
        ReadFirstStartAndAircraftFolder(plan);
        ReadPathSettings(plan);
        LoadAircraftFiles(plan);
        LoadSettings(plan);
    };
    FlightPlan first;
    start(first, programDir_);
    EXPECT_EQ(first.Text(FieldId::ComboBox3), "Other Title");
    EXPECT_EQ(first.Text(FieldId::Edit15), "1234");
    EXPECT_FALSE(first.values.SoundOn);
    EXPECT_EQ(first.values.windowPositions.Left5, 60);

    const fs::path second = root_ / "second";
    InstallProgramData(second);
    first.paths.ProgramDir = second.string() + "/";
    SaveSettings(first);
    const ProfileFile saved((second / "vn-erj145.ini").string());
    for (const auto& [section, keys] : layout)
        for (const auto& [key, value] : keys) {
            // Init is the start-up's marker, pathinfo is saved as fspath, Reserves is never read.
            if (key == "Init" || key == "pathinfo" || (section == "Fuel" && key == "Reserves")) continue;
            EXPECT_EQ(saved.ReadString(section, key, "<missing>"), value) << section << " " << key;
        }
    // The path value name is written under "fspath"; pathinfo is not written back.
    EXPECT_EQ(saved.ReadString("folder", "fspath", ""), "Custom Path");
    EXPECT_EQ(saved.ReadString("folder", "pathinfo", "<missing>"), "<missing>");
    // Reserves are stored from Edit21 but never read back.
    EXPECT_EQ(saved.ReadString("Fuel", "Reserves", ""), first.Text(FieldId::Edit21));

    FlightPlan again;
    start(again, second);
    ExpectSamePlan(first, again);
}

TEST_F(SettingsFile, KilogramModeConvertsStoredPoundsBothWays) {
    Put(SettingsPath(), "[Payload]\nCargo=1500\n[Max.Weights]\nBulk=2646\nZFW=39462\n");
    plan_.paths.PanelIniPath = KgPanelPath().string();
    LoadAircraftFiles(plan_);
    LoadSettings(plan_);
    EXPECT_EQ(plan_.Text(FieldId::Edit15), "680");   // 1500 / 2.2046226 = 680.39
    EXPECT_EQ(plan_.Text(FieldId::Edit27), "17900"); // 39462 / 2.2046226 = 17899.7
    EXPECT_EQ(plan_.values.BulkLimit, 2646);         // never converted
    SaveSettings(plan_);
    EXPECT_EQ(Stored("Payload", "Cargo"), "1499"); // 680 * 2.2046226 = 1499.14
    EXPECT_EQ(Stored("Max.Weights", "Bulk"), "2646");
    EXPECT_EQ(Stored("Max.Weights", "ZFW"), "39463"); // 17900 * 2.2046226 = 39462.75
}

TEST_F(SettingsFile, SaveWritesEveryKeyInItsOrder) {
    UseMissingAircraftFiles(plan_);
    LoadSettings(plan_);
    SaveSettings(plan_);
    const ProfileFile saved(SettingsPath().string());
    EXPECT_EQ(saved.ReadSections(),
              (std::vector<std::string>{"FlightData", "folder", "Flight Attendants", "Alert", "Speeds",
                                        "Window", "Route", "Winds", "Flaps", "Payload", "Standards", "Fuel",
                                        "Max.Weights", "Sound"}));
    EXPECT_EQ(saved.ReadSectionKeys("Window"),
              (std::vector<std::string>{"Left4", "Top4", "Left7", "Top7", "Left1", "Top1", "Left5", "Top5"}));
    EXPECT_EQ(saved.ReadSectionKeys("Route"),
              (std::vector<std::string>{"Reserves", "Origin", "Dest", "Altn", "Addtnl", "RVSM"}));
    EXPECT_EQ(saved.ReadSectionKeys("Winds"), (std::vector<std::string>{"WCDest", "WCAltn", "Dest", "Altn"}));
    EXPECT_EQ(saved.ReadSectionKeys("folder"),
              (std::vector<std::string>{"ERJ145LR", "flights", "erj", "aircraft", "fsreg", "fspath"}));
    EXPECT_EQ(saved.ReadSectionKeys("Max.Weights"),
              (std::vector<std::string>{"Bulk", "ZFW", "Block", "TOW", "LW", "Fuel", "Payload"}));
    EXPECT_EQ(Stored("FlightData", "Aircraft"), "0");
    EXPECT_EQ(Stored("Window", "Top5"), "-999");
    EXPECT_EQ(Stored("Sound", "Sound"), "1");
    EXPECT_EQ(Stored("Route", "RVSM"), "0");
    EXPECT_EQ(Stored("folder", "fsreg"), "SOFTWARE\\MICROSOFT\\MICROSOFT GAMES\\FLIGHT SIMULATOR\\9.0");
    EXPECT_EQ(Stored("folder", "fspath"), "EXE Path");
}

TEST_F(SettingsFile, WindowPositionsAreStoredAsTheWindowsLeaveThem) {
    UseMissingAircraftFiles(plan_);
    LoadSettings(plan_);
    plan_.values.windowPositions.Top4 = 120;
    plan_.values.windowPositions.Left4 = -5;
    SaveSettings(plan_);
    EXPECT_EQ(Stored("Window", "Top4"), "120");
    EXPECT_EQ(Stored("Window", "Left4"), "-5");
    FlightPlan again;
    again.paths = plan_.paths;
    LoadSettings(again);
    EXPECT_EQ(again.values.windowPositions.Top4, 120);
    EXPECT_EQ(again.values.windowPositions.Left4, -5);
}

TEST_F(SettingsFile, AWeightBoxThatIsNoNumberStopsTheSaveThere) {
    Put(SettingsPath(), "[Payload]\nPax=1\n");
    UseMissingAircraftFiles(plan_);
    LoadSettings(plan_);
    plan_.SetText(FieldId::Edit13, "44");
    plan_.SetText(FieldId::Edit15, "");
    try {
        SaveSettings(plan_);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(Stored("Payload", "Pax"), "44");          // written before the cargo
    EXPECT_EQ(Stored("Standards", "Pax"), "<missing>"); // after it: not written
    EXPECT_EQ(Stored("folder", "flights"), "<missing>");
}

TEST_F(SettingsFile, GarbageGivesDefaultsAndUntouchedLinesSurviveTheSave) {
    const std::string longLine = std::string(10000, 'Q');
    const std::string garbage = "[Route\r\nOrigin=XXXX\r\n\x00\xff\xfe binary\r\n[Route]\r\nOrigin=LOWW\r\n"
                                "Origin=EDDF\r\n"s +
                                longLine +
                                "\r\n[Payload]\r\nCargo=12a\r\n[Speeds]\r\nOAT=0x0A\r\n"
                                "QNH=99999999999\r\n[Winds]\r\nDest=7\r\n[Flaps]\r\nFlaps=-3\r\n";
    Put(SettingsPath(), garbage);
    UseMissingAircraftFiles(plan_);
    LoadSettings(plan_);
    EXPECT_EQ(plan_.Text(FieldId::Edit1), "LOWW"); // the first of duplicate keys
    EXPECT_EQ(plan_.Text(FieldId::Edit15), "1500");
    EXPECT_EQ(plan_.Position(FieldId::ScrollBar1), 10);
    EXPECT_EQ(plan_.Position(FieldId::ScrollBar2), 1013);
    EXPECT_EQ(plan_.ItemIndex(FieldId::ComboBox1), -1); // outside the list: no selection
    EXPECT_EQ(plan_.ItemIndex(FieldId::rg2), -1);

    SaveSettings(plan_);
    const std::string after = Slurp(SettingsPath());
    for (const std::string& kept : {"[Route\r\nOrigin=XXXX\r\n\x00\xff\xfe binary\r\n[Route]\r\n"s,
                                    "\r\nOrigin=EDDF\r\n" + longLine + "\r\n"s})
        EXPECT_NE(after.find(kept), std::string::npos) << ::testing::PrintToString(after.substr(0, 120));
    EXPECT_EQ(Stored("Payload", "Cargo"), "1500");
    EXPECT_EQ(Stored("Winds", "Dest"), "-1");
}

TEST_F(SettingsFile, UnwritableSettingsFileIsShownOnceAndNeverStopsTheSave) {
    UseMissingAircraftFiles(plan_);
    LoadSettings(plan_);
    std::vector<std::string> errors;
    plan_.onError = [&errors](const std::string& text) { errors.push_back(text); };
    plan_.paths.ProgramDir = (root_ / "missing" / "folder").string() + "/";
    EXPECT_NO_THROW(SaveSettings(plan_));
    EXPECT_FALSE(fs::exists(root_ / "missing"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              "Unable to write to " + plan_.paths.ProgramDir + "vn-erj145.ini: No such file or directory");
}

TEST_F(SettingsFile, AnUnusableFileIsKeptAsBadAndAGoodOneSavedInstead) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        std::string reason;
    } cases[] = {
        {"oversized",
         [](const fs::path& p) {
             Put(p, "[Route]\r\nOrigin=LOWW\r\n" + std::string(kSettingsFileLimit, ';'));
         },
         "it is 1048598 bytes long, more than the 1048576 a settings file may have"},
        {"a folder", [](const fs::path& p) { fs::create_directories(p / "inside"); }, "it is not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FlightPlan plan;
        plan.paths = plan_.paths;
        std::vector<std::string> errors;
        plan.onError = [&errors](const std::string& text) { errors.push_back(text); };
        fs::remove_all(SettingsPath());
        fs::remove_all(SettingsPath().string() + ".bad");
        Put(SettingsPath().string() + ".bad", "an older damaged file");
        c.make(SettingsPath());
        SetAsideUnusableSettings(plan);
        const std::string path = SettingsPath().string();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0],
                  "The settings file " + path + " cannot be used: " + c.reason + ". It was kept as " + path +
                      ".bad; the program starts with default settings and saves new ones at Exit.");
        EXPECT_FALSE(fs::exists(SettingsPath()));
        EXPECT_NE(Slurp(path + ".bad"), "an older damaged file");
        UseMissingAircraftFiles(plan);
        LoadSettings(plan);
        EXPECT_EQ(plan.Text(FieldId::Edit1), "EDDH");
        SaveSettings(plan);
        EXPECT_EQ(Stored("Route", "Origin"), "EDDH");
        // The next start finds a good file and says nothing.
        SetAsideUnusableSettings(plan);
        EXPECT_EQ(errors.size(), 1u);
    }
}

TEST_F(SettingsFile, StoredTextsAreCutToTheirBoxesLength) {
    const std::string huge(1'000'000, '7');
    struct Case {
        const char* section;
        const char* key;
        FieldId box;
        std::size_t length;
    } cases[] = {{"Route", "Origin", FieldId::Edit1, 4}, {"Route", "Dest", FieldId::Edit2, 4},
                 {"Route", "Altn", FieldId::Edit3, 4},   {"Winds", "WCDest", FieldId::Edit9, 3},
                 {"Route", "Addtnl", FieldId::Edit6, 2}, {"Winds", "WCAltn", FieldId::Edit10, 3},
                 {"Payload", "Pax", FieldId::Edit13, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Put(SettingsPath(), "["s + c.section + "]\r\n" + c.key + "=" + huge + "\r\n");
        FlightPlan plan;
        plan.paths = plan_.paths;
        plan.onError = [](const std::string&) {};
        UseMissingAircraftFiles(plan);
        LoadSettings(plan);
        EXPECT_EQ(plan.Text(c.box), huge.substr(0, c.length));
        EXPECT_EQ(static_cast<std::size_t>(MaxTextLength(c.box)), c.length);
    }
}

TEST_F(SettingsFile, FirstStartMarkerAndAircraftFolderName) {
    ReadFirstStartAndAircraftFolder(plan_);
    EXPECT_EQ(Stored("Folder", "Init"), "1");
    EXPECT_EQ(plan_.paths.AircraftFolderName, "Feelthere PIC ERJ145LR");
    Put(SettingsPath(), "[folder]\r\nInit=1\r\nERJ145LR=PIC ERJ145 Custom\r\n");
    ReadFirstStartAndAircraftFolder(plan_);
    EXPECT_EQ(plan_.paths.AircraftFolderName, "PIC ERJ145 Custom");
    EXPECT_EQ(Slurp(SettingsPath()), "[folder]\r\nInit=1\r\nERJ145LR=PIC ERJ145 Custom\r\n");
}

TEST_F(SettingsFile, PathsDefaultToTheLocatedFoldersMatchedWithoutRegardToCase) {
    plan_.paths.DocumentsDir = DocumentsDir().string() + "/";
    plan_.paths.SimAircraftDir = (SimDir() / "aircraft").string(); // the folder is "Aircraft"
    ReadFirstStartAndAircraftFolder(plan_);
    ReadPathSettings(plan_);
    EXPECT_EQ(plan_.paths.FlightsDir, FlightsDir().string() + "/");
    EXPECT_EQ(plan_.paths.AircraftCfgPath, CfgPath().string());
    EXPECT_EQ(plan_.paths.PanelIniPath, PanelPath().string());

    // Stored paths whose folders exist are used as they stand.
    const std::string x = (root_ / "x").string();
    fs::create_directories(root_ / "x" / "flights");
    Put(SettingsPath(),
        "[folder]\nflights=" + x + "/flights/\naircraft=" + x + "/AIRCRAFT.CFG\nerj=" + x + "/erj.ini\n");
    ReadPathSettings(plan_);
    EXPECT_EQ(plan_.paths.FlightsDir, x + "/flights/");
    EXPECT_EQ(plan_.paths.AircraftCfgPath, x + "/AIRCRAFT.CFG");
    EXPECT_EQ(plan_.paths.PanelIniPath, x + "/erj.ini");
    // Folders that are gone give way to the located ones (the simulator moved, say).
    fs::remove_all(root_ / "x");
    ReadPathSettings(plan_);
    EXPECT_EQ(plan_.paths.FlightsDir, FlightsDir().string() + "/");
    EXPECT_EQ(plan_.paths.AircraftCfgPath, CfgPath().string());
    EXPECT_EQ(plan_.paths.PanelIniPath, PanelPath().string());
    // Where nothing is located either, the stored ones stay (the start-up then asks).
    Put(SettingsPath(), "[folder]\nflights=/x/flights/\naircraft=/x/AIRCRAFT.CFG\nerj=/x/erj.ini\n");
    plan_.paths.DocumentsDir = (root_ / "no documents").string() + "/";
    plan_.paths.SimAircraftDir = (root_ / "no simulator" / "aircraft").string();
    ReadPathSettings(plan_);
    EXPECT_EQ(plan_.paths.FlightsDir, "/x/flights/");
    EXPECT_EQ(plan_.paths.AircraftCfgPath, "/x/AIRCRAFT.CFG");
    EXPECT_EQ(plan_.paths.PanelIniPath, "/x/erj.ini");
}
