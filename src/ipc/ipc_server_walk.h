#pragma once
#include <cstddef>
#include <cstdint>

namespace vantrel {

// What the server side does with the records of a block: fill a read's answer area,
// take a write's data. Both are called only with offset + size inside the offset space.
class OffsetHandler {
public:
    virtual ~OffsetHandler() = default;
    virtual void ReadOffsets(std::uint32_t offset, std::uint8_t* answer, std::uint32_t size) = 0;
    virtual void WriteOffsets(std::uint32_t offset, const std::uint8_t* data, std::uint32_t size) = 0;
};

// Serves one request block in place. The whole block is checked first: known record ids only,
// every header, data and answer area and the terminator inside the first `length` bytes (at
// most the block's usable size), every offset + size inside the offset space. Any violation
// returns false and applies nothing; otherwise the records are applied in order and the result
// is true. Safe for any content of the block.
bool ServeBlock(std::uint8_t* block, std::size_t length, OffsetHandler& handler);

// Checks a block as ServeBlock does, applying nothing. On success `used` is the number of
// bytes up to and including the terminator: what a relay has to carry.
bool CheckBlock(const std::uint8_t* block, std::size_t length, std::size_t& used);

// True when `answered` holds the same records as the checked block `sent` in its first `used`
// bytes: the same headers, write data and terminator; only read answer areas may differ. A
// relay accepts a server's answer only then, so a server cannot reshape the client's block.
bool SameRequests(const std::uint8_t* sent, const std::uint8_t* answered, std::size_t used);

} // namespace vantrel
