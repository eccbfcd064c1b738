#pragma once
// A program as a child process with pipes to its standard input and output, for the tests that
// run the stand-in simulators, the bridge or the client driver. The child is killed when the
// object goes, and with the test program however that ends.
#include "support/helper_reaper.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vantrel::test {

class PipedChild {
public:
    // argv[0] is the program's path; the child gets this process's environment.
    explicit PipedChild(std::vector<std::string> argv) {
        int to_child[2], from_child[2];
        if (pipe(to_child) != 0 || pipe(from_child) != 0) throw std::runtime_error("pipe");
        std::vector<char*> args;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) { // only async-signal-safe calls until exec: the test may run threads
            DieWith(parent);
            dup2(to_child[0], 0);
            dup2(from_child[1], 1);
            close(to_child[1]);
            close(from_child[0]);
            execve(args[0], args.data(), environ);
            _exit(127);
        }
        close(to_child[0]);
        close(from_child[1]);
        in_ = to_child[1];
        out_ = from_child[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
        fcntl(in_, F_SETFD, FD_CLOEXEC);
        fcntl(out_, F_SETFD, FD_CLOEXEC);
    }
    ~PipedChild() {
        Kill();
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
    }
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    void Send(const std::string& line) {
        const std::string text = line + "\n";
        [[maybe_unused]] const ssize_t n = write(in_, text.data(), text.size());
    }
    // Appends what the child wrote within timeout_ms to into; false once its output has ended.
    bool Read(int timeout_ms, std::string& into) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, timeout_ms) <= 0) return true;
        char buffer[4096];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n == 0) return false;
        if (n > 0) into.append(buffer, std::size_t(n));
        return true;
    }
    bool Running() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    void Kill() { // SIGKILL, as a crash would
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    void Signal(int signal) {
        if (pid_ > 0) kill(pid_, signal);
    }
    // Waits for the end: the exit status, or -1 when it was killed or is still running after
    // timeout_ms (a negative timeout waits as long as it takes).
    int Wait(int timeout_ms) {
        if (pid_ <= 0) return -1;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            int status = 0;
            if (waitpid(pid_, &status, timeout_ms < 0 ? 0 : WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (std::chrono::steady_clock::now() >= deadline) return -1;
            usleep(10000);
        }
    }

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
};

} // namespace vantrel::test
