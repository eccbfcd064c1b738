// The Windows client (window messages, global atom, named mapping, SendMessageTimeoutA) run
// under Wine against the stand-in server vantrel-winsim.exe.
#include "wine_support.h"

#include <gtest/gtest.h>

namespace vantrel::wine {
namespace {

class WindowsTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Available()) GTEST_SKIP() << "wine is not installed";
    }
    // The stand-in server, once its windows exist.
    static std::unique_ptr<Program> StartServer(std::vector<std::string> args = {}) {
        auto server = std::make_unique<Program>("vantrel-winsim.exe", std::move(args));
        EXPECT_NE(server->WaitFor("ready"), "") << server->Output();
        return server;
    }
    static std::unique_ptr<Program> StartDriver() {
        auto driver = std::make_unique<Program>("link-driver.exe");
        EXPECT_NE(driver->WaitFor("ready"), "");
        return driver;
    }
};

TEST_F(WindowsTransportTest, OpenFindsEitherWindowAndChecksTheVersions) {
    struct Case {
        bool uipc;
        std::string versions; // served by the server
        std::string open;
    };
    const Case cases[] = {
        {false, "36140000 FADE0007", "open 1 0 36140000 7"},
        {false, "19980005 FADE0008", "open 1 0 19980005 8"},
        // Too old an interface module: 14 through "FS98MAIN", 7 through "UIPCMAIN".
        {false, "19980004 FADE0007", "open 0 14"},
        {false, "36140000 12340007", "open 0 14"},
        {true, "36140000 FADE0007", "open 1 0 36140000 7"},
        {true, "19980004 FADE0007", "open 0 7"},
        {true, "36140000 12340007", "open 0 7"},
    };
    auto driver = StartDriver();
    for (const bool uipc : {false, true}) {
        auto server = StartServer(uipc ? std::vector<std::string>{"--uipc"} : std::vector<std::string>{});
        for (const Case& c : cases) {
            if (c.uipc != uipc) continue;
            SCOPED_TRACE(c.open);
            ASSERT_EQ(server->Ask("versions " + c.versions), "versions");
            EXPECT_EQ(driver->Ask("open").substr(0, c.open.size()), c.open);
            if (c.open.rfind("open 1", 0) == 0) {
                // Open while open: 1, and the link stays usable.
                EXPECT_EQ(driver->Ask("open").substr(0, 8), "open 0 1");
                EXPECT_EQ(driver->Ask("read 3304 4"), "read 1 0");
                EXPECT_EQ(Words(driver->Ask("process")).at(2), "0");
                EXPECT_EQ(Words(server->Ask("status")).at(5), "1004");
            }
            EXPECT_EQ(driver->Ask("close"), "closed");
        }
    }
}

TEST_F(WindowsTransportTest, ABatchOfReadsAndWritesIsOneExchange) {
    auto server = StartServer();
    auto driver = StartDriver();
    ASSERT_EQ(driver->Ask("open").substr(0, 8), "open 1 0");
    const std::string before = server->Ask("status");
    EXPECT_EQ(driver->Ask("write 0574 4 3048"), "write 1 0");
    EXPECT_EQ(driver->Ask("write 0B7C 4 8388608"), "write 1 0");
    EXPECT_EQ(driver->Ask("read 0574 4"), "read 1 0");
    EXPECT_EQ(driver->Ask("read 0B7C 4"), "read 1 0");
    EXPECT_EQ(driver->Ask("read 3308 4"), "read 1 0");
    EXPECT_EQ(driver->Ask("read 1000 16000"), "read 1 0");
    // The queue is full: refused with 15, the queue unchanged.
    EXPECT_EQ(driver->Ask("read 2000 16400"), "read 0 15");
    const std::vector<std::string> reply = Words(driver->Ask("process"));
    ASSERT_EQ(reply.size(), 8u);
    EXPECT_EQ(reply[1], "1");
    EXPECT_EQ(reply[4], "3048");
    EXPECT_EQ(reply[5], "8388608");
    EXPECT_EQ(reply[6], std::to_string(0xFADE0007u));
    EXPECT_EQ(server->Ask("get 0574 4"), "value 3048");
    // One exchange more than before, none refused.
    EXPECT_EQ(Words(before).at(1), "1");
    EXPECT_EQ(server->Ask("status").substr(0, 18), "served 2 refused 0");
    EXPECT_EQ(driver->Ask("process"), "process 0 10 0");
}

TEST_F(WindowsTransportTest, NoWindowGivesTwoAndCreatesNothing) {
    auto driver = StartDriver();
    EXPECT_EQ(driver->Ask("open").substr(0, 8), "open 0 2");
    EXPECT_EQ(driver->Ask("atom"), "atom 0");
    EXPECT_EQ(driver->Ask("read 0574 4"), "read 0 9");
}

TEST_F(WindowsTransportTest, AMappingNameThatExistsGivesFiveAndReleasesTheAtom) {
    auto server = StartServer();
    auto driver = StartDriver();
    EXPECT_EQ(driver->Ask("squat"), "squat 1");
    EXPECT_EQ(driver->Ask("open").substr(0, 8), "open 0 5");
    EXPECT_EQ(driver->Ask("atom"), "atom 0");
}

TEST_F(WindowsTransportTest, AKilledServerFailsEverySendAndANewOneLinksAgain) {
    auto server = StartServer();
    auto driver = StartDriver();
    ASSERT_EQ(driver->Ask("timings 2000 100"), "timings");
    ASSERT_EQ(driver->Ask("open").substr(0, 8), "open 1 0");
    server->Kill();
    EXPECT_EQ(driver->Ask("read 0574 4"), "read 1 0");
    const std::vector<std::string> failed = Words(driver->Ask("process", 60000));
    ASSERT_GE(failed.size(), 4u);
    EXPECT_EQ(failed[1], "0");
    EXPECT_TRUE(failed[2] == "12" || failed[2] == "11") << failed[2];
    // Eleven sends with ten pauses of 100 ms between them.
    EXPECT_GE(std::stoi(failed[3]), 1000);

    server = StartServer();
    EXPECT_EQ(driver->Ask("close"), "closed");
    ASSERT_EQ(driver->Ask("open").substr(0, 8), "open 1 0");
    EXPECT_EQ(driver->Ask("read 3304 4"), "read 1 0");
    EXPECT_EQ(Words(driver->Ask("process")).at(4), std::to_string(0x36140000u));
}

TEST_F(WindowsTransportTest, AHungServerTimesOutEverySend) {
    auto server = StartServer();
    auto driver = StartDriver();
    ASSERT_EQ(driver->Ask("timings 300 20"), "timings");
    ASSERT_EQ(driver->Ask("open").substr(0, 8), "open 1 0");
    server->Send("hang 60000");
    ASSERT_EQ(server->Line(), "hanging");
    EXPECT_EQ(driver->Ask("read 0574 4"), "read 1 0");
    const std::vector<std::string> timed_out = Words(driver->Ask("process", 60000));
    ASSERT_GE(timed_out.size(), 4u);
    EXPECT_EQ(timed_out[1] + " " + timed_out[2], "0 11");
    EXPECT_GE(std::stoi(timed_out[3]), 11 * 300);
    // Once the server answers again, so does the link.
    server->Send("resume");
    EXPECT_EQ(server->Line(), "answering");
    EXPECT_EQ(driver->Ask("read 3304 4"), "read 1 0");
    EXPECT_EQ(Words(driver->Ask("process")).at(2), "0");
}

} // namespace
} // namespace vantrel::wine
