#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// The shared block's wire format: request records packed back to back from the block's start,
// no padding, little-endian integers, ended by a 32-bit zero.
namespace vantrel::ipc {

inline constexpr std::size_t kBlockSize = 0x8000;
// Requests, answers and the terminator stay inside this many bytes; the rest is never used.
inline constexpr std::size_t kUsableSize = 0x7F00;
// Offsets address a 64 KiB space: offset + size may not pass this.
inline constexpr std::uint64_t kOffsetSpaceSize = 0x10000;

inline constexpr std::uint32_t kReadRecord = 1;
inline constexpr std::uint32_t kWriteRecord = 2;
inline constexpr std::size_t kReadHeaderSize = 16;
inline constexpr std::size_t kWriteHeaderSize = 12;
inline constexpr std::size_t kTerminatorSize = 4;

// Offsets of the version handshake.
inline constexpr std::uint32_t kFsuipcVersionOffset = 0x3304;
inline constexpr std::uint32_t kSimulatorVersionOffset = 0x3308;
inline constexpr std::uint32_t kLibraryVersionOffset = 0x330A;
inline constexpr std::uint16_t kLibraryVersion = 1004;
inline constexpr std::uint32_t kMinimumFsuipcVersion = 0x19980005;
inline constexpr std::uint32_t kSimulatorVersionTag = 0xFADE;

inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

} // namespace vantrel::ipc
