#pragma once
#include "support/helper_reaper.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

namespace vantrel::test {

// An Xvfb server of the test's own on the first display from :200 on without a lock file,
// stopped when this goes or the test program ends.
class XvfbDisplay {
public:
    XvfbDisplay() {
        for (int number = 200; number < 260 && pid_ <= 0; ++number) {
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(lock.c_str(), F_OK) == 0) continue;
            name_ = ":" + std::to_string(number);
            const pid_t parent = getpid();
            pid_ = fork();
            if (pid_ == 0) {
                DieWith(parent);
                std::freopen("/dev/null", "w", stderr);
                execlp("Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                       static_cast<char*>(nullptr));
                _exit(127);
            }
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) {
                int status = 0;
                if (waitpid(pid_, &status, WNOHANG) == pid_) { // exited: display taken or no Xvfb
                    pid_ = -1;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
    }
    ~XvfbDisplay() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool Started() const { return pid_ > 0; }
    const std::string& Name() const { return name_; }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

} // namespace vantrel::test
