// The shortcut reader the installer's test relies on, on shortcuts Wine wrote for installers of
// this program: the entry of 2.1 and its guide entry, and the entry of the installers before it
// (which named bin\vantrel.exe, a file the installation never had).
#include "shell_link.h"
#include "windows_program_support.h"

#include <gtest/gtest.h>

namespace vantrel::wine {
namespace {

TEST(ShellLink, TheTargetOfAShortcutWineWroteIsFoundAndMappedIntoThePrefix) {
    struct Case {
        const char* file;
        const char* target;
    };
    const std::string folder = "C:\\users\\root\\AppData\\Local\\Programs\\Vantrel Suite\\";
    for (const Case& c :
         {Case{"start-menu-entry.lnk", "vantrel.exe"}, Case{"guide-entry.lnk", "help\\manual.pdf"},
          Case{"start-menu-entry-before-2.1.lnk", "bin\\vantrel.exe"},
          Case{"../fs9/Flight Simulator 9/Aircraft/Feelthere PIC ERJ145LR/aircraft.cfg", ""}}) {
        SCOPED_TRACE(c.file);
        const std::string target =
            ShellLinkTarget(ReadAll(fs::path(VANTREL_SOURCE_DIR) / "tests/fixtures/shortcuts" / c.file));
        EXPECT_EQ(target, *c.target ? folder + c.target : "");
    }
    EXPECT_EQ(LinuxPathOf("C:\\users\\me\\Vantrel Suite\\.\\vantrel.exe", "/p"),
              "/p/drive_c/users/me/Vantrel Suite/vantrel.exe");
    EXPECT_EQ(LinuxPathOf("D:\\x.exe", "/p"), "");
}

} // namespace
} // namespace vantrel::wine
