#include "core/convert.h"
#include "core/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vantrel-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "test.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Put(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
    std::string Get() {
        std::string c;
        ReadWholeFile(path_, c);
        return c;
    }

    fs::path dir_;
    std::string path_;
};

} // namespace

TEST_F(ProfileFileTest, ReadsCaseInsensitiveFirstMatchWithDefaults) {
    Put("; comment\r\n[Route]\r\nOrigin = "
        "EDDH\r\norigin=XXXX\r\n[route]\r\nDest=EHAM\r\n[Fuel]\r\nTaxi=0x10\r\nBad=12a\r\n"
        "Quoted=\"C:\\FS9\"\r\n");
    ProfileFile ini(path_);
    EXPECT_EQ(ini.ReadString("ROUTE", "ORIGIN", "d"), "EDDH");
    // Sections of the same name read as one; the first matching key counts.
    EXPECT_EQ(ini.ReadString("Route", "Dest", "none"), "EHAM");
    EXPECT_EQ(ini.ReadInteger("Fuel", "Taxi", 1), 16);
    EXPECT_EQ(ini.ReadInteger("Fuel", "Bad", 360), 360);
    EXPECT_EQ(ini.ReadInteger("Fuel", "Missing", 360), 360);
    EXPECT_EQ(ini.ReadString("Fuel", "Quoted", ""), "C:\\FS9");
    EXPECT_EQ(ini.ReadString("Nowhere", "Origin", "dflt"), "dflt");
    EXPECT_TRUE(ini.ReadBool("Fuel", "Taxi", false));
    EXPECT_EQ(ini.ReadSectionKeys("fuel"), (std::vector<std::string>{"Taxi", "Bad", "Quoted"}));
}

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
    ProfileFile ini(path_);
    EXPECT_EQ(ini.ReadInteger("Window", "Top1", -999), -999);
    ini.WriteString("Folder", "Init", "1");
    ini.WriteInteger("Window", "Top1", 120);
    ProfileFile again(path_);
    EXPECT_EQ(again.ReadString("folder", "init", "0"), "1");
    EXPECT_EQ(again.ReadInteger("window", "top1", -999), 120);
}

