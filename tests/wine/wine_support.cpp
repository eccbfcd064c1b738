#include "wine_support.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vantrel::wine {

namespace {

// The environment every Wine child gets: the shared prefix, and quiet.
void PrepareEnvironment() {
    setenv("WINEPREFIX", VANTREL_WINE_PREFIX, 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    return left > 0 ? int(left) : 0;
}

} // namespace

bool Available() {
    return std::string(VANTREL_WINE).size() > 0 && access(VANTREL_WINE, X_OK) == 0;
}

Program::Program(const std::string& name, std::vector<std::string> args, bool native) {
    PrepareEnvironment();
    std::vector<std::string> all;
    if (native) {
        all.push_back(std::string(VANTREL_OUT_DIR) + "/" + name);
    } else {
        all.push_back(VANTREL_WINE);
        all.push_back(std::string(VANTREL_WINDOWS_DIR) + "/" + name);
    }
    all.insert(all.end(), args.begin(), args.end());
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_child[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from_child[1], 1);
    posix_spawn_file_actions_addclose(&actions, to_child[1]);
    posix_spawn_file_actions_addclose(&actions, from_child[0]);
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, all[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(to_child[0]);
    close(from_child[1]);
    in_ = to_child[1];
    out_ = from_child[0];
    fcntl(out_, F_SETFL, O_NONBLOCK);
    fcntl(in_, F_SETFD, FD_CLOEXEC);
    fcntl(out_, F_SETFD, FD_CLOEXEC);
}

Program::~Program() {
    Kill();
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
}

std::string Program::Line(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (const std::size_t nl = pending_.find('\n'); nl != std::string::npos) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        const int left = MillisecondsLeft(deadline);
        if (left == 0) return "";
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, left) <= 0) continue;
        char buffer[4096];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n == 0) return "";
        if (n > 0) {
            pending_.append(buffer, std::size_t(n));
            output_.append(buffer, std::size_t(n));
        }
    }
}

std::string Program::WaitFor(const std::string& start, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        const int left = MillisecondsLeft(deadline);
        if (left == 0) return "";
        const std::string line = Line(left);
        if (line.compare(0, start.size(), start) == 0) return line;
        if (line.empty() && MillisecondsLeft(deadline) == 0) return "";
    }
}

void Program::Send(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t n = write(in_, text.data(), text.size());
}

std::string Program::Ask(const std::string& line, int timeout_ms) {
    Send(line);
    return Line(timeout_ms);
}

void Program::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void Program::Interrupt() {
    if (pid_ > 0) kill(pid_, SIGINT);
}

int Program::Wait(int timeout_ms) {
    if (pid_ <= 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (MillisecondsLeft(deadline) == 0) return -1;
        usleep(10000);
    }
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

} // namespace vantrel::wine
