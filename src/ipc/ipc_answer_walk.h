#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel {

// The destinations of the reads queued since the last exchange. The record's 4-byte
// destination field carries a token for one of them: in a 32-bit build the destination's
// address, in a wider build its index + 1. Token 0 means "no destination".
class PendingDestinations {
public:
    std::uint32_t Add(void* address, std::uint32_t size);
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }

    struct Entry {
        void* address;
        std::uint32_t size;
    };
    // The destination a token names, or null for a token that names none.
    const Entry* Find(std::uint32_t token) const;

private:
    std::vector<Entry> entries_;
};

// One answer to copy: `size` bytes from block offset `from` to `to`.
struct AnswerCopy {
    void* to;
    std::size_t from;
    std::uint32_t size;
};

// Walks the answered block up to the terminator (or a record id other than read and write)
// and lists the copies it asks for. Every header and answer area must lie inside the first
// `length` bytes, and every read's token must name a pending destination at least as large
// as the answer; otherwise the result is false and nothing may be copied. A faulty or hostile
// server cannot make the client read or write outside the block or a destination.
bool WalkAnswers(const std::uint8_t* block, std::size_t length, const PendingDestinations& pending,
                 std::vector<AnswerCopy>& copies);

// Performs the copies a successful walk listed.
void ApplyAnswers(const std::uint8_t* block, const std::vector<AnswerCopy>& copies);

} // namespace vantrel
