#pragma once
// A Wine prefix built by a test: registry files naming the simulator and the documents
// folder, a C: drive holding a copy of the fixture installation, and dosdevices links.
#include "fs9_fixture.h"

namespace vantrel::testing {

struct WinePrefixFixture {
    fs::path prefix;
    fs::path simDir;
    fs::path documentsDir;

    // wow64: a 64-bit prefix, the simulator's key below Wow6432Node; else a 32-bit one
    // (WINEARCH=win32).
    static WinePrefixFixture Create(const fs::path& prefix, bool wow64 = true) {
        WinePrefixFixture w;
        w.prefix = prefix;
        const fs::path driveC = prefix / "drive_c";
        w.simDir = driveC / "Program Files (x86)" / "Microsoft Games" / "Flight Simulator 9";
        w.documentsDir = driveC / "users" / "pilot" / "Documents";
        const fs::path fixtures = fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9";
        fs::create_directories(w.simDir);
        fs::create_directories(w.documentsDir);
        fs::copy(fixtures / "Flight Simulator 9", w.simDir, fs::copy_options::recursive);
        fs::copy(fixtures / "Documents", w.documentsDir, fs::copy_options::recursive);
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
        fs::create_directory_symlink("/", prefix / "dosdevices" / "z:");

        const std::string simKey =
            wow64 ? "Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0"
                  : "Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0";
        Put(prefix / "system.reg",
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=" +
                std::string(wow64 ? "win64" : "win32") +
                "\n\n"
                "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1700000000\n#time=1da0000000000\n"
                "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n\n"
                "[" +
                simKey +
                "] 1700000001\n#time=1da0000000001\n"
                "\"Version\"=dword:00000009\n"
                "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator "
                "9\\\\\"\n\n");
        // The registry names the folders in other letter cases than the disk, as Windows allows.
        Put(prefix / "user.reg",
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000\n"
            "#time=1da0000000000\n"
            "\"AppData\"=\"C:\\\\users\\\\pilot\\\\AppData\\\\Roaming\"\n"
            "\"Personal\"=\"C:\\\\Users\\\\Pilot\\\\documents\"\n\n");
        return w;
    }
};

} // namespace vantrel::testing
