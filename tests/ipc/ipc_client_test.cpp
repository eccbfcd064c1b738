// The client over the real posix transport against the real server on a test thread.
#include "ipc_test_support.h"

#include "ipc/ipc_wire.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {
namespace {

using test::InProcessServer;
using test::MakeClient;
using test::TempIpcDir;

bool MappingExists(const std::string& name) {
    const int fd = shm_open(("/" + name).c_str(), O_RDONLY, 0);
    if (fd < 0) return false;
    close(fd);
    return true;
}

std::string OwnMappingName() {
    return MappingName(CurrentProcessId(), 1);
}

class IpcClientTest : public ::testing::Test {
protected:
    TempIpcDir dir;
    std::uint32_t result = 99;
};

TEST_F(IpcClientTest, OpenHandshakesAndKeepsTheSimulatorCode) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcOk);
    EXPECT_EQ(client->FsuipcVersion(), 0x36140000u);
    EXPECT_EQ(client->SimulatorVersion(), 7u);
    EXPECT_EQ(server.Space().ClientLibraryVersion(), 1004);
    EXPECT_EQ(server.Space().GetU32(ipc::kSimulatorVersionOffset), 0xFADE0007u); // not overwritten
    EXPECT_TRUE(MappingExists(OwnMappingName()));
    client->FSUIPC_Close();
    EXPECT_FALSE(MappingExists(OwnMappingName()));
}

TEST_F(IpcClientTest, OpeningWhileOpenGivesOneAndKeepsTheLink) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcAlreadyOpen);
    std::uint16_t qnh = 0;
    server.Space().SetU16(0x0F48, 1013 * 16);
    ASSERT_TRUE(client->FSUIPC_Read(0x0F48, 2, &qnh, result));
    ASSERT_TRUE(client->FSUIPC_Process(result));
    EXPECT_EQ(qnh, 1013 * 16);
}

TEST_F(IpcClientTest, NoServerGivesTwoAndCreatesNothing) {
    auto client = MakeClient(dir.Path());
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcNoServer);
    EXPECT_FALSE(client->IsOpen());
    EXPECT_FALSE(MappingExists(OwnMappingName()));
}

TEST_F(IpcClientTest, AFolderOthersCanWriteCountsAsNoServer) {
    InProcessServer server(dir.Path());
    chmod(dir.Path().c_str(), 0777);
    auto client = MakeClient(dir.Path());
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcNoServer);
    chmod(dir.Path().c_str(), 0700);
}

TEST_F(IpcClientTest, AnExistingMappingNameGivesFiveAndIsLeftAlone) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result)); // the first open of the process has run
    client->FSUIPC_Close();
    const std::string object = "/" + OwnMappingName();
    const int fd = shm_open(object.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcMappingFailed);
    EXPECT_FALSE(client->IsOpen());
    EXPECT_TRUE(MappingExists(OwnMappingName())); // someone else's object is not removed
    close(fd);
    shm_unlink(object.c_str());
    EXPECT_TRUE(client->FSUIPC_Open(0, result));
}

struct VersionCase {
    std::uint32_t fsuipc;
    std::uint32_t simulator;
    std::uint32_t requested;
    const char* window_class;
    std::uint32_t expected;
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << std::hex << c.fsuipc << "/" << c.simulator << "/" << c.requested << "/" << c.window_class;
}

class IpcVersionTest : public IpcClientTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(IpcVersionTest, ChecksTheVersionsOfTheHandshake) {
    const VersionCase& c = GetParam();
    InProcessServer server(dir.Path(), {c.window_class}, c.fsuipc, c.simulator);
    auto client = MakeClient(dir.Path());
    EXPECT_EQ(client->FSUIPC_Open(c.requested, result), c.expected == kIpcOk);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(client->IsOpen(), c.expected == kIpcOk);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, IpcVersionTest,
    ::testing::Values(VersionCase{0x19980004, 0xFADE0007, 0, "UIPCMAIN", kIpcWrongVersion},
                      VersionCase{0x19980004, 0xFADE0007, 0, "FS98MAIN", kIpcWideClientNoServer},
                      VersionCase{0x19980005, 0xFADE0007, 0, "FS98MAIN", kIpcOk},
                      VersionCase{0x19980005, 0xFADE0008, 0, "UIPCMAIN", kIpcOk},
                      VersionCase{0x36140000, 0xBEEF0007, 0, "UIPCMAIN", kIpcWrongVersion},
                      VersionCase{0x36140000, 0xFADE0008, 7, "FS98MAIN", kIpcWrongSimulator},
                      VersionCase{0x36140000, 0xFADE0007, 7, "FS98MAIN", kIpcOk}));

