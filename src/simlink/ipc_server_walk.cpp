#include "simlink/ipc_server_walk.h"

#include "simlink/ipc_wire.h"

#include <algorithm>

namespace vantrel {

namespace {

// Walks the records without touching anything; calls visit(id, offset, size, position of the
// data or answer area) for each. Returns false on the first fault.
template <typename Visit> bool WalkRecords(const std::uint8_t* block, std::size_t length, Visit&& visit) {
    std::uint64_t pos = 0;
    for (;;) {
        if (pos + ipc::kTerminatorSize > length) return false;
        const std::uint32_t id = ipc::LoadU32(block + pos);
        if (id == 0) return true;
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

} // namespace vantrel
