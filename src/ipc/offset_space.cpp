#include "ipc/offset_space.h"

#include "ipc/ipc_wire.h"

namespace vantrel {

namespace {
constexpr std::uint32_t kServedFirst = ipc::kFsuipcVersionOffset;
constexpr std::uint32_t kServedEnd = ipc::kSimulatorVersionOffset + 4;
} // namespace

OffsetSpace::OffsetSpace(std::uint32_t fsuipc_version, std::uint32_t simulator_version)
    : fsuipc_version_(fsuipc_version), simulator_version_(simulator_version) {}

void OffsetSpace::SetVersions(std::uint32_t fsuipc_version, std::uint32_t simulator_version) {
    fsuipc_version_ = fsuipc_version;
    simulator_version_ = simulator_version;
}

bool OffsetSpace::IsServed(std::uint32_t offset) const {
    return offset >= kServedFirst && offset < kServedEnd;
}

std::uint8_t OffsetSpace::ServedByte(std::uint32_t offset) const {
    const std::uint32_t value = offset < ipc::kSimulatorVersionOffset ? fsuipc_version_ : simulator_version_;
    const std::uint32_t shift = 8 * ((offset - kServedFirst) % 4);
    return std::uint8_t(value >> shift);
}

void OffsetSpace::ReadOffsets(std::uint32_t offset, std::uint8_t* answer, std::uint32_t size) {
    CopyOut(offset, answer, size);
}

void OffsetSpace::CopyOut(std::uint32_t offset, std::uint8_t* answer, std::uint32_t size) const {
    for (std::uint32_t i = 0; i < size && offset + i < bytes_.size(); ++i)
        answer[i] = IsServed(offset + i) ? ServedByte(offset + i) : bytes_[offset + i];
}

void OffsetSpace::WriteOffsets(std::uint32_t offset, const std::uint8_t* data, std::uint32_t size) {
    for (std::uint32_t i = 0; i < size && offset + i < bytes_.size(); ++i) {
        const std::uint32_t at = offset + i;
        if (at == ipc::kLibraryVersionOffset)
            client_library_version_ = std::uint16_t((client_library_version_ & 0xFF00) | data[i]);
        else if (at == ipc::kLibraryVersionOffset + 1)
            client_library_version_ = std::uint16_t((client_library_version_ & 0x00FF) | data[i] << 8);
        else if (!IsServed(at))
            bytes_[at] = data[i];
    }
    if (on_write) on_write(offset, data, size);
}

std::uint32_t OffsetSpace::GetU32(std::uint32_t offset) const {
    std::uint8_t b[4];
    CopyOut(offset, b, 4);
    return ipc::LoadU32(b);
}

std::uint16_t OffsetSpace::GetU16(std::uint32_t offset) const {
    std::uint8_t b[2];
    CopyOut(offset, b, 2);
    return std::uint16_t(b[0] | b[1] << 8);
}

void OffsetSpace::SetU32(std::uint32_t offset, std::uint32_t value) {
    for (std::uint32_t i = 0; i < 4 && offset + i < bytes_.size(); ++i)
        bytes_[offset + i] = std::uint8_t(value >> (8 * i));
}

void OffsetSpace::SetU16(std::uint32_t offset, std::uint16_t value) {
    for (std::uint32_t i = 0; i < 2 && offset + i < bytes_.size(); ++i)
        bytes_[offset + i] = std::uint8_t(value >> (8 * i));
}

} // namespace vantrel
