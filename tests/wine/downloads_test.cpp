// The Windows downloads tried under Wine: the portable zip unpacked anywhere, and the installer
// run silently for the user alone; each gives a program that starts and links to
// vantrel-winsim.exe. The uninstaller removes the program and keeps the flight log and settings.
#include "shell_link.h"
#include "windows_program_support.h"

#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace vantrel::wine {
namespace {

fs::path Download(const std::string& suffix) {
    const fs::path packages = fs::path(VANTREL_WINDOWS_DIR).parent_path() / "packages";
    for (const auto& e :
         fs::is_directory(packages) ? fs::directory_iterator(packages) : fs::directory_iterator())
        if (e.path().filename().string().ends_with(suffix)) return e.path();
    return {};
}

TEST_F(WindowsProgramTest, EachDownloadGivesAProgramThatLinksAndTheUninstallerKeepsTheLog) {
    struct Case {
        const char* name;
        const char* suffix;
    };
    for (const Case& c : {Case{"zip", "-windows-x64.zip"}, Case{"installer", "-windows-x64.exe"}}) {
        SCOPED_TRACE(c.name);
        const fs::path download = Download(c.suffix);
        ASSERT_FALSE(download.empty()) << "no " << c.name << " was made";
        fs::path folder;
        if (std::string(c.name) == "zip") {
            ASSERT_EQ(Shell("cd " + Quoted(dir_.string()) + " && unzip -q " + Quoted(download.string())), 0);
            folder = dir_ / download.stem();
        } else {
            ASSERT_EQ(Shell(std::string(VANTREL_WINE) + " " + Quoted(download.string()) + " /S"), 0);
            // Wine's prefix user is the Unix user.
            folder = fs::path(VANTREL_WINE_PREFIX) / "drive_c/users" / getpwuid(getuid())->pw_name /
                     "AppData/Local/Programs/Vantrel Suite";
        }
        ASSERT_TRUE(fs::exists(folder / "vantrel.exe")) << folder;
        EXPECT_TRUE(fs::exists(folder / "espeak-ng-data/phontab"));
        EXPECT_FALSE(fs::exists(folder / "link-driver.exe"));

        WriteSimulatorSettings(folder, dir_ / "fs9");
        const auto simulator = StartSimulatorWithWeather();
        ASSERT_NE(simulator, nullptr);
        const fs::path report = dir_ / (std::string("report-") + c.name);
        Program main((folder / "vantrel.exe").string(), {"--report", report.string()});
        EXPECT_EQ(WaitForReport(report, true)["Panel3"], "00ff00");
        EXPECT_EQ(Shell(std::string(VANTREL_WINE) + " taskkill /im vantrel.exe >/dev/null 2>&1"), 0);
        EXPECT_EQ(main.Wait(60000), 0);

        if (std::string(c.name) == "installer") {
            // The program wrote its flight log and settings beside itself.
            std::ofstream(folder / "erj145.csv") << "kept\r\n";
            ASSERT_EQ(
                Shell(std::string(VANTREL_WINE) + " " + Quoted((folder / "Uninstall.exe").string()) + " /S"),
                0);
            // The uninstaller runs on from a copy of itself, deleting one file after another.
            const auto removed = [&folder] {
                return !fs::exists(folder / "vantrel.exe") && !fs::exists(folder / "Qt6Core.dll") &&
                       !fs::exists(folder / "Uninstall.exe");
            };
            EXPECT_TRUE(WaitUntil(removed, 60000));
            EXPECT_EQ(ReadAll(folder / "erj145.csv"), "kept\r\n");
            EXPECT_NE(ReadAll(folder / "vn-erj145.ini").find("EDDH"), std::string::npos);
        }
    }
}

std::string Utf16(const std::string& ascii) {
    std::string wide;
    for (char c : ascii)
        wide += std::string{c, '\0'};
    return wide;
}

// The value of a version resource's string (UTF-16, after its key and padding), as Windows
// shows it on the file's properties.
std::string VersionString(const std::string& exe, const std::string& key) {
    std::size_t at = exe.find(Utf16(key) + std::string(2, '\0'));
    if (at == std::string::npos) return {};
    at += 2 * key.size() + 2;
    while (at + 1 < exe.size() && exe[at] == '\0' && exe[at + 1] == '\0')
        at += 2;
    std::string value;
    for (; at + 1 < exe.size() && (exe[at] != '\0' || exe[at + 1] != '\0'); at += 2)
        value += exe[at];
    return value;
}

TEST_F(WindowsProgramTest, BothProgramsCarryTheProjectVersion) {
    for (const char* name : {"vantrel.exe", "vantrel-cli.exe"}) {
        SCOPED_TRACE(name);
        const std::string exe = ReadAll(program_ / name);
        EXPECT_EQ(VersionString(exe, "FileVersion"), VANTREL_VERSION);
        EXPECT_EQ(VersionString(exe, "ProductVersion"), VANTREL_VERSION);
        EXPECT_EQ(VersionString(exe, "ProductName"), "Vantrel Suite");
        Program run((program_ / name).string(), {"--version"});
        EXPECT_EQ(run.Line(60000), std::string("Vantrel Suite ") + VANTREL_VERSION);
        EXPECT_EQ(run.Wait(60000), 0);
    }
}

// The installer as a pilot meets it: installed silently, the Start menu's "Vantrel Suite" entry
// starts the program (linked to the stand-in simulator) and "Vantrel Suite pilot's guide" opens
// the guide; installing again over it (an update) keeps the flight log and settings; the
// uninstaller removes the program and the entries and keeps the log.
TEST_F(WindowsProgramTest, TheStartMenuEntryStartsTheProgramAndUpdatesAndTheUninstallerKeepTheLog) {
    const fs::path installer = Download("-windows-x64.exe");
    ASSERT_FALSE(installer.empty()) << "no installer was made";
    const std::string install = std::string(VANTREL_WINE) + " " + Quoted(installer.string()) + " /S";
    ASSERT_EQ(Shell(install), 0);
    const fs::path user = fs::path(VANTREL_WINE_PREFIX) / "drive_c/users" / getpwuid(getuid())->pw_name;
    const fs::path folder = user / "AppData/Local/Programs/Vantrel Suite";
    const fs::path menu = user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vantrel Suite";
    const auto target = [&menu](const char* entry) {
        return LinuxPathOf(ShellLinkTarget(ReadAll(menu / (std::string(entry) + ".lnk"))),
                           VANTREL_WINE_PREFIX);
    };
    const std::string program = target("Vantrel Suite");
    ASSERT_TRUE(fs::is_regular_file(program)) << "the Start menu entry starts " << program;
    EXPECT_EQ(fs::path(program), (folder / "vantrel.exe").lexically_normal());
    const std::string guide = target("Vantrel Suite pilot's guide");
    EXPECT_TRUE(fs::is_regular_file(guide)) << "the guide's entry opens " << guide;
    EXPECT_EQ(fs::path(guide), (folder / "help/manual.pdf").lexically_normal());
    for (const char* shipped : {"LICENSE", "THIRD-PARTY.md", "CHANGELOG.md", "README.md"})
        EXPECT_TRUE(fs::exists(folder / shipped)) << shipped;

    WriteSimulatorSettings(folder, dir_ / "fs9");
    const auto simulator = StartSimulatorWithWeather();
    ASSERT_NE(simulator, nullptr);
    {
        Program main(program, {"--report", (dir_ / "report").string()});
        EXPECT_EQ(WaitForReport(dir_ / "report", true)["Panel3"], "00ff00");
        EXPECT_EQ(Shell(std::string(VANTREL_WINE) + " taskkill /im vantrel.exe >/dev/null 2>&1"), 0);
        EXPECT_EQ(main.Wait(60000), 0);
    }

    // The program wrote its settings at Exit; a flight is in the log.
    std::ofstream(folder / "erj145.csv") << "kept\r\n";
    const std::string settings = ReadAll(folder / "vn-erj145.ini");
    ASSERT_NE(settings.find("EDDH"), std::string::npos);
    ASSERT_EQ(Shell(install), 0); // the update
    EXPECT_EQ(ReadAll(folder / "erj145.csv"), "kept\r\n");
    EXPECT_EQ(ReadAll(folder / "vn-erj145.ini"), settings);
    EXPECT_TRUE(fs::is_regular_file(target("Vantrel Suite")));

    ASSERT_EQ(Shell(std::string(VANTREL_WINE) + " " + Quoted((folder / "Uninstall.exe").string()) + " /S"),
              0);
    const auto removed = [&] {
        return !fs::exists(folder / "vantrel.exe") && !fs::exists(folder / "Uninstall.exe") &&
               !fs::exists(menu / "Vantrel Suite.lnk");
    };
    EXPECT_TRUE(WaitUntil(removed, 60000));
    EXPECT_EQ(ReadAll(folder / "erj145.csv"), "kept\r\n");
}

} // namespace
} // namespace vantrel::wine
