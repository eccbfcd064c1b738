#pragma once
#include "support/piped_child.h"

#include "ipc/ipc_client.h"
#include "ipc/offset_space.h"
#include "ipc/posix_ipc_server.h"
#include "ipc/posix_transport.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace vantrel::test {

// A private socket folder for one test, also exported as VANTREL_IPC_DIR; removed afterwards.
class TempIpcDir {
public:
    TempIpcDir();
    ~TempIpcDir();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// This process's diagnostic log, in a file of the given folder for as long as this lives.
class ClientLog {
public:
    explicit ClientLog(const std::string& dir);
    ~ClientLog();
    // Everything logged so far.
    std::string Text() const;

private:
    std::string path_;
};

// Short waits so that retry tests take milliseconds; the count of sends stays the real one.
IpcTimings FastTimings();

// A TCP listener on 127.0.0.1 on a port the system picks (system calls only, so a forked child
// may use it); -1 on failure.
int ListenOnLoopback(std::uint16_t& port);

// A client over the real posix transport in the given folder.
std::unique_ptr<IpcClient> MakeClient(const std::string& dir, IpcTimings timings = FastTimings());

// The real server on a thread of the test, serving an OffsetSpace.
class InProcessServer {
public:
    explicit InProcessServer(const std::string& dir, std::vector<std::string> classes = {"FS98MAIN"},
                             std::uint32_t fsuipc_version = 0x36140000,
                             std::uint32_t simulator_version = 0xFADE0007);
    ~InProcessServer();
    OffsetSpace& Space() { return space_; }
    std::mutex& Lock() { return lock_; }
    PosixIpcServer& Server() { return server_; }
    // false holds the server back until true again (from any thread): it accepts and answers
    // nothing meanwhile, as a simulator that is busy for a moment.
    void Serve(bool serve);

private:
    OffsetSpace space_;
    std::mutex lock_;
    PosixIpcServer server_;
    std::atomic<bool> serving_{false};
    std::thread thread_;
};

// Fills the listen queue of the socket at path with idle connections until it takes no more.
std::vector<int> FillListenQueue(const std::string& path);

// A scripted server: listens as FS98MAIN and hands each request's mapping name to `reply`,
// which may change the block (it gets the mapped view, or null) and returns the answer line
// to send ("" sends nothing). Counts the requests it saw.
class FakeServer {
public:
    using Reply = std::function<std::string(std::uint8_t* block)>;
    FakeServer(const std::string& dir, Reply reply);
    ~FakeServer();
    int Requests() const { return requests_; }

private:
    void Serve();
    std::string path_;
    Reply reply_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

// vantrel-sim as a child process with pipes to its standard input and output.
class SimProcess {
public:
    SimProcess(const std::string& dir, std::vector<std::string> args = {});
    ~SimProcess();
    // Waits until a line of output contains the text; false after timeout_ms.
    bool WaitFor(const std::string& text, int timeout_ms = 5000);
    void Send(const std::string& line);
    void Kill(); // SIGKILL, as a crash would
    int Stop();  // "quit" on standard input; returns the exit status
    const std::string& Output() const { return output_; }

private:
    PipedChild child_;
    std::string output_;
};

// The path of a program the build puts beside the main program.
std::string ProgramPath(const std::string& name);

} // namespace vantrel::test
