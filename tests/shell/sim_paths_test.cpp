#include "fs9_fixture.h"
#include "shell/sim_paths.h"
#include "wine_prefix.h"

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::testing;
using namespace std::string_literals;

namespace {

// Clears every variable that points at the folders, so only HOME and the prefix count.
class SimPaths : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTempDir("simpaths"); }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static std::string Real(const fs::path& p) { return fs::canonical(p).string(); }

    fs::path dir_;
    ScopedEnv fsPath_{"VANTREL_FS_PATH", std::nullopt};
    ScopedEnv documents_{"VANTREL_DOCUMENTS", std::nullopt};
    ScopedEnv winePrefix_{"WINEPREFIX", std::nullopt};
    ScopedEnv xdgConfig_{"XDG_CONFIG_HOME", std::nullopt};
};

} // namespace

TEST_F(SimPaths, WinePrefixInHomeIsFoundWithoutConfiguration) {
    const auto wine = WinePrefixFixture::Create(dir_ / "home" / ".wine");
    ScopedEnv home("HOME", (dir_ / "home").string());
    EXPECT_EQ(ReadSimulatorPath(), Real(wine.simDir));
    EXPECT_EQ(ReadDocumentsFolder(), Real(wine.documentsDir) + "/");
}

// Without WINEPREFIX the prefixes in the usual places are searched for the simulator's value;
// of several, the one used last wins.
TEST_F(SimPaths, TheSimulatorsPrefixIsFoundInTheUsualPlacesTheLastUsedFirst) {
    const fs::path home = dir_ / "home";
    ScopedEnv homeVar("HOME", home.string());
    Put(home / ".wine" / "system.reg", "WINE REGISTRY Version 2\n"); // a prefix without it
    struct Case {
        const char* prefix; // below HOME
        bool wow64;
    };
    const Case cases[] = {
        {".wine-fs9", false},
        {".local/share/wineprefixes/fs9", true},
        {"Games/fs2004", true},
        {".local/share/bottles/bottles/FS2004", true},
        {".var/app/com.usebottles.bottles/data/bottles/bottles/fs9", true},
        {".PlayOnLinux/wineprefix/FS2004", false},
    };
    auto time = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        const auto wine = WinePrefixFixture::Create(home / c.prefix, c.wow64);
        // Each one used after those before it.
        time += std::chrono::minutes(1);
        for (const char* reg : {"system.reg", "user.reg"})
            fs::last_write_time(wine.prefix / reg, time);
        EXPECT_EQ(FindSimulatorPrefix(home.string()), (home / c.prefix).string());
        EXPECT_EQ(ReadSimulatorPath(), Real(wine.simDir));
        EXPECT_EQ(ReadDocumentsFolder(), Real(wine.documentsDir) + "/");
    }
    // An older one used again wins once more.
    fs::last_write_time(home / cases[0].prefix / "user.reg", time + std::chrono::minutes(1));
    EXPECT_EQ(FindSimulatorPrefix(home.string()), (home / cases[0].prefix).string());
    // WINEPREFIX still decides.
    ScopedEnv prefix("WINEPREFIX", (home / ".wine").string());
    EXPECT_EQ(ReadSimulatorPath(), "");
}

TEST_F(SimPaths, ThirtyTwoBitPrefixKeepsTheKeyWithoutWow6432Node) {
    const auto wine = WinePrefixFixture::Create(dir_ / "prefix32", false);
    ScopedEnv home("HOME", (dir_ / "nohome").string());
    ScopedEnv prefix("WINEPREFIX", wine.prefix.string());
    EXPECT_EQ(ReadSimulatorPath(), Real(wine.simDir));
}

TEST_F(SimPaths, EnvironmentVariablesComeFirst) {
    const auto wine = WinePrefixFixture::Create(dir_ / "home" / ".wine");
    ScopedEnv home("HOME", (dir_ / "home").string());
    ScopedEnv fsPath("VANTREL_FS_PATH", "/opt/fs9");
    ScopedEnv documents("VANTREL_DOCUMENTS", "/srv/docs");
    EXPECT_EQ(ReadSimulatorPath(), "/opt/fs9");
    EXPECT_EQ(ReadDocumentsFolder(), "/srv/docs/");
}

