#include "ipc/ipc_answer_walk.h"

#include "ipc/ipc_wire.h"

#include <cstring>

namespace vantrel {

namespace {
constexpr bool kAddressTokens = sizeof(void*) <= sizeof(std::uint32_t);
}

std::uint32_t PendingDestinations::Add(void* address, std::uint32_t size) {
    if (address == nullptr) return 0;
    entries_.push_back({address, size});
    if constexpr (kAddressTokens)
        return std::uint32_t(reinterpret_cast<std::uintptr_t>(address));
    else
        return std::uint32_t(entries_.size());
}

const PendingDestinations::Entry* PendingDestinations::Find(std::uint32_t token) const {
    if (token == 0) return nullptr;
    if constexpr (kAddressTokens) {
        for (const Entry& e : entries_)
            if (std::uint32_t(reinterpret_cast<std::uintptr_t>(e.address)) == token) return &e;
        return nullptr;
    } else {
        return token <= entries_.size() ? &entries_[token - 1] : nullptr;
    }
}

bool WalkAnswers(const std::uint8_t* block, std::size_t length, const PendingDestinations& pending,
                 std::vector<AnswerCopy>& copies) {
    copies.clear();
    std::uint64_t pos = 0;
    for (;;) {
        if (pos + ipc::kTerminatorSize > length) return false;
        const std::uint32_t id = ipc::LoadU32(block + pos);
        if (id != ipc::kReadRecord && id != ipc::kWriteRecord) return true;
        const std::uint64_t header = id == ipc::kReadRecord ? ipc::kReadHeaderSize : ipc::kWriteHeaderSize;
        if (pos + header > length) return false;
        const std::uint32_t size = ipc::LoadU32(block + pos + 8);
        const std::uint64_t end = pos + header + size;
        if (end > length) return false;
        if (id == ipc::kReadRecord && size > 0) {
            const std::uint32_t token = ipc::LoadU32(block + pos + 12);
            if (token != 0) {
                const PendingDestinations::Entry* dest = pending.Find(token);
                if (dest == nullptr || size > dest->size) return false;
                copies.push_back({dest->address, std::size_t(pos + header), size});
            }
        }
        pos = end;
    }
}

void ApplyAnswers(const std::uint8_t* block, const std::vector<AnswerCopy>& copies) {
    for (const AnswerCopy& c : copies)
        std::memcpy(c.to, block + c.from, c.size);
}

} // namespace vantrel
