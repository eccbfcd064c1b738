// Feeds arbitrary answered blocks to the client's answer walk: whatever the server left in
// the block, copies stay inside the block and inside the pending destinations.
#include "ipc/ipc_answer_walk.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A few destinations of different sizes, each its own allocation so an overrun is caught.
    static const std::uint32_t kSizes[] = {1, 2, 4, 8, 100};
    std::vector<std::unique_ptr<std::uint8_t[]>> buffers;
    vantrel::PendingDestinations pending;
    for (std::uint32_t s : kSizes) {
        buffers.push_back(std::make_unique<std::uint8_t[]>(s));
        pending.Add(buffers.back().get(), s);
    }
    pending.Add(nullptr, 4);

    std::vector<std::uint8_t> block(data, data + size);
    std::vector<vantrel::AnswerCopy> copies;
    if (vantrel::WalkAnswers(block.data(), block.size(), pending, copies))
        vantrel::ApplyAnswers(block.data(), copies);
    return 0;
}
