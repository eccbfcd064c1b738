#ifndef _WIN32

#include "ipc/posix_ipc_server.h"

#include "ipc/ipc_dir.h"
#include "ipc/ipc_wire.h"
#include "ipc/posix_transport.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif

namespace vantrel {

namespace {

constexpr std::size_t kMaxRequestLine = 256;
const std::string kRequestPrefix = "FsasmLib:IPC ";

bool IsHexRun(const std::string& text, std::size_t from, std::size_t to) {
    if (to <= from || to - from > 8) return false;
    for (std::size_t i = from; i < to; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

bool PeerIsThisUser(int fd) {
#if defined(SO_PEERCRED)
    ucred cred{};
    socklen_t length = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0) return false;
    return cred.uid == getuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (getpeereid(fd, &uid, &gid) != 0) return false;
    return uid == getuid();
#endif
}

void SetNonBlocking(int fd) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

} // namespace

bool IsMappingName(const std::string& name) {
    const std::string prefix = "FsasmLib:IPC:";
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    const std::size_t colon = name.find(':', prefix.size());
    if (colon == std::string::npos) return false;
    return IsHexRun(name, prefix.size(), colon) && IsHexRun(name, colon + 1, name.size());
}

PosixIpcServer::PosixIpcServer(OffsetHandler& handler, std::mutex* handler_lock)
    : handler_(handler), handler_lock_(handler_lock) {}

PosixIpcServer::~PosixIpcServer() {
    Shutdown();
}

bool PosixIpcServer::Start(const std::string& directory, const std::vector<std::string>& window_classes,
                           std::string& reason) {
    if (!PrepareIpcDirectory(directory, reason)) return false;
    if (pipe(wake_) != 0) {
        reason = "cannot create a pipe";
        return false;
    }
    SetNonBlocking(wake_[0]);
    SetNonBlocking(wake_[1]);
    for (const std::string& window_class : window_classes) {
        const std::string path = directory + "/" + window_class;
        sockaddr_un addr{};
        if (path.size() >= sizeof addr.sun_path) {
            reason = "socket path too long: " + path;
            Shutdown();
            return false;
        }
        // A socket file that nobody answers on is a leftover of a server that died.
        if (const int probe = ConnectUnixSocket(path); probe >= 0) {
            close(probe);
            reason = "another server already listens on " + path;
            Shutdown();
            return false;
        }
        unlink(path.c_str());
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(fd, 64) != 0) {
            reason = "cannot listen on " + path + ": " + std::strerror(errno);
            if (fd >= 0) close(fd);
            Shutdown();
            return false;
        }
        chmod(path.c_str(), 0600);
        SetNonBlocking(fd);
        listeners_.push_back(fd);
        socket_paths_.push_back(path);
    }
    return true;
}

void PosixIpcServer::Shutdown() {
    for (int fd : listeners_)
        close(fd);
    listeners_.clear();
    for (const std::string& path : socket_paths_)
        unlink(path.c_str());
    socket_paths_.clear();
    for (const Connection& c : connections_)
        close(c.fd);
    connections_.clear();
    for (int& fd : wake_) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void PosixIpcServer::Stop() {
    stop_ = true;
    if (wake_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(wake_[1], &byte, 1);
    }
}

void PosixIpcServer::Run() {
    while (!stop_)
        PollOnce(1000);
}

bool PosixIpcServer::PollOnce(int timeout_ms, int extra_fd) {
    std::vector<pollfd> fds;
    fds.push_back({wake_[0], POLLIN, 0});
    fds.push_back({extra_fd, POLLIN, 0}); // a negative fd is ignored by poll
    for (int fd : listeners_)
        fds.push_back({fd, POLLIN, 0});
    for (const Connection& c : connections_)
        fds.push_back({c.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), timeout_ms) <= 0) return false;

    if (fds[0].revents != 0) {
        char buffer[64];
        while (read(wake_[0], buffer, sizeof buffer) > 0) {
        }
    }
    // Connections first (their poll results line up with connections_), then new ones.
    const std::size_t first_connection = 2 + listeners_.size();
    std::vector<Connection> kept;
    for (std::size_t i = 0; i < connections_.size(); ++i) {
        if (fds[first_connection + i].revents != 0 && !ReadFrom(connections_[i])) {
            close(connections_[i].fd);
            continue;
        }
        kept.push_back(std::move(connections_[i]));
    }
    connections_ = std::move(kept);
    for (std::size_t i = 0; i < listeners_.size(); ++i)
        if (fds[2 + i].revents & POLLIN) Accept(listeners_[i]);
    return extra_fd >= 0 && (fds[1].revents & (POLLIN | POLLHUP)) != 0;
}

void PosixIpcServer::Accept(int listener) {
    for (;;) {
        const int fd = accept(listener, nullptr, nullptr);
        if (fd < 0) return;
        if (!PeerIsThisUser(fd)) {
            close(fd);
            continue;
        }
        SetNonBlocking(fd);
        connections_.push_back(Connection{fd, {}});
    }
}

bool PosixIpcServer::ReadFrom(Connection& connection) {
    char buffer[512];
    const ssize_t n = recv(connection.fd, buffer, sizeof buffer, 0);
    if (n == 0) return false;
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    connection.input.append(buffer, std::size_t(n));
    for (;;) {
        const std::size_t nl = connection.input.find('\n');
        if (nl == std::string::npos) break;
        const std::string answer = Answer(connection.input.substr(0, nl)) + "\n";
        connection.input.erase(0, nl + 1);
        if (send(connection.fd, answer.data(), answer.size(), MSG_NOSIGNAL) != ssize_t(answer.size()))
            return false;
    }
    if (connection.input.size() > kMaxRequestLine) {
        // An over-long line: refuse it once; the rest of the stream cannot be trusted.
        ++requests_;
        ++refused_;
        send(connection.fd, "0\n", 2, MSG_NOSIGNAL);
        return false;
    }
    return true;
}

std::string PosixIpcServer::Answer(const std::string& line) {
    ++requests_;
    bool served = false;
    if (line.size() <= kMaxRequestLine && line.compare(0, kRequestPrefix.size(), kRequestPrefix) == 0) {
        const std::string name = line.substr(kRequestPrefix.size());
        served = IsMappingName(name) && ServeMapping(name);
    }
    if (!served) ++refused_;
    return served ? "1" : "0";
}

// Maps the client's block, serves a private copy of it (so a client changing the block
// meanwhile cannot confuse the walk) and writes the answered copy back.
bool PosixIpcServer::ServeMapping(const std::string& name) {
    const int fd = shm_open(("/" + name).c_str(), O_RDWR, 0);
    if (fd < 0) return false;
    struct stat st {};
    bool served = false;
    if (fstat(fd, &st) == 0 && st.st_uid == getuid() && st.st_size >= off_t(ipc::kBlockSize)) {
        void* view = mmap(nullptr, ipc::kBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (view != MAP_FAILED) {
            static thread_local std::array<std::uint8_t, ipc::kUsableSize> copy;
            std::memcpy(copy.data(), view, copy.size());
            {
                std::unique_lock<std::mutex> lock;
                if (handler_lock_ != nullptr) lock = std::unique_lock<std::mutex>(*handler_lock_);
                served = ServeBlock(copy.data(), copy.size(), handler_);
            }
            if (served) std::memcpy(view, copy.data(), copy.size());
            munmap(view, ipc::kBlockSize);
        }
    }
    close(fd);
    return served;
}

} // namespace vantrel

#endif