TEST_F(ProfileFileTest, WritesKeepOtherLinesEndingsAndBytes) {
    const std::string original =
        "[fltsim.0]\r\ntitle=ERJ \xE9t\xE9\r\nsim = erj\r\n\r\n[weight_and_balance]\n"
        "max_gross_weight=48501\n; keep me\n\n[other]\r\nx=1";
    Put(original);
    ProfileFile ini(path_);
    ini.WriteString("WEIGHT_AND_BALANCE", "max_gross_weight", "48000");
    EXPECT_EQ(Get(), "[fltsim.0]\r\ntitle=ERJ \xE9t\xE9\r\nsim = erj\r\n\r\n[weight_and_balance]\n"
                     "max_gross_weight=48000\n; keep me\n\n[other]\r\nx=1");
    // A new key joins the end of its section, before the blank line that separates sections.
    ini.WriteString("fltsim.0", "atc_id", "D-AVAN");
    EXPECT_EQ(ini.ReadString("fltsim.0", "atc_id", ""), "D-AVAN");
    EXPECT_NE(Get().find("sim = erj\r\natc_id=D-AVAN\r\n\r\n[weight_and_balance]"), std::string::npos);
    // A new section goes to the end, the unterminated last line gaining an ending first.
    ini.WriteString("new", "k", "v");
    EXPECT_NE(Get().find("x=1\r\n[new]\r\nk=v\r\n"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(dir_)) // no temporary file left behind
        EXPECT_EQ(entry.path().filename(), "test.ini");
}

TEST_F(ProfileFileTest, GarbageNeverCrashesAndUnwrittenLinesSurvive) {
    std::string garbage = "[broken\n=nokey\n\x01\x02\xff\xfe[x]\n";
    garbage += std::string(10000, 'A') + "=" + std::string(10000, 'B') + "\n";
    garbage += std::string("\0\0\n[Route]\nOrigin=EDDH\nOrigin=LOWW\n", 35);
    Put(garbage);
    ProfileFile ini(path_);
    EXPECT_EQ(ini.ReadString("Route", "Origin", ""), "EDDH");
    EXPECT_EQ(ini.ReadString(std::string(10000, 'A'), "x", "d"), "d");
    ini.WriteString("Route", "Origin", "EHAM");
    std::string expected = garbage;
    expected.replace(expected.find("Origin=EDDH"), 11, "Origin=EHAM");
    EXPECT_EQ(Get(), expected);
}

TEST_F(ProfileFileTest, UnwritableFolderReportsAndLeavesNothing) {
    ProfileFile ini((dir_ / "missing-folder" / "x.ini").string());
    try {
        ini.WriteString("a", "b", "c");
        FAIL();
    } catch (const UserError& e) {
        EXPECT_NE(std::string(e.what()).find("Unable to write to"), std::string::npos);
    }
}

TEST_F(ProfileFileTest, ConcurrentReplacementsNeverMixTheirContents) {
    const std::string a(200000, 'a');
    const std::string b(200000, 'b');
    auto writer = [this](const std::string& content) {
        for (int i = 0; i < 40; ++i)
            WriteFileAtomically(path_, content);
    };
    std::thread first(writer, a);
    std::thread second(writer, b);
    for (int i = 0; i < 40; ++i) {
        const std::string now = Get();
        EXPECT_TRUE(now.empty() || now == a || now == b);
    }
    first.join();
    second.join();
    const std::string last = Get();
    EXPECT_TRUE(last == a || last == b);
}

TEST_F(ProfileFileTest, LineBreaksInNamesOrValuesNeverAddLines) {
    Put("[fltsim.0]\r\ntitle=A\r\n");
    ProfileFile ini(path_);
    ini.WriteString("fltsim.0", "atc_id", "D-AVAN\r\n[fltsim.1]\ntitle=B");
    ini.WriteString("x\ny", "k\rz", "v");
    EXPECT_EQ(Get(), "[fltsim.0]\r\ntitle=A\r\natc_id=D-AVAN  [fltsim.1] title=B\r\n[x y]\r\nk z=v\r\n");
    EXPECT_FALSE(ini.SectionExists("fltsim.1"));
}

TEST_F(ProfileFileTest, OversizedFileIsNeitherReadNorReplaced) {
    Put("[a]\nb=1\n");
    fs::resize_file(path_, (32u << 20) + 1); // sparse: cheap to create
    ProfileFile ini(path_);
    EXPECT_EQ(ini.ReadInteger("a", "b", 7), 7);
    EXPECT_THROW(ini.WriteString("a", "b", "2"), UserError);
    EXPECT_EQ(fs::file_size(path_), (32u << 20) + 1);
    EXPECT_EQ(Get().substr(0, 8), "[a]\nb=1\n");
}

TEST_F(ProfileFileTest, PathThatIsAFolderIsNotReplaced) {
    fs::create_directories(path_);
    ProfileFile ini(path_);
    EXPECT_EQ(ini.ReadString("a", "b", "d"), "d");
    EXPECT_THROW(ini.WriteString("a", "b", "c"), UserError);
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(ProfileFileTest, LinkedFileIsWrittenThroughAndKeepsItsPermissions) {
    const fs::path real = dir_ / "real.ini";
    { std::ofstream(real, std::ios::binary) << "[a]\r\nb=1\r\n"; }
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, path_);
    ProfileFile ini(path_);
    ini.WriteString("a", "b", "2");
    EXPECT_TRUE(fs::is_symlink(path_));
    std::string content;
    ReadWholeFile(real.string(), content);
    EXPECT_EQ(content, "[a]\r\nb=2\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileFileTest, DeferredWritesReachTheFileOnceAtTheEndOfTheScope) {
    Put("[a]\r\nx=1\r\n");
    ProfileFile ini(path_);
    try {
        DeferredProfileWrites deferred(ini);
        ini.WriteString("a", "x", "2");
        ini.WriteString("b", "y", "3");
        EXPECT_EQ(ini.ReadString("a", "x", ""), "2"); // reads see what is pending
        EXPECT_EQ(Get(), "[a]\r\nx=1\r\n");           // the file is untouched so far
        throw std::runtime_error("a save stopped half way");
    } catch (const std::runtime_error&) {
    }
    // The writes made before the error were kept.
    EXPECT_EQ(Get(), "[a]\r\nx=2\r\n[b]\r\ny=3\r\n");
    ini.WriteString("a", "x", "4"); // after the scope every write goes out at once again
    EXPECT_EQ(ProfileFile(path_).ReadString("a", "x", ""), "4");
}
