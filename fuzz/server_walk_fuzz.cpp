// Feeds arbitrary blocks to the server's record walk: it must never read or write outside
// the block or the offset space, and must apply nothing from a block it refuses.
#include "ipc/ipc_server_walk.h"
#include "ipc/ipc_wire.h"
#include "ipc/offset_space.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vantrel::OffsetSpace space(0x36140000, 0xFADE0007);
    bool wrote = false;
    space.on_write = [&wrote](std::uint32_t, const std::uint8_t*, std::uint32_t) { wrote = true; };

    // The block exactly as long as the input, so any overrun hits the sanitizer's red zone.
    std::vector<std::uint8_t> block(data, data + size);
    const bool served = vantrel::ServeBlock(block.data(), block.size(), space);
    if (!served && wrote) std::abort();
    // An empty input may come as a null pointer, which memcmp must not see.
    if (!served && size > 0 && std::memcmp(block.data(), data, size) != 0) std::abort();
    return 0;
}
