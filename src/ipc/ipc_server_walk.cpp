#include "ipc/ipc_server_walk.h"

#include "ipc/ipc_wire.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

namespace {

// Walks the records without touching anything; calls visit(id, offset, size, position of the
// data or answer area) for each. Returns false on the first fault; `used` gets the bytes up
// to and including the terminator.
template <typename Visit>
bool WalkRecords(const std::uint8_t* block, std::size_t length, Visit&& visit, std::size_t* used = nullptr) {
    std::uint64_t pos = 0;
    for (;;) {
        if (pos + ipc::kTerminatorSize > length) return false;
        const std::uint32_t id = ipc::LoadU32(block + pos);
        if (id == 0) {
            if (used != nullptr) *used = std::size_t(pos + ipc::kTerminatorSize);
            return true;
        }
        std::uint64_t header = 0;
        if (id == ipc::kReadRecord) {
            header = ipc::kReadHeaderSize;
        } else if (id == ipc::kWriteRecord) {
            header = ipc::kWriteHeaderSize;
        } else {
            return false;
        }
        if (pos + header > length) return false;
        const std::uint32_t offset = ipc::LoadU32(block + pos + 4);
        const std::uint32_t size = ipc::LoadU32(block + pos + 8);
        if (std::uint64_t(offset) + size > ipc::kOffsetSpaceSize) return false;
        const std::uint64_t end = pos + header + size;
        if (end > length) return false;
        visit(id, offset, size, std::size_t(pos + header));
        pos = end;
    }
}

} // namespace

bool ServeBlock(std::uint8_t* block, std::size_t length, OffsetHandler& handler) {
    length = std::min(length, ipc::kUsableSize);
    if (!WalkRecords(block, length, [](std::uint32_t, std::uint32_t, std::uint32_t, std::size_t) {}))
        return false;
    WalkRecords(block, length,
                [&](std::uint32_t id, std::uint32_t offset, std::uint32_t size, std::size_t at) {
                    if (id == ipc::kReadRecord)
                        handler.ReadOffsets(offset, block + at, size);
                    else
                        handler.WriteOffsets(offset, block + at, size);
                });
    return true;
}

bool CheckBlock(const std::uint8_t* block, std::size_t length, std::size_t& used) {
    length = std::min(length, ipc::kUsableSize);
    return WalkRecords(
        block, length, [](std::uint32_t, std::uint32_t, std::uint32_t, std::size_t) {}, &used);
}

bool SameRequests(const std::uint8_t* sent, const std::uint8_t* answered, std::size_t used) {
    std::size_t checked = 0;
    bool same = true;
    const bool walked = WalkRecords(
        sent, used,
        [&](std::uint32_t id, std::uint32_t, std::uint32_t size, std::size_t at) {
            const std::size_t header = id == ipc::kReadRecord ? ipc::kReadHeaderSize : ipc::kWriteHeaderSize;
            const std::size_t start = at - header;
            const std::size_t compared = id == ipc::kReadRecord ? header : header + size;
            if (std::memcmp(sent + start, answered + start, compared) != 0) same = false;
        },
        &checked);
    if (!walked || checked != used) return false;
    return same && std::memcmp(sent + used - ipc::kTerminatorSize, answered + used - ipc::kTerminatorSize,
                               ipc::kTerminatorSize) == 0;
}

} // namespace vantrel
