// What the checklist window is told about its file: each problem once, naming the file, and
// the voice it falls back to.
#include "voice/checklist_file_check.h"

#include "core/profile_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>

namespace vantrel {
namespace {

TEST(ChecklistFileCheck, EachProblemIsNamedAndTheVoiceFallsBack) {
    const std::string all = "[ic]\n1=a\n[bs]\n1=a\n[bt]\n1=a\n[to]\n1=a\n[at]\n1=a\n[cr]\n1=a\n"
                            "[de]\n1=a\n[bl]\n1=a\n[al]\n1=a\n[sd]\n1=a\n[te]\n1=a\n";
    struct Case {
        std::string content;
        std::size_t voices;
        int voice;
        bool voiceFound;
        std::string told; // empty: nothing to tell
    };
    const Case cases[] = {
        {"[settings]\nvoice=1\npitch=50\nspeed=120\n" + all, 3, 1, true, ""},
        {all, 3, 0, true, ""},
        {"[settings]\nvoice=-5\n" + all, 3, 0, true,
         "names voice \"-5\", but the installed voices are numbered 0 to 2"},
        {"[settings]\nvoice=3\n" + all, 3, 0, true, "the first voice is used."},
        {"[settings]\nvoice=0\n" + all, 0, 0, false, "no text-to-speech voice is installed"},
        {"[settings]\npitch=high\n" + all, 2, 0, true,
         "gives pitch \"high\", which is not a whole number of 0 or more: 62"},
        {"[settings]\nspeed=-1\n" + all, 2, 0, true, "gives speed \"-1\""},
        {"\x01\xff\x7f[\x80=\n\x02", 2, 0, true, "holds no checklists"},
        {"[ic]\n1=a\n[te]\n2=b\n", 2, 0, true,
         "has no items for the checklists BS, BT, TO, AT, CR, DE, BL, AL, SD, TE:"},
    };
    QTemporaryDir dir;
    const std::string path = dir.filePath("checklists.ini").toStdString();
    for (const Case& c : cases) {
        WriteFileAtomically(path, c.content);
        const ChecklistFileCheck check = CheckChecklistFile(path, c.voices);
        EXPECT_EQ(check.voice, c.voice) << c.content;
        EXPECT_EQ(check.voiceFound, c.voiceFound) << c.content;
        if (c.told.empty()) {
            EXPECT_EQ(check.problems, "") << c.content;
            continue;
        }
        EXPECT_EQ(check.problems.rfind("The checklist file \"" + path + "\" ", 0), 0u) << check.problems;
        EXPECT_NE(check.problems.find(c.told), std::string::npos) << check.problems;
        EXPECT_EQ(check.problems.find('\n'), std::string::npos) << check.problems; // one problem each
    }
}

} // namespace
} // namespace vantrel
