// The durable writers on a disk without room: each fails with the system's reason and leaves
// the old file whole, with no temporary file beside it.
#include "core/durable_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantrel {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the write in a child whose files may not grow past limit bytes (SIGXFSZ ignored, so the
// write fails instead of killing it); the child's result and reason come back through a pipe.
bool WriteWithLimit(rlim_t limit, const std::function<bool(std::string*)>& write, std::string& reason) {
    int channel[2];
    if (pipe(channel) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fsize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fsize);
        std::string why;
        const std::string answer = (write(&why) ? "1" : "0") + why;
        (void)!::write(channel[1], answer.data(), answer.size());
        _exit(0);
    }
    close(channel[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(n));
    close(channel[0]);
    waitpid(child, nullptr, 0);
    reason = answer.empty() ? "" : answer.substr(1);
    return answer.rfind('1', 0) == 0;
}

TEST(DurableFile, AWriterWithoutRoomKeepsTheOldFileAndSaysWhy) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantrel-durable-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string base = dir.string() + "/";
    const std::string old = "old line;\r\n";
    const std::string big(8192, 'x');
    struct Case {
        const char* what;
        const char* target;
        bool existsBefore;
        bool appends;
        std::function<bool(const std::string& target, std::string*)> write;
    } cases[] = {
        {"replace an existing file", "a.ini", true, false,
         [&](const std::string& t, std::string* r) { return ReplaceFileDurably(t, big, r); }},
        {"replace a missing file", "b.ini", false, false,
         [&](const std::string& t, std::string* r) { return ReplaceFileDurably(t, big, r); }},
        {"append to a log", "c.csv", true, true,
         [&](const std::string& t, std::string* r) { return AppendDurably(t, big, r); }},
        {"copy a log", "d.bak", false, false,
         [&](const std::string& t, std::string* r) { return CopyFileAtomically(base + "source", t, r); }},
    };
    std::ofstream(base + "source", std::ios::binary) << big;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = base + c.target;
        if (c.existsBefore) std::ofstream(target, std::ios::binary) << old;
        std::string reason;
        EXPECT_FALSE(WriteWithLimit(
            4096, [&](std::string* r) { return c.write(target, r); }, reason));
        EXPECT_EQ(reason, "File too large");
        EXPECT_EQ(std::filesystem::exists(target), c.existsBefore);
        if (c.existsBefore) {
            EXPECT_EQ(ReadAll(target), old);
        }
        // With room the same write succeeds.
        EXPECT_TRUE(WriteWithLimit(
            RLIM_INFINITY, [&](std::string* r) { return c.write(target, r); }, reason));
        EXPECT_EQ(ReadAll(target), (c.appends ? old : "") + big);
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().string().find(".tmp~"), std::string::npos) << entry.path();
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace vantrel
