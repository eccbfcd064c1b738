// A test program that crashes, or is killed as a time-out kills it, leaves nothing running: not
// its display server, sound server, piped children or their own children, nor a Qt process
// nobody tied to it; and nothing keeps its output open, so ctest sees its end at once.
#include "desktop/xvfb_display.h"
#include "support/piped_child.h"
#include "voice/sound_server.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace vantrel::test {
namespace {

constexpr char kPidsVariable[] = "VANTREL_LIFETIME_PIDS";
constexpr char kEndVariable[] = "VANTREL_LIFETIME_END";

// Dead, or a zombie nobody reaped yet.
bool Gone(pid_t pid) {
    if (kill(pid, 0) != 0) return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidField, name, state;
    stat >> pidField >> name >> state;
    return state == "Z" || state == "X";
}

std::string OwnProgram() {
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, std::size_t(n)) : std::string();
}

// The doomed test program: starts a helper of every kind the tests use, lists their process ids,
// then aborts or waits to be killed. Run only by HelperLifetime.EndsWithTheTestProgram.
TEST(HelperLifetime, DISABLED_StartsHelpersAndDies) {
    const char* pidsFile = std::getenv(kPidsVariable);
    const char* end = std::getenv(kEndVariable);
    ASSERT_TRUE(pidsFile && end);
    XvfbDisplay display;
    SoundServerProcess sound;
    PipedChild shell({"/bin/sh", "-c", "sleep 600 & echo $!; exec sleep 600"});
    QProcess untied; // started without TieToTestProgram: only the process group reaches it
    untied.start("sleep", {"600"});
    ASSERT_TRUE(untied.waitForStarted(5000));
    std::string grandchild;
    while (grandchild.find('\n') == std::string::npos && shell.Read(5000, grandchild)) {
    }
    std::ofstream pids(pidsFile);
    pids << display.Pid() << ' ' << sound.daemon.processId() << ' ' << shell.Pid() << ' '
         << std::stol(grandchild) << ' ' << untied.processId() << "\nready\n";
    pids.close();
    if (std::string(end) == "abort") std::abort();
    for (;;)
        pause();
}

struct Ending {
    const char* name;
    bool killedFromOutside; // as ctest kills a test at its time-out
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class HelperLifetime : public ::testing::TestWithParam<Ending> {};

TEST_P(HelperLifetime, EndsWithTheTestProgram) {
    QTemporaryDir dir;
    const std::string pidsFile = dir.filePath("pids").toStdString();
    setenv(kPidsVariable, pidsFile.c_str(), 1);
    setenv(kEndVariable, GetParam().killedFromOutside ? "hang" : "abort", 1);
    PipedChild doomed({OwnProgram(), "--gtest_also_run_disabled_tests",
                       "--gtest_filter=HelperLifetime.DISABLED_StartsHelpersAndDies"});
    unsetenv(kPidsVariable);
    unsetenv(kEndVariable);

    std::vector<pid_t> helpers;
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (helpers.empty() && std::chrono::steady_clock::now() < deadline) {
        doomed.Read(100, output);
        std::ifstream in(pidsFile);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().find("ready") == std::string::npos) continue;
        for (long pid = 0; text >> pid;)
            helpers.push_back(pid_t(pid));
    }
    ASSERT_EQ(helpers.size(), 5u) << output;
    for (pid_t pid : helpers)
        ASSERT_GT(pid, 0) << output;

    if (GetParam().killedFromOutside)
        doomed.Kill();
    else
        doomed.Wait(20000);
    ASSERT_FALSE(doomed.Running()) << output;

    // Its output ends: nothing it started holds the pipe.
    const auto closing = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool open = true;
    while (open && std::chrono::steady_clock::now() < closing)
        open = doomed.Read(100, output);
    EXPECT_FALSE(open) << "something the test program started still holds its output";

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (pid_t pid : helpers) {
        while (!Gone(pid) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(Gone(pid)) << "helper " << pid << " outlived the test program";
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, HelperLifetime,
                         ::testing::Values(Ending{"Aborted", false}, Ending{"KilledAtTimeOut", true}),
                         [](const ::testing::TestParamInfo<Ending>& ending) { return ending.param.name; });

} // namespace
} // namespace vantrel::test
