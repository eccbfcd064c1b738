// A writer killed at any moment leaves the flight log and its backup whole: old or new, never
// a torn line.
#include "cockpit_test_support.h"

#include "cockpit/flight_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vantrel {
namespace {

std::string LineNumber(int n) {
    FlightLogEntry e;
    e.origin = "EDDV";
    e.destination = "EDDM";
    e.cargo = std::to_string(n) + std::string(150, 'x'); // long enough to be cut if it could be
    return FormatFlightLogLine(e);
}

// Every line of the text is a whole flight line of the writer's, in order from the first.
void ExpectWholeLines(const std::string& text, const char* what) {
    std::size_t start = 0;
    int n = 0;
    while (start < text.size()) {
        const std::string expected = LineNumber(n++);
        ASSERT_EQ(text.compare(start, expected.size(), expected), 0)
            << what << ": torn or foreign line " << n << " at byte " << start;
        start += expected.size();
    }
}

TEST(FlightLogKill, AKilledWriterLeavesOnlyWholeLines) {
    test::TempProgramDir dir;
    const std::string log = dir.Path() + kFlightLogFile;
    const std::string bak = dir.Path() + kFlightLogBackup;
    std::mt19937 random(12345);
    int written = 0;
    for (int round = 0; round < 40; ++round) {
        // Each round starts without a backup, so the writer's first append copies the log.
        std::error_code ignored;
        std::filesystem::remove(bak, ignored);
        const std::size_t before = test::Exists(log) ? test::ReadAll(log).size() : 0;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = written;; ++n)
                if (!AppendFlightLog(dir.Path(), LineNumber(n)).Written()) _exit(3);
        }
        // Every other round the writer dies at a random moment from its start (in the backup's copy
        // as well); in the others once it has appended (a loaded machine may be slow to get it
        // going), at a random moment of its next appends.
        const auto started = std::chrono::steady_clock::now();
        while (round % 2 == 1 && (!test::Exists(log) || test::ReadAll(log).size() <= before) &&
               std::chrono::steady_clock::now() - started < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + random() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";
        const std::string text = test::ReadAll(log);
        ExpectWholeLines(text, "log");
        if (test::Exists(bak)) ExpectWholeLines(test::ReadAll(bak), "backup");
        written = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
    EXPECT_GE(written, 20); // every other round appended before its kill
}

} // namespace
} // namespace vantrel
