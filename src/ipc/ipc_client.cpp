#include "ipc/ipc_client.h"

#include "ipc/ipc_wire.h"

#include <chrono>
#include <cstring>

namespace vantrel {

namespace {

bool Fail(std::uint32_t& result, std::uint32_t code) {
    result = code;
    return false;
}

} // namespace

IpcClient::IpcClient(std::unique_ptr<IpcTransport> transport, IpcTimings timings)
    : transport_(std::move(transport)), timings_(timings) {}

IpcClient::~IpcClient() {
    FSUIPC_Close();
}

bool IpcClient::FSUIPC_Open(std::uint32_t requested_simulator, std::uint32_t& result) {
    const bool opened = Open(requested_simulator, result);
    log_.Opened(opened, result, simulator_version_, through_fs98_);
    return opened;
}

bool IpcClient::Open(std::uint32_t requested_simulator, std::uint32_t& result) {
    if (IsOpen()) return Fail(result, kIpcAlreadyOpen);
    fsuipc_version_ = 0;
    simulator_version_ = 0;
    if (!transport_->FindServer(through_fs98_)) return Fail(result, kIpcNoServer);
    if (!transport_->RegisterMessage()) return Fail(result, kIpcRegisterMessageFailed);

    const std::string name = MappingName(CurrentProcessId(), 1);
    if (!transport_->AddNameAtom(name)) {
        FSUIPC_Close();
        return Fail(result, kIpcAtomFailed);
    }
    if (!transport_->CreateMapping(name, ipc::kBlockSize)) {
        FSUIPC_Close();
        return Fail(result, kIpcMappingFailed);
    }
    view_ = transport_->MapView();
    if (view_ == nullptr) {
        FSUIPC_Close();
        return Fail(result, kIpcViewFailed);
    }
    next_ = 0;
    pending_.Clear();

    if (!Handshake(result)) {
        FSUIPC_Close();
        return false;
    }
    if (fsuipc_version_ < ipc::kMinimumFsuipcVersion ||
        (simulator_version_ >> 16) != ipc::kSimulatorVersionTag) {
        FSUIPC_Close();
        return Fail(result, through_fs98_ ? kIpcWideClientNoServer : kIpcWrongVersion);
    }
    simulator_version_ &= 0xFFFF;
    if (requested_simulator != 0 && requested_simulator != simulator_version_) {
        FSUIPC_Close();
        return Fail(result, kIpcWrongSimulator);
    }
    result = kIpcOk;
    return true;
}

// Up to five rounds of reading both versions (and telling the server ours) while either is
// still zero, a short pause after each successful round.
bool IpcClient::Handshake(std::uint32_t& result) {
    for (int round = 0; round < 5 && (fsuipc_version_ == 0 || simulator_version_ == 0); ++round) {
        if (!FSUIPC_Read(ipc::kFsuipcVersionOffset, 4, &fsuipc_version_, result)) return false;
        if (!FSUIPC_Read(ipc::kSimulatorVersionOffset, 4, &simulator_version_, result)) return false;
        const std::uint8_t library[2] = {std::uint8_t(ipc::kLibraryVersion & 0xFF),
                                         std::uint8_t(ipc::kLibraryVersion >> 8)};
        if (!FSUIPC_Write(ipc::kLibraryVersionOffset, 2, library, result) && round == 0) return false;
        if (!FSUIPC_Process(result)) return false;
        transport_->Pause(timings_.handshake_pause_ms);
    }
    return true;
}

// The capacity rule, in 64 bits: queued + terminator + header + size <= usable size.
bool IpcClient::Reserve(std::size_t header, std::uint32_t size, std::uint32_t& result) {
    if (!IsOpen()) return Fail(result, kIpcNotOpen);
    const std::uint64_t needed = std::uint64_t(next_) + ipc::kTerminatorSize + header + size;
    if (needed > ipc::kUsableSize) return Fail(result, kIpcQueueFull);
    return true;
}

bool IpcClient::FSUIPC_Read(std::uint32_t offset, std::uint32_t size, void* destination,
                            std::uint32_t& result) {
    if (!Reserve(ipc::kReadHeaderSize, size, result)) return false;
    std::uint8_t* record = view_ + next_;
    ipc::StoreU32(record, ipc::kReadRecord);
    ipc::StoreU32(record + 4, offset);
    ipc::StoreU32(record + 8, size);
    ipc::StoreU32(record + 12, pending_.Add(destination, size));
    std::memset(record + ipc::kReadHeaderSize, 0, size);
    next_ += ipc::kReadHeaderSize + size;
    result = kIpcOk;
    return true;
}

bool IpcClient::FSUIPC_Write(std::uint32_t offset, std::uint32_t size, const void* source,
                             std::uint32_t& result) {
    if (!Reserve(ipc::kWriteHeaderSize, size, result)) return false;
    std::uint8_t* record = view_ + next_;
    ipc::StoreU32(record, ipc::kWriteRecord);
    ipc::StoreU32(record + 4, offset);
    ipc::StoreU32(record + 8, size);
    if (size > 0) std::memcpy(record + ipc::kWriteHeaderSize, source, size);
    next_ += ipc::kWriteHeaderSize + size;
    result = kIpcOk;
    return true;
}

bool IpcClient::FSUIPC_Process(std::uint32_t& result) {
    const std::size_t bytes = next_;
    const auto started = std::chrono::steady_clock::now();
    const bool answered = Exchange(result);
    if (result != kIpcNotOpen && result != kIpcNothingQueued)
        log_.Exchanged(answered, result, bytes, std::chrono::steady_clock::now() - started);
    return answered;
}

bool IpcClient::Exchange(std::uint32_t& result) {
    if (!IsOpen()) return Fail(result, kIpcNotOpen);
    if (next_ == 0) return Fail(result, kIpcNothingQueued);
    ipc::StoreU32(view_ + next_, 0);
    next_ = 0;

    std::uintptr_t answer = 0;
    IpcTransport::SendOutcome outcome = IpcTransport::SendOutcome::kFailed;
    const unsigned cancels = cancels_.load();
    exchanging_.store(true);
    for (int send = 0; send <= timings_.retries; ++send) {
        if (send > 0 && (stop_retrying_.load() || cancels_.load() != cancels)) break;
        if (send > 0) transport_->Pause(timings_.retry_pause_ms);
        outcome = transport_->Send(timings_.send_timeout_ms, answer);
        if (outcome == IpcTransport::SendOutcome::kAnswered) break;
    }
    exchanging_.store(false);
    if (outcome != IpcTransport::SendOutcome::kAnswered) {
        pending_.Clear();
        return Fail(result, outcome == IpcTransport::SendOutcome::kTimedOut ? kIpcTimedOut : kIpcSendFailed);
    }
    if (answer != 1) {
        pending_.Clear();
        return Fail(result, kIpcBadData);
    }
    // Check every answer before copying any, so a faulty block changes no destination.
    const bool sound = WalkAnswers(view_, ipc::kUsableSize, pending_, copies_);
    if (sound) ApplyAnswers(view_, copies_);
    pending_.Clear();
    if (!sound) return Fail(result, kIpcBadData);
    result = kIpcOk;
    return true;
}

void IpcClient::FSUIPC_Close() {
    if (IsOpen()) log_.Closed();
    transport_->Close();
    view_ = nullptr;
    next_ = 0;
    pending_.Clear();
}

} // namespace vantrel
