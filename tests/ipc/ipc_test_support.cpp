#include "ipc_test_support.h"

#include "core/event_log.h"
#include "ipc/ipc_dir.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantrel::test {

TempIpcDir::TempIpcDir() {
    char pattern[] = "/tmp/vantrel-ipc-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made != nullptr ? made : "";
    setenv("VANTREL_IPC_DIR", path_.c_str(), 1);
}

TempIpcDir::~TempIpcDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

IpcTimings FastTimings() {
    return IpcTimings{1000, 2, 10, 0};
}

int ListenOnLoopback(std::uint16_t& port) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listener, 8) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        if (listener >= 0) close(listener);
        return -1;
    }
    port = ntohs(addr.sin_port);
    return listener;
}

std::unique_ptr<IpcClient> MakeClient(const std::string& dir, IpcTimings timings) {
    return std::make_unique<IpcClient>(std::make_unique<PosixTransport>(dir), timings);
}

InProcessServer::InProcessServer(const std::string& dir, std::vector<std::string> classes,
                                 std::uint32_t fsuipc_version, std::uint32_t simulator_version)
    : space_(fsuipc_version, simulator_version), server_(space_, &lock_) {
    std::string reason;
    if (!server_.Start(dir, classes, reason)) throw std::runtime_error(reason);
    Serve(true);
}

InProcessServer::~InProcessServer() {
    Serve(false);
    server_.Shutdown();
}

void InProcessServer::Serve(bool serve) {
    serving_ = false;
    if (thread_.joinable()) thread_.join();
    serving_ = serve;
    if (serve)
        thread_ = std::thread([this] {
            while (serving_)
                server_.PollOnce(20);
        });
}

std::vector<int> FillListenQueue(const std::string& path) {
    std::vector<int> idle;
    for (int fd; idle.size() < 10000 && (fd = ConnectUnixSocket(path, 0)) >= 0;)
        idle.push_back(fd);
    return idle;
}

FakeServer::FakeServer(const std::string& dir, Reply reply)
    : path_(dir + "/FS98MAIN"), reply_(std::move(reply)) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path_.c_str(), sizeof addr.sun_path - 1);
    listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listener_, 16) != 0 || pipe(wake_) != 0)
        throw std::runtime_error("fake server cannot listen");
    thread_ = std::thread([this] { Serve(); });
}

FakeServer::~FakeServer() {
    [[maybe_unused]] const ssize_t n = write(wake_[1], "x", 1);
    thread_.join();
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
    unlink(path_.c_str());
}

void FakeServer::Serve() {
    std::vector<int> connections;
    std::string input;
    for (;;) {
        std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        for (int c : connections)
            fds.push_back({c, POLLIN, 0});
        if (poll(fds.data(), fds.size(), 1000) < 0) break;
        if (fds[0].revents) break;
        if (fds[1].revents) connections.push_back(accept(listener_, nullptr, nullptr));
        for (std::size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            char buffer[512];
            const ssize_t n = recv(fds[i].fd, buffer, sizeof buffer, 0);
            if (n <= 0) continue;
            std::string line(buffer, std::size_t(n));
            ++requests_;
            std::uint8_t* view = nullptr;
            const std::string name = line.substr(std::min(line.size(), std::size_t(13)));
            const int fd = shm_open(("/" + name.substr(0, name.find('\n'))).c_str(), O_RDWR, 0);
            if (fd >= 0) {
                void* mapped = mmap(nullptr, 0x8000, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
                if (mapped != MAP_FAILED) view = static_cast<std::uint8_t*>(mapped);
            }
            const std::string answer = reply_(view);
            if (view != nullptr) munmap(view, 0x8000);
            if (fd >= 0) close(fd);
            if (!answer.empty()) send(fds[i].fd, answer.data(), answer.size(), MSG_NOSIGNAL);
        }
    }
    for (int c : connections)
        close(c);
}

std::string ProgramPath(const std::string& name) {
    return std::string(VANTREL_OUT_DIR) + "/" + name;
}

namespace {

std::vector<std::string> SimCommand(const std::string& dir, const std::vector<std::string>& args) {
    std::vector<std::string> all = {ProgramPath("vantrel-sim"), "--dir", dir, "--tick", "20"};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

} // namespace

SimProcess::SimProcess(const std::string& dir, std::vector<std::string> args)
    : child_(SimCommand(dir, args)) {}

SimProcess::~SimProcess() = default;

bool SimProcess::WaitFor(const std::string& text, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    std::size_t searched = 0;
    for (;;) {
        if (output_.find(text, searched) != std::string::npos) return true;
        searched = output_.size() > text.size() ? output_.size() - text.size() : 0;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) return false;
        if (!child_.Read(int(left), output_)) return output_.find(text, searched) != std::string::npos;
    }
}

void SimProcess::Send(const std::string& line) {
    child_.Send(line);
}

void SimProcess::Kill() {
    child_.Kill();
}

int SimProcess::Stop() {
    if (!child_.Running()) return -1;
    Send("quit");
    WaitFor("stopped after", 5000);
    return child_.Wait(-1);
}

ClientLog::ClientLog(const std::string& dir) : path_(dir + "/client.log") {
    StartEventLog({path_, "test", LogLevel::kInfo});
}

ClientLog::~ClientLog() {
    StopEventLog();
}

std::string ClientLog::Text() const {
    FlushEventLog();
    std::ifstream in(path_);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace vantrel::test
