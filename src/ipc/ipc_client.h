#pragma once
#include "ipc/ipc_answer_walk.h"
#include "ipc/ipc_result.h"
#include "ipc/ipc_transport.h"
#include "ipc/link_log.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace vantrel {

// Waits of the exchange. The defaults are the interface's; tests shorten them.
struct IpcTimings {
    int send_timeout_ms = 2000;
    int retry_pause_ms = 100;
    int retries = 10; // after the first send
    int handshake_pause_ms = 100;
};

// The client side of the simulator interface: one shared block, requests queued into it,
// handed to the server in one exchange, answers copied back. Not thread-safe and not
// re-entrant; one link per object (and, through the block's name, one open link per process).
class IpcClient {
public:
    explicit IpcClient(std::unique_ptr<IpcTransport> transport = MakePlatformTransport(),
                       IpcTimings timings = {});
    ~IpcClient();
    IpcClient(const IpcClient&) = delete;
    IpcClient& operator=(const IpcClient&) = delete;

    // Opens the link for the requested simulator code (0 = any).
    bool FSUIPC_Open(std::uint32_t requested_simulator, std::uint32_t& result);
    // Queues a read; destination (size bytes) is filled by the next successful Process
    // and must stay valid until then. A null destination queues the read without a copy.
    bool FSUIPC_Read(std::uint32_t offset, std::uint32_t size, void* destination, std::uint32_t& result);
    // Queues a write; the bytes are copied at once.
    bool FSUIPC_Write(std::uint32_t offset, std::uint32_t size, const void* source, std::uint32_t& result);
    // Sends everything queued in one exchange and copies the answers.
    bool FSUIPC_Process(std::uint32_t& result);
    // Ends the link; safe when nothing is open.
    void FSUIPC_Close();

    // From any thread: an exchange that is out ends after its current send, and later ones send
    // once (the program is ending).
    void StopRetrying() { stop_retrying_.store(true); }
    // From any thread: the exchange that is out now ends after its current send (the user
    // switched the link off); true when one was out. Later exchanges retry as usual.
    bool CancelExchange() {
        cancels_.fetch_add(1);
        return exchanging_.load();
    }

    bool IsOpen() const { return view_ != nullptr; }
    std::uint32_t FsuipcVersion() const { return fsuipc_version_; }
    // After a successful open: the simulator code (low 16 bits of the simulator version).
    std::uint32_t SimulatorVersion() const { return simulator_version_; }
    // Bytes queued so far (0 when nothing is queued).
    std::size_t QueuedBytes() const { return next_; }

private:
    bool Reserve(std::size_t header, std::uint32_t size, std::uint32_t& result);
    bool Handshake(std::uint32_t& result);
    bool Open(std::uint32_t requested_simulator, std::uint32_t& result);
    bool Exchange(std::uint32_t& result);

    std::unique_ptr<IpcTransport> transport_;
    IpcTimings timings_;
    std::uint32_t fsuipc_version_ = 0;
    std::uint32_t simulator_version_ = 0;
    bool through_fs98_ = false;
    std::uint8_t* view_ = nullptr;
    std::size_t next_ = 0; // next record, as an offset from the view base
    PendingDestinations pending_;
    std::vector<AnswerCopy> copies_;
    std::atomic<bool> stop_retrying_{false};
    std::atomic<unsigned> cancels_{0};
    std::atomic<bool> exchanging_{false};
    LinkLog log_;
};

} // namespace vantrel