TEST_F(IpcClientTest, SimulatorCodeEightPassesForAnySimulator) {
    InProcessServer server(dir.Path(), {"FS98MAIN"}, 0x19980005, 0xFADE0008);
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(client->SimulatorVersion(), 8u);
}

TEST_F(IpcClientTest, CallsOnAClosedLinkGiveNine) {
    auto client = MakeClient(dir.Path());
    std::uint32_t value = 0;
    EXPECT_FALSE(client->FSUIPC_Read(0x0574, 4, &value, result));
    EXPECT_EQ(result, kIpcNotOpen);
    EXPECT_FALSE(client->FSUIPC_Write(0x0574, 4, &value, result));
    EXPECT_EQ(result, kIpcNotOpen);
    EXPECT_FALSE(client->FSUIPC_Process(result));
    EXPECT_EQ(result, kIpcNotOpen);
    client->FSUIPC_Close(); // harmless
    client->FSUIPC_Close();
}

TEST_F(IpcClientTest, ProcessWithNothingQueuedGivesTenWithoutSending) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    const auto before = server.Server().Requests();
    EXPECT_FALSE(client->FSUIPC_Process(result));
    EXPECT_EQ(result, kIpcNothingQueued);
    EXPECT_EQ(server.Server().Requests(), before);
}

TEST_F(IpcClientTest, CapacityRuleAcceptsUpToTheLimitAndRefusesBeyond) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    std::vector<std::uint8_t> big(16000);
    ASSERT_TRUE(client->FSUIPC_Read(0x0000, 16000, big.data(), result));
    // 16016 queued: a second read may take 32512 - 16016 - 4 - 16 = 16476 bytes, not one more.
    std::vector<std::uint8_t> rest(16477);
    EXPECT_FALSE(client->FSUIPC_Read(0x0000, 16477, rest.data(), result));
    EXPECT_EQ(result, kIpcQueueFull);
    EXPECT_EQ(client->QueuedBytes(), 16016u);
    EXPECT_FALSE(client->FSUIPC_Write(0, 0xFFFFFFFF, rest.data(), result)); // no 32-bit wrap
    EXPECT_EQ(result, kIpcQueueFull);
    EXPECT_TRUE(client->FSUIPC_Read(0x0000, 16476, rest.data(), result));
    EXPECT_EQ(client->QueuedBytes(), 32508u);
    EXPECT_FALSE(client->FSUIPC_Write(0x0000, 0, nullptr, result)); // even a bare header
    EXPECT_EQ(result, kIpcQueueFull);
    EXPECT_TRUE(client->FSUIPC_Process(result));
}

TEST_F(IpcClientTest, ReadAfterWriteInOneBatchSeesTheWrite) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    const std::uint32_t full = 128 * 65536;
    std::uint32_t level = 0;
    std::uint16_t ground = 7;
    ASSERT_TRUE(client->FSUIPC_Write(0x0B7C, 4, &full, result));
    ASSERT_TRUE(client->FSUIPC_Read(0x0B7C, 4, &level, result));
    ASSERT_TRUE(client->FSUIPC_Read(0x0366, 2, &ground, result));
    ASSERT_TRUE(client->FSUIPC_Read(0x0000, 0, nullptr, result)); // a header alone
    ASSERT_TRUE(client->FSUIPC_Process(result));
    EXPECT_EQ(result, kIpcOk);
    EXPECT_EQ(level, full);
    EXPECT_EQ(ground, 0); // nobody wrote it: reads as zero
    EXPECT_EQ(client->QueuedBytes(), 0u);
}

TEST_F(IpcClientTest, WriteCopiesTheSourceAtOnce) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    std::int16_t lever = 8000;
    ASSERT_TRUE(client->FSUIPC_Write(0x088C, 2, &lever, result));
    lever = -4000;
    ASSERT_TRUE(client->FSUIPC_Process(result));
    EXPECT_EQ(std::int16_t(server.Space().GetU16(0x088C)), 8000);
}

TEST_F(IpcClientTest, ARefusedBlockGivesThirteenAndLeavesDestinations) {
    InProcessServer server(dir.Path());
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    std::uint32_t value = 0xAAAAAAAA, outside = 0;
    ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &value, result));
    ASSERT_TRUE(client->FSUIPC_Read(0xFFFE, 4, &outside, result)); // passes the end of the offsets
    EXPECT_FALSE(client->FSUIPC_Process(result));
    EXPECT_EQ(result, kIpcBadData);
    EXPECT_EQ(value, 0xAAAAAAAAu);
    EXPECT_EQ(client->QueuedBytes(), 0u);
    EXPECT_TRUE(client->IsOpen()); // the caller decides
}