TEST_F(SimPaths, WithoutAPrefixDocumentsComeFromTheXdgFolderOrHome) {
    ScopedEnv home("HOME", (dir_ / "home").string());
    EXPECT_EQ(ReadSimulatorPath(), "");
    EXPECT_EQ(ReadDocumentsFolder(), (dir_ / "home" / "Documents").string() + "/");
    Put(dir_ / "home" / ".config" / "user-dirs.dirs",
        "# written by "
        "xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(ReadDocumentsFolder(), (dir_ / "home" / "Dokumente").string() + "/");
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_EQ(ReadDocumentsFolder(), "/");
}

TEST_F(SimPaths, RegistryTextsAreUnescapedAndMatchedWithoutRegardToCase) {
    const fs::path reg = dir_ / "system.reg";
    Put(reg, "WINE REGISTRY Version 2\n"
             "[Software\\\\Vendor\\\\App] 1\n"
             "\"Path\"=\"C:\\\\Jos\\x00e9\\\\\\\"q\\\"\"\n"
             "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
             "\"Number\"=dword:00000001\n"
             "@=\"default\"\n"
             "[Software\\\\Vendor\\\\App\\\\Sub] 2\n"
             "\"Other\"=\"no\"\n");
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "SOFTWARE\\VENDOR\\APP", "path"),
              "C:\\Jos\xC3\xA9\\\"q\"");
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor\\App", "Expand"), "%SystemRoot%\\x");
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor\\App", "Number"), std::nullopt);
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor\\App", "Other"), std::nullopt);
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor", "Path"), std::nullopt);
    EXPECT_EQ(ReadWineRegistryString((dir_ / "missing.reg").string(), "Software\\Vendor\\App", "Path"),
              std::nullopt);
}

TEST_F(SimPaths, GarbageRegistryFilesGiveNothingAndNeverCrash) {
    const fs::path reg = dir_ / "user.reg";
    std::string garbage = "\x00\xff\xfe[Software\\\\Vendor\n\"Path\"=\"C:\\\\x\"\n"s;
    garbage += "[" + std::string(10000, '\\') + "\n\"" + std::string(10000, 'P') + "\n";
    garbage += "[Software\\\\Vendor] 1\n\"Path\n\"Path\"\n\"Path\"=\n\"Path\"=\"unterminated\\\n";
    Put(reg, garbage);
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor", "Other"), std::nullopt);
    // The last line is read as far as it goes.
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor", "Path"), std::nullopt);
    Put(reg, "[Software\\\\Vendor] 1\n\"Path\"=\"unterminated\\");
    EXPECT_EQ(ReadWineRegistryString(reg.string(), "Software\\Vendor", "Path"), "unterminated\\");
}

TEST_F(SimPaths, WindowsPathsMapThroughDosdevices) {
    const auto wine = WinePrefixFixture::Create(dir_ / "prefix");
    fs::create_directories(dir_ / "cdrom" / "Setup");
    fs::create_directory_symlink(dir_ / "cdrom", wine.prefix / "dosdevices" / "d:");
    EXPECT_EQ(MapWinePath(wine.prefix.string(), "D:\\SETUP"), Real(dir_ / "cdrom" / "Setup"));
    EXPECT_EQ(MapWinePath(wine.prefix.string(), "c:\\USERS\\pilot\\Documents\\Flight Simulator Files\\"),
              Real(wine.documentsDir / "Flight Simulator Files"));
    // A folder that does not exist keeps its name as written.
    EXPECT_EQ(MapWinePath(wine.prefix.string(), "C:\\users\\Nobody"),
              Real(wine.prefix / "drive_c" / "users") + "/Nobody");
    EXPECT_EQ(MapWinePath(wine.prefix.string(), "\\\\server\\share"), "");
    EXPECT_EQ(MapWinePath(wine.prefix.string(), "relative\\path"), "");
    EXPECT_EQ(MapWinePath("", "C:\\x"), "");
}

TEST_F(SimPaths, ResolvePathCaseFindsTheExistingSpelling) {
    fs::create_directories(dir_ / "Aircraft" / "Feelthere PIC ERJ145LR" / "Panel");
    Put(dir_ / "Aircraft" / "Feelthere PIC ERJ145LR" / "Panel" / "ERJ.INI", "");
    EXPECT_EQ(ResolvePathCase((dir_ / "aircraft" / "Feelthere PIC ERJ145LR" / "panel" / "erj.ini").string()),
              (dir_ / "Aircraft" / "Feelthere PIC ERJ145LR" / "Panel" / "ERJ.INI").string());
    EXPECT_EQ(ResolvePathCase((dir_ / "aircraft").string() + "/"), (dir_ / "Aircraft").string() + "/");
    const std::string missing = (dir_ / "aircraft" / "nothing.cfg").string();
    EXPECT_EQ(ResolvePathCase(missing), missing);
    EXPECT_EQ(ResolvePathCase(""), "");
}

TEST(JoinPath, AddsOneSeparator) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}
