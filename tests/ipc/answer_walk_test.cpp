// The client's walk over an answered block: only pending destinations, never past them.
#include "ipc/ipc_answer_walk.h"
#include "ipc/ipc_result.h"
#include "ipc/ipc_transport.h"
#include "ipc/ipc_wire.h"

#include <gtest/gtest.h>
#include <vector>

namespace vantrel {
namespace {

std::vector<std::uint8_t> ReadRecord(std::uint32_t size, std::uint32_t token, std::uint8_t fill) {
    std::vector<std::uint8_t> r(16 + size, fill);
    ipc::StoreU32(r.data(), 1);
    ipc::StoreU32(r.data() + 4, 0x0574);
    ipc::StoreU32(r.data() + 8, size);
    ipc::StoreU32(r.data() + 12, token);
    return r;
}

class AnswerWalkTest : public ::testing::Test {
protected:
    std::uint32_t a = 0, b = 0;
    PendingDestinations pending;
    std::uint32_t ta = 0, tb = 0;
    std::vector<AnswerCopy> copies;
    void SetUp() override {
        ta = pending.Add(&a, 4);
        tb = pending.Add(&b, 2);
    }
    bool Walk(std::vector<std::uint8_t> block) {
        block.resize(block.size() + 4, 0);
        if (!WalkAnswers(block.data(), block.size(), pending, copies)) return false;
        ApplyAnswers(block.data(), copies);
        return true;
    }
};

TEST_F(AnswerWalkTest, CopiesAnswersToTheirDestinations) {
    auto block = ReadRecord(4, ta, 0x11);
    auto second = ReadRecord(2, tb, 0x22);
    block.insert(block.end(), second.begin(), second.end());
    ASSERT_TRUE(Walk(block));
    EXPECT_EQ(a, 0x11111111u);
    EXPECT_EQ(b, 0x2222u);
}

TEST_F(AnswerWalkTest, RefusesUnknownTokensAndOversizedAnswers) {
    EXPECT_FALSE(Walk(ReadRecord(4, 77, 0x11)));
    EXPECT_FALSE(Walk(ReadRecord(4, tb, 0x11))); // b holds only 2 bytes
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 0u);
}

TEST_F(AnswerWalkTest, RefusesRecordsPastTheBlock) {
    auto block = ReadRecord(4, ta, 0x11);
    ipc::StoreU32(block.data() + 8, 0xFFFFFFFC);
    EXPECT_FALSE(Walk(block));
    std::vector<std::uint8_t> cut = {1, 0, 0, 0, 0x74, 0x05};
    EXPECT_FALSE(WalkAnswers(cut.data(), cut.size(), pending, copies));
}

TEST_F(AnswerWalkTest, AnOtherRecordIdEndsTheWalk) {
    auto block = ReadRecord(4, ta, 0x11);
    std::vector<std::uint8_t> stop = {9, 0, 0, 0};
    block.insert(block.begin(), stop.begin(), stop.end());
    EXPECT_TRUE(Walk(block));
    EXPECT_EQ(a, 0u);
}

TEST_F(AnswerWalkTest, TokenZeroAndSizeZeroCopyNothing) {
    auto block = ReadRecord(4, 0, 0x11);
    auto empty = ReadRecord(0, 55, 0);
    block.insert(block.end(), empty.begin(), empty.end());
    EXPECT_TRUE(Walk(block));
    EXPECT_TRUE(copies.empty());
    EXPECT_EQ(pending.Add(nullptr, 4), 0u);
}

TEST(IpcResultTest, TextsAndSimulatorNames) {
    EXPECT_STREQ(IpcResultText(0), "Okay");
    EXPECT_STREQ(IpcResultText(11), "IPC timed out all retries");
    EXPECT_STREQ(IpcResultText(15), "Read or Write request cannot be added, memory for Process is full");
    EXPECT_STREQ(IpcResultText(16), "");
    EXPECT_STREQ(SimulatorName(6), "FS2002");
    EXPECT_STREQ(SimulatorName(7), "");
    EXPECT_EQ(MappingName(0x1A2C, 1), "FsasmLib:IPC:1A2C:1");
}

} // namespace
} // namespace vantrel
