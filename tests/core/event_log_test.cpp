// The diagnostic log's file end: line shape, levels, changes logged once, rotation at the cap,
// and a folder that refuses the file.
#include "core/event_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class EventLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vantrel-event-log-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        StopEventLog();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name = "vantrel.log") const { return dir_ + "/" + name; }

    static std::vector<std::string> Lines(const std::string& path) {
        std::ifstream in(path);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    void Start(LogLevel level, std::uintmax_t cap = 1024 * 1024) {
        StartEventLog({Path(), "vantrel-test", level, cap, 3});
    }

    std::string dir_;
};

TEST_F(EventLogTest, WritesOneUtcLinePerEventAtTheChosenLevel) {
    struct Case {
        LogLevel level;
        std::size_t lines; // of the three logged below
    };
    for (const Case c : {Case{LogLevel::kOff, 0}, Case{LogLevel::kInfo, 2}, Case{LogLevel::kDetail, 3}}) {
        fs::remove(Path());
        Start(c.level);
        LogEvent("link", "opened\r\nthrough the posix socket");
        LogDetail("link", "exchange 12 bytes");
        LogEvent("start", "version 2.1");
        FlushEventLog();
        StopEventLog();
        const auto lines = Lines(Path());
        ASSERT_EQ(lines.size(), c.lines) << int(c.level);
        if (lines.empty()) continue;
        EXPECT_EQ(lines[0].substr(23), "Z vantrel-test [link] opened  through the posix socket");
        EXPECT_EQ(lines[0][10], 'T');
    }
    EXPECT_EQ(UtcLogTime(1765336200123), "2025-12-10T03:10:00.123Z");
}

TEST_F(EventLogTest, ARepeatedStateIsLoggedOncePerChange) {
    Start(LogLevel::kInfo);
    for (const char* text : {"no simulator", "no simulator", "linked", "no simulator", "no simulator"})
        LogChange("link", "open", text);
    LogChange("bridge", "open", "no simulator"); // another topic keeps its own last text
    FlushEventLog();
    const auto lines = Lines(Path());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[2].find("[link] no simulator"), std::string::npos);
    EXPECT_NE(lines[3].find("[bridge] no simulator"), std::string::npos);
}

TEST_F(EventLogTest, RotatesAtTheCapKeepingThreeFiles) {
    Start(LogLevel::kInfo, 1000);
    const std::string text(60, 'x'); // about 100 bytes a line: ten lines a file
    for (int i = 0; i < 45; ++i)
        LogEvent("fill", text + std::to_string(i));
    FlushEventLog();
    StopEventLog();
    for (const char* name : {"vantrel.log", "vantrel.log.1", "vantrel.log.2"}) {
        ASSERT_TRUE(fs::exists(Path(name))) << name;
        EXPECT_LE(fs::file_size(Path(name)), 1000u) << name;
        EXPECT_GE(fs::file_size(Path(name)), 800u) << name;
    }
    EXPECT_FALSE(fs::exists(Path("vantrel.log.3")));
    // The newest lines are in the file itself, the ones before in .1.
    EXPECT_NE(Lines(Path()).back().find(text + "44"), std::string::npos);
    EXPECT_NE(Lines(Path("vantrel.log.1")).back().find(text + std::to_string(44 - Lines(Path()).size())),
              std::string::npos);
}

TEST_F(EventLogTest, ALineCutShortByAKilledRunStaysApart) {
    std::ofstream(Path(), std::ios::binary) << "2026-12-10T03:10:00.123Z vantrel [link] cut sh";
    Start(LogLevel::kInfo);
    LogEvent("start", "next run");
    FlushEventLog();
    const auto lines = Lines(Path());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("[start] next run"), std::string::npos);
}

TEST_F(EventLogTest, AFileThatCannotBeWrittenIsPassedOverQuietly) {
    // A folder in the log's place: root may write anywhere, yet nobody opens a folder as a file.
    fs::create_directory(Path());
    Start(LogLevel::kInfo, 200);
    for (int i = 0; i < 20; ++i)
        LogEvent("link", "a line nobody will read");
    FlushEventLog();
    StopEventLog();
    EXPECT_TRUE(fs::is_directory(Path()));
    EXPECT_TRUE(fs::is_empty(Path()));
}

TEST_F(EventLogTest, TheLevelComesFromTheCommandLineThenTheEnvironment) {
    const char* detail[] = {"vantrel", "--log-level", "detail"};
    const char* bare[] = {"vantrel"};
    EXPECT_EQ(LogLevelFromCommandLine(3, const_cast<char**>(detail)), LogLevel::kDetail);
    EXPECT_EQ(LogLevelFromCommandLine(1, const_cast<char**>(bare)), LogLevel::kInfo);
    setenv("VANTREL_LOG_LEVEL", "off", 1);
    EXPECT_EQ(LogLevelFromCommandLine(1, const_cast<char**>(bare)), LogLevel::kOff);
    EXPECT_EQ(LogLevelFromCommandLine(3, const_cast<char**>(detail)), LogLevel::kDetail);
    unsetenv("VANTREL_LOG_LEVEL");
    EXPECT_FALSE(ParseLogLevel("loud"));
}

} // namespace
} // namespace vantrel
