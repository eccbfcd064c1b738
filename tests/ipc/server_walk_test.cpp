// The server's record walk and offset space, in process.
#include "ipc/ipc_server_walk.h"
#include "ipc/ipc_wire.h"
#include "ipc/offset_space.h"

#include <gtest/gtest.h>
#include <vector>

namespace vantrel {
namespace {

// Builds blocks record by record.
struct BlockBuilder {
    std::vector<std::uint8_t> bytes;
    void U32(std::uint32_t v) {
        bytes.resize(bytes.size() + 4);
        ipc::StoreU32(bytes.data() + bytes.size() - 4, v);
    }
    BlockBuilder& Read(std::uint32_t offset, std::uint32_t size, std::uint32_t token = 1) {
        U32(1), U32(offset), U32(size), U32(token);
        bytes.resize(bytes.size() + size);
        return *this;
    }
    // A read header whose answer area is not laid out (for sizes that cannot fit).
    BlockBuilder& ReadHeader(std::uint32_t offset, std::uint32_t size) {
        U32(1), U32(offset), U32(size), U32(1);
        return *this;
    }
    BlockBuilder& Write(std::uint32_t offset, std::vector<std::uint8_t> data) {
        U32(2), U32(offset), U32(std::uint32_t(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    BlockBuilder& End() {
        U32(0);
        return *this;
    }
};

class ServerWalkTest : public ::testing::Test {
protected:
    OffsetSpace space{0x36140000, 0xFADE0007};
    int writes = 0;
    void SetUp() override {
        space.on_write = [this](std::uint32_t, const std::uint8_t*, std::uint32_t) { ++writes; };
    }
    bool Serve(std::vector<std::uint8_t>& block) { return ServeBlock(block.data(), block.size(), space); }
};

TEST_F(ServerWalkTest, AppliesRecordsInOrder) {
    auto block = BlockBuilder().Read(0x0574, 4).Write(0x0574, {1, 2, 3, 4}).Read(0x0574, 4).End().bytes;
    ASSERT_TRUE(Serve(block));
    EXPECT_EQ(ipc::LoadU32(block.data() + 16), 0u);
    EXPECT_EQ(ipc::LoadU32(block.data() + 20 + 16 + 16), 0x04030201u);
}

TEST_F(ServerWalkTest, ServesTheVersionsAndRecordsTheClientVersionApart) {
    auto block = BlockBuilder().Write(0x330A, {0xEC, 0x03}).Read(0x3304, 8).End().bytes;
    ASSERT_TRUE(Serve(block));
    EXPECT_EQ(ipc::LoadU32(block.data() + 14 + 16), 0x36140000u);
    EXPECT_EQ(ipc::LoadU32(block.data() + 14 + 20), 0xFADE0007u);
    EXPECT_EQ(space.ClientLibraryVersion(), 1004);
}

TEST_F(ServerWalkTest, AFaultAnywhereAppliesNothing) {
    const std::vector<std::vector<std::uint8_t>> faulty = {
        BlockBuilder().Write(0x0100, {9}).Read(0xFFFE, 4).End().bytes,                // passes 0x10000
        BlockBuilder().Write(0x0100, {9}).ReadHeader(0x0010, 0xFFFFFFF8).End().bytes, // size wraps in 32 bits
        BlockBuilder().Write(0x0100, {9}).Write(0xFFFFFFFF, {1}).End().bytes,         // offset wraps
        BlockBuilder().Write(0x0100, {9}).bytes,                                      // no terminator
        [] {
            auto b = BlockBuilder().Write(0x0100, {9});
            b.U32(3);
            return b.End().bytes;
        }(), // unknown id
        [] {
            auto b = BlockBuilder().Write(0x0100, {9});
            b.U32(1);
            b.U32(0);
            return b.bytes;
        }(), // cut header
    };
    for (auto block : faulty) {
        const auto before = block;
        EXPECT_FALSE(Serve(block));
        EXPECT_EQ(block, before);
    }
    EXPECT_EQ(writes, 0);
    std::uint8_t b = 0;
    space.ReadOffsets(0x0100, &b, 1);
    EXPECT_EQ(b, 0);
}

TEST_F(ServerWalkTest, OnlyTheUsablePartOfTheBlockCounts) {
    std::vector<std::uint8_t> block(ipc::kBlockSize, 0);
    BlockBuilder b;
    b.Read(0, ipc::kUsableSize - 16 - 4 + 1); // terminator would fall past the usable part
    std::copy(b.bytes.begin(), b.bytes.begin() + 16, block.begin());
    EXPECT_FALSE(ServeBlock(block.data(), block.size(), space));
    BlockBuilder fits;
    fits.Read(0, ipc::kUsableSize - 16 - 4);
    std::fill(block.begin(), block.end(), 0);
    std::copy(fits.bytes.begin(), fits.bytes.begin() + 16, block.begin());
    EXPECT_TRUE(ServeBlock(block.data(), block.size(), space));
}

TEST_F(ServerWalkTest, EmptyBlockIsServed) {
    auto block = BlockBuilder().End().bytes;
    EXPECT_TRUE(Serve(block));
    std::vector<std::uint8_t> none;
    EXPECT_FALSE(Serve(none));
}

TEST(RelayCheckTest, ABlockIsMeasuredAndItsAnswerMayOnlyFillReadAreas) {
    const auto sent = BlockBuilder().Write(0x0574, {1, 2, 3, 4}).Read(0x0574, 4).End().bytes;
    std::size_t used = 0;
    ASSERT_TRUE(CheckBlock(sent.data(), sent.size() + 100, used));
    EXPECT_EQ(used, sent.size());
    struct Case {
        const char* what;
        std::size_t byte; // changed in the answer
        bool accepted;
    };
    const Case cases[] = {
        {"read answer area", 16 + 16, true}, {"write offset", 4, false},     {"write data", 12, false},
        {"read size", 16 + 8, false},        {"read token", 16 + 12, false}, {"terminator", 16 + 20, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto answered = sent;
        answered[c.byte] ^= 0x40;
        EXPECT_EQ(SameRequests(sent.data(), answered.data(), used), c.accepted);
    }
    auto unterminated = BlockBuilder().Read(0x0574, 4).bytes;
    EXPECT_FALSE(CheckBlock(unterminated.data(), unterminated.size(), used));
}

} // namespace
} // namespace vantrel
