// The Windows downloads tried under Wine: the portable zip unpacked anywhere, and the installer
// run silently for the user alone; each gives a program that starts and links to
// vantrel-winsim.exe. The uninstaller removes the program and keeps the flight log and settings.
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

} // namespace
} // namespace vantrel::wine
