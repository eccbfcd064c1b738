#include "support/helper_reaper.h"

#include <sys/prctl.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace vantrel::test {

namespace {

// The line the test program sends when it ends normally (its own destructors ended its helpers).
constexpr char kEnded[] = "ended\n";

int reaperPipe = -1;
pid_t testProgram = 0; // a forked copy of the test program that exits is not its end

void WriteToReaper(const std::string& line) {
    if (reaperPipe >= 0) [[maybe_unused]] const ssize_t n = write(reaperPipe, line.data(), line.size());
}

void RunWineserverKill(const std::string& wineserver, const std::string& prefix) {
    const pid_t child = fork();
    if (child == 0) {
        setenv("WINEPREFIX", prefix.c_str(), 1);
        execl(wineserver.c_str(), wineserver.c_str(), "-k", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child > 0) waitpid(child, nullptr, 0);
}

void WakeUp(int) {}

// The reaper: waits until the test program is gone (its pipe's end closes, or the parent-death
// signal arrives while a forked copy of the test program still holds the pipe), then ends what
// the test program left.
[[noreturn]] void Reap(int input, pid_t testProgram, pid_t group) {
    setsid(); // out of the test program's group and away from its terminal's signals
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    signal(SIGUSR1, WakeUp);
    prctl(PR_SET_PDEATHSIG, SIGUSR1);
    std::string heard;
    while (getppid() == testProgram) {
        pollfd p{input, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(input, buffer, sizeof buffer);
        if (n == 0) break;
        if (n > 0) heard.append(buffer, std::size_t(n));
    }
    alarm(60); // whatever happens below, the reaper does not stay
    if (group > 0) kill(-group, SIGKILL);
    if (heard.find(kEnded) == std::string::npos) {
        std::size_t at = 0;
        while ((at = heard.find("wine ", at)) != std::string::npos) {
            const std::size_t end = heard.find('\n', at);
            const std::string line = heard.substr(at + 5, end - at - 5);
            at = end;
            const std::size_t tab = line.find('\t');
            if (tab != std::string::npos) RunWineserverKill(line.substr(0, tab), line.substr(tab + 1));
        }
    }
    _exit(0);
}

void SayEnded() {
    if (getpid() == testProgram) WriteToReaper(kEnded);
}

// Runs before main(), while the test program has a single thread, so the reaper may run code
// after fork without exec.
struct Reaper {
    Reaper() {
        const pid_t self = getpid();
        // A program started by ctest shares ctest's group; one started from a shell leads its own
        // job's group already (with the rest of a pipeline), which is left alone.
        const pid_t group = getpgrp() != self && setpgid(0, 0) == 0 ? self : 0;
        if (group > 0) prctl(PR_SET_PDEATHSIG, SIGKILL);
        int ends[2];
        if (pipe(ends) != 0) return;
        const pid_t reaper = fork();
        if (reaper == 0) {
            close(ends[1]);
            Reap(ends[0], self, group);
        }
        close(ends[0]);
        if (reaper < 0) {
            close(ends[1]);
            return;
        }
        fcntl(ends[1], F_SETFD, FD_CLOEXEC);
        reaperPipe = ends[1];
        testProgram = self;
        std::atexit(SayEnded);
    }
};

const Reaper reaper;

} // namespace

void DieWith(pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
}

void EndWinePrefixIfKilled(const std::string& wineserver, const std::string& prefix) {
    WriteToReaper("wine " + wineserver + "\t" + prefix + "\n");
}

} // namespace vantrel::test
