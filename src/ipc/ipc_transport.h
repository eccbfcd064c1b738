#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace vantrel {

// The operating-system carriers of the exchange, one step each, so that the client's
// algorithm is the same over window messages (Windows) and over the posix substitute.
class IpcTransport {
public:
    virtual ~IpcTransport() = default;

    // Looks for the server: "UIPCMAIN" first, then "FS98MAIN". False when neither is there;
    // through_fs98 tells which one was found.
    virtual bool FindServer(bool& through_fs98) = 0;
    virtual bool RegisterMessage() = 0;
    virtual bool AddNameAtom(const std::string& mapping_name) = 0;
    // Creates the block under the name; false when that fails or the name already existed.
    virtual bool CreateMapping(const std::string& mapping_name, std::size_t size) = 0;
    // Maps the block; null on failure.
    virtual std::uint8_t* MapView() = 0;

    enum class SendOutcome { kAnswered, kTimedOut, kFailed };
    // Hands the block to the server once and waits at most timeout_ms for its answer.
    virtual SendOutcome Send(int timeout_ms, std::uintptr_t& answer) = 0;
    virtual void Pause(int ms) = 0;
    // Releases whatever the steps above created; safe to call at any time.
    virtual void Close() = 0;
};

// The transport of this platform: window messages on Windows, the posix substitute elsewhere.
std::unique_ptr<IpcTransport> MakePlatformTransport();

// "FsasmLib:IPC:<process id hex>:<counter hex>", upper-case hex without leading zeros.
std::string MappingName(std::uint32_t process_id, std::uint32_t counter);

// A counter for a fresh block name of this process, never given out twice (thread-safe). A
// block whose message went unanswered is replaced by one under a fresh name, so that the late
// message can only find its own block, never the next request's.
std::uint32_t NextMappingCounter();

// The id of this process, as the block's name carries it.
std::uint32_t CurrentProcessId();

} // namespace vantrel
