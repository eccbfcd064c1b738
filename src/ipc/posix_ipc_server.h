#pragma once
#include "ipc/ipc_server_walk.h"

#ifndef _WIN32

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace vantrel {

// The server side of the posix substitute: listens on D/<class> for each window class,
// serves any number of connections at once, one request line at a time, and answers
// "1\n" when the block was applied or "0\n" when it was refused. Single-threaded: all work
// happens inside PollOnce (or Run), so the handler needs no lock unless others touch it.
class PosixIpcServer {
public:
    // handler_lock, when given, is held while a block is served.
    explicit PosixIpcServer(OffsetHandler& handler, std::mutex* handler_lock = nullptr);
    ~PosixIpcServer();
    PosixIpcServer(const PosixIpcServer&) = delete;
    PosixIpcServer& operator=(const PosixIpcServer&) = delete;

    // Prepares the folder and listens as each window class. Refuses (false, with a reason)
    // when the folder is not private or another server already answers there.
    bool Start(const std::string& directory, const std::vector<std::string>& window_classes,
               std::string& reason);

    // Waits up to timeout_ms for work and does it. When extra_fd >= 0 it is watched too;
    // the result tells whether it became readable.
    bool PollOnce(int timeout_ms, int extra_fd = -1);
    // Serves until Stop() is called (from any thread).
    void Run();
    void Stop();

    // Removes the socket files and closes every connection.
    void Shutdown();

    // Requests answered so far, and how many of them were refused.
    std::uint64_t Requests() const { return requests_; }
    std::uint64_t Refused() const { return refused_; }

private:
    struct Connection {
        int fd;
        std::string input;
    };

    void Accept(int listener);
    // Reads what arrived; false when the connection is to be closed.
    bool ReadFrom(Connection& connection);
    std::string Answer(const std::string& line);
    bool ServeMapping(const std::string& name);

    OffsetHandler& handler_;
    std::mutex* handler_lock_;
    std::vector<int> listeners_;
    std::vector<std::string> socket_paths_;
    std::vector<Connection> connections_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> requests_{0};
    std::atomic<std::uint64_t> refused_{0};
};

// True when the request name reads "FsasmLib:IPC:<hex>:<hex>".
bool IsMappingName(const std::string& name);

} // namespace vantrel

#endif