TEST_F(IpcClientTest, AServerThatNeverAnswersTimesOutAfterElevenSends) {
    test::FakeServer server(dir.Path(), [](std::uint8_t* block) {
        if (block != nullptr && ipc::LoadU32(block) == ipc::kReadRecord &&
            ipc::LoadU32(block + 4) == ipc::kFsuipcVersionOffset) {
            ipc::StoreU32(block + 16, 0x36140000);
            ipc::StoreU32(block + 20 + 16, 0xFADE0007);
            return std::string("1\n");
        }
        return std::string(); // silence
    });
    IpcTimings timings = test::FastTimings();
    timings.send_timeout_ms = 50;
    auto client = MakeClient(dir.Path(), timings);
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    const int before = server.Requests();
    std::uint32_t value = 5;
    ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &value, result));
    EXPECT_FALSE(client->FSUIPC_Process(result));
    EXPECT_EQ(result, kIpcTimedOut);
    EXPECT_EQ(server.Requests() - before, 11);
    EXPECT_EQ(value, 5u);
    EXPECT_EQ(client->QueuedBytes(), 0u);
}

TEST_F(IpcClientTest, AReplyThatIsNoNumberIsAFailedSend) {
    test::FakeServer server(dir.Path(), [](std::uint8_t*) { return std::string("yes\n"); });
    auto client = MakeClient(dir.Path());
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcSendFailed);
    EXPECT_EQ(server.Requests(), 11);
    EXPECT_FALSE(client->IsOpen());
    EXPECT_FALSE(MappingExists(OwnMappingName()));
}

TEST_F(IpcClientTest, AnAnswerOtherThanOneIsBadData) {
    test::FakeServer server(dir.Path(), [](std::uint8_t*) { return std::string("0\n"); });
    auto client = MakeClient(dir.Path());
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(result, kIpcBadData);
}

// A server that answers "done" but rewrites the block must not steer the client's copies.
TEST_F(IpcClientTest, AHostileServerCannotSteerCopies) {
    int round = 0;
    std::uint32_t poison = 0;
    test::FakeServer server(dir.Path(), [&](std::uint8_t* block) {
        if (block == nullptr) return std::string("0\n");
        if (++round == 1) { // handshake
            ipc::StoreU32(block + 16, 0x36140000);
            ipc::StoreU32(block + 20 + 16, 0xFADE0007);
        } else {
            ipc::StoreU32(block + 8, poison); // the read's size, or its token
            ipc::StoreU32(block + 16, 0x11111111);
        }
        return std::string("1\n");
    });
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    for (std::uint32_t size : {8u, 0x7F00u, 0xFFFFFFF0u}) {
        poison = size;
        std::uint32_t value = 0xAAAAAAAA;
        ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &value, result));
        EXPECT_FALSE(client->FSUIPC_Process(result)) << size;
        EXPECT_EQ(result, kIpcBadData);
        EXPECT_EQ(value, 0xAAAAAAAAu);
    }
}

TEST_F(IpcClientTest, AConnectionClosedWithoutARequestIsHarmless) {
    InProcessServer server(dir.Path());
    const int probe = ConnectUnixSocket(dir.Path() + "/FS98MAIN");
    ASSERT_GE(probe, 0);
    close(probe);
    auto client = MakeClient(dir.Path());
    EXPECT_TRUE(client->FSUIPC_Open(0, result));
}

TEST_F(IpcClientTest, ServerRefusesAFolderThatIsNotPrivate) {
    chmod(dir.Path().c_str(), 0770);
    EXPECT_THROW(InProcessServer server(dir.Path()), std::runtime_error);
    chmod(dir.Path().c_str(), 0700);
    const std::string missing = dir.Path() + "/made";
    InProcessServer server(missing); // a missing folder is created, private
    struct stat st {};
    ASSERT_EQ(stat(missing.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(IpcClientTest, SecondServerInTheSameFolderRefusesToStart) {
    InProcessServer server(dir.Path());
    EXPECT_THROW(InProcessServer second(dir.Path()), std::runtime_error);
    auto client = MakeClient(dir.Path());
    EXPECT_TRUE(client->FSUIPC_Open(0, result)); // the first one still serves
}

} // namespace
} // namespace vantrel
