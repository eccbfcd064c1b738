#ifndef _WIN32

#include "ipc/posix_transport.h"

#include "ipc/ipc_dir.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif

namespace vantrel {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Waits for the event on fd until the deadline; false on time-out.
bool WaitFor(int fd, short event, Clock::time_point deadline, bool& failed) {
    for (;;) {
        pollfd p{fd, event, 0};
        const int n = poll(&p, 1, MillisecondsLeft(deadline));
        if (n > 0) {
            if ((p.revents & event) == 0) failed = true;
            return true;
        }
        if (n == 0) return false;
        if (errno != EINTR) {
            failed = true;
            return true;
        }
    }
}

bool ParseDecimal(const std::string& text, std::uintptr_t& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + std::uintptr_t(c - '0');
    }
    return true;
}

} // namespace

int ConnectUnixSocket(const std::string& path, int timeout_ms) {
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) return -1;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    // A listener whose queue is full for a moment (EAGAIN) is there all the same: a blocking
    // connect waits for room, as long as the send time-out bounds it. Without time left it
    // does not wait (a zero time-out would mean no bound at all).
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    bool connected = false;
    for (;;) {
        const int left = MillisecondsLeft(deadline);
        if (left <= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        const timeval limit{left / 1000, (left % 1000) * 1000};
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 || errno == EISCONN) {
            connected = true;
            break;
        }
        if (errno != EINTR || left <= 0) break;
    }
    if (!connected) {
        close(fd);
        return -1;
    }
    const timeval none{0, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &none, sizeof none);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

PosixTransport::PosixTransport(std::string directory) : directory_(std::move(directory)) {}

PosixTransport::~PosixTransport() {
    Close();
}

bool PosixTransport::FindServer(bool& through_fs98) {
    Disconnect();
    const std::string dir = directory_.empty() ? IpcDirectory() : directory_;
    if (!IpcDirectoryIsPrivate(dir)) return false;
    for (const char* window_class : {"UIPCMAIN", "FS98MAIN"}) {
        const std::string path = dir + "/" + window_class;
        connection_ = ConnectUnixSocket(path);
        if (connection_ >= 0) {
            socket_path_ = path;
            through_fs98 = std::strcmp(window_class, "FS98MAIN") == 0;
            return true;
        }
    }
    return false;
}

bool PosixTransport::AddNameAtom(const std::string& mapping_name) {
    name_ = mapping_name;
    return true;
}

bool PosixTransport::CreateMapping(const std::string& mapping_name, std::size_t size) {
    const std::string object = "/" + mapping_name;
    // A crashed process with the same id may have left its block behind; the first open of
    // this process removes it. Later opens in the process treat an existing name as taken.
    static std::atomic<bool> leftovers_checked{false};
    if (!leftovers_checked.exchange(true)) shm_unlink(object.c_str());

    mapping_ = shm_open(object.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    if (mapping_ < 0) return false;
    created_ = true;
    name_ = mapping_name;
    size_ = size;
    return ftruncate(mapping_, off_t(size)) == 0;
}

std::uint8_t* PosixTransport::MapView() {
    if (mapping_ < 0) return nullptr;
    void* view = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, mapping_, 0);
    if (view == MAP_FAILED) return nullptr;
    view_ = static_cast<std::uint8_t*>(view);
    return view_;
}

IpcTransport::SendOutcome PosixTransport::Send(int timeout_ms, std::uintptr_t& answer) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    if (connection_ < 0) connection_ = ConnectUnixSocket(socket_path_, timeout_ms);
    if (connection_ < 0) return SendOutcome::kFailed;

    const std::string request = "FsasmLib:IPC " + name_ + "\n";
    std::size_t sent = 0;
    bool failed = false;
    while (sent < request.size()) {
        const ssize_t n = send(connection_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += std::size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!WaitFor(connection_, POLLOUT, deadline, failed)) {
                Disconnect();
                return SendOutcome::kTimedOut;
            }
        } else {
            failed = true;
        }
        if (failed) {
            Disconnect();
            return SendOutcome::kFailed;
        }
    }

    std::string reply;
    for (;;) {
        char buffer[32];
        const ssize_t n = recv(connection_, buffer, sizeof buffer, 0);
        if (n > 0) {
            reply.append(buffer, std::size_t(n));
            const std::size_t nl = reply.find('\n');
            if (nl != std::string::npos) {
                // One answer per request; anything beyond it means the peer is out of step.
                if (nl + 1 != reply.size() || !ParseDecimal(reply.substr(0, nl), answer)) break;
                return SendOutcome::kAnswered;
            }
            if (reply.size() > 16) break;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!WaitFor(connection_, POLLIN, deadline, failed)) {
                Disconnect();
                return SendOutcome::kTimedOut;
            }
            if (failed) break;
        } else {
            break; // closed by the peer, or an error
        }
    }
    Disconnect();
    return SendOutcome::kFailed;
}

void PosixTransport::Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void PosixTransport::Disconnect() {
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
}

void PosixTransport::Close() {
    Disconnect();
    if (view_ != nullptr) munmap(view_, size_);
    view_ = nullptr;
    if (mapping_ >= 0) close(mapping_);
    mapping_ = -1;
    if (created_) shm_unlink(("/" + name_).c_str());
    created_ = false;
}

} // namespace vantrel

#endif
