#pragma once
#include "ipc/ipc_server_walk.h"

#include <array>
#include <cstdint>
#include <functional>

namespace vantrel {

// The server's 64 KiB offset space. Offsets nobody wrote read as zero. The version offsets
// 0x3304-0x330B are served, never stored: 0x3304 and 0x3308 read the server's version values,
// and a write to 0x330A (the client library version) is recorded apart, so it can never
// change what 0x3308 reads.
class OffsetSpace : public OffsetHandler {
public:
    OffsetSpace(std::uint32_t fsuipc_version, std::uint32_t simulator_version);

    void ReadOffsets(std::uint32_t offset, std::uint8_t* answer, std::uint32_t size) override;
    void WriteOffsets(std::uint32_t offset, const std::uint8_t* data, std::uint32_t size) override;

    // Direct access for the server's own model; these bypass the write observer.
    std::uint32_t GetU32(std::uint32_t offset) const;
    std::uint16_t GetU16(std::uint32_t offset) const;
    void SetU32(std::uint32_t offset, std::uint32_t value);
    void SetU16(std::uint32_t offset, std::uint16_t value);

    std::uint32_t FsuipcVersion() const { return fsuipc_version_; }
    std::uint32_t SimulatorVersion() const { return simulator_version_; }
    void SetVersions(std::uint32_t fsuipc_version, std::uint32_t simulator_version);
    // The last library version a client wrote to 0x330A; 0 before any.
    std::uint16_t ClientLibraryVersion() const { return client_library_version_; }

    // Called after every client write with the bytes as written.
    std::function<void(std::uint32_t offset, const std::uint8_t* data, std::uint32_t size)> on_write;

private:
    void CopyOut(std::uint32_t offset, std::uint8_t* answer, std::uint32_t size) const;
    bool IsServed(std::uint32_t offset) const;
    std::uint8_t ServedByte(std::uint32_t offset) const;

    std::array<std::uint8_t, 0x10000> bytes_{};
    std::uint32_t fsuipc_version_;
    std::uint32_t simulator_version_;
    std::uint16_t client_library_version_ = 0;
};

} // namespace vantrel
