// FS2004 and its interface module are 32-bit programs: the 32-bit (i686) stand-in serves the
// 64-bit Windows clients, and the 32-bit bridge links the native programs, in the shared 64-bit
// prefix and in a 32-bit one (WINEARCH=win32), where pilots run the simulator.
#include "windows_program_support.h"

#include <cstdlib>

namespace vantrel::wine {
namespace {

// What a fresh stand-in shows (a parked aircraft in standard weather), and one write.
const std::vector<std::string> kReadsAndWrite = {"ipc",    "--write",  "0x0574:4=3048", "--read",  "0x0F48:2",
                                                 "--read", "0x0366:2", "--read",        "0x0B7C:4"};
const char* const kQnh = "\"offset\": \"0x0F48\", \"size\": 2, \"hex\": \"543F\"";
const char* const kOnGround = "\"offset\": \"0x0366\", \"size\": 2, \"hex\": \"0100\"";
const char* const kLeftTank = "\"offset\": \"0x0B7C\", \"size\": 4, \"hex\": \"6EA64B00\"";

class ThirtyTwoBitTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Available()) GTEST_SKIP() << "wine is not installed";
        if (!fs::exists(ThirtyTwoBit("vantrel-bridge.exe")))
            GTEST_SKIP() << "the 32-bit programs were not built";
        char pattern[] = "/tmp/vantrel-wine32-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        setenv("VANTREL_IPC_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir_.empty()) fs::remove_all(dir_, ignored);
    }
    static std::unique_ptr<Program> StartServer(Prefix prefix) {
        auto server = std::make_unique<Program>(ThirtyTwoBit("vantrel-winsim.exe"),
                                                std::vector<std::string>{}, false, prefix);
        EXPECT_NE(server->WaitFor("ready", 60000), "") << server->Output();
        return server;
    }
    static void Stop(Program& server) {
        server.Send("quit");
        EXPECT_EQ(server.Wait(), 0);
    }
    static void ExpectReadsAndWrite(const std::string& json, Program& server) {
        EXPECT_NE(json.find("\"open\": {\"result\": 0"), std::string::npos) << json;
        EXPECT_NE(json.find("\"process\": {\"result\": 0"), std::string::npos) << json;
        for (const char* value : {kQnh, kOnGround, kLeftTank})
            EXPECT_NE(json.find(value), std::string::npos) << value << " in " << json;
        EXPECT_EQ(server.Ask("get 0574 4"), "value 3048");
    }

    std::string dir_;
};

TEST_F(ThirtyTwoBitTest, TheSixtyFourBitClientLinksToTheThirtyTwoBitStandIn) {
    auto server = StartServer(Prefix::kShared);
    Program driver("link-driver.exe");
    ASSERT_NE(driver.WaitFor("ready"), "");
    EXPECT_EQ(driver.Ask("open"), "open 1 0 36140000 7");
    for (const char* read : {"read F48 2", "read 366 2", "read B7C 4"})
        EXPECT_EQ(driver.Ask(read), "read 1 0");
    EXPECT_EQ(driver.Ask("write 574 4 3048"), "write 1 0");
    const std::vector<std::string> process = Words(driver.Ask("process"));
    ASSERT_EQ(process.size(), 7u);
    EXPECT_EQ(process[2], "0");
    EXPECT_EQ(std::vector<std::string>(process.begin() + 4, process.end()),
              (std::vector<std::string>{"16212", "1", "4957806"}));
    EXPECT_EQ(server->Ask("get 0574 4"), "value 3048");
    EXPECT_EQ(driver.Ask("close"), "closed");
    Stop(*server);
}

TEST_F(ThirtyTwoBitTest, TheNativeCommandLineLinksThroughTheThirtyTwoBitBridgeInEitherPrefix) {
    for (const Prefix prefix : {Prefix::kShared, Prefix::kWin32}) {
        SCOPED_TRACE(prefix == Prefix::kShared ? "64-bit prefix" : "32-bit prefix");
        if (prefix == Prefix::kWin32 && !Win32Available()) {
            std::printf("skipped (no 32-bit Wine): the 32-bit prefix\n");
            continue;
        }
        auto server = StartServer(prefix);
        Program bridge(ThirtyTwoBit("vantrel-bridge.exe"), {}, false, prefix);
        ASSERT_NE(bridge.WaitFor("vantrel-bridge: listening", 60000), "") << bridge.Output();
        Program cli("vantrel-cli", kReadsAndWrite, true);
        ExpectReadsAndWrite(cli.Line(), *server);
        bridge.Interrupt();
        EXPECT_EQ(bridge.Wait(), 0);
        Stop(*server);
    }
}

// The Windows program's command line (64-bit) against the 32-bit stand-in.
TEST_F(ThirtyTwoBitTest, TheSixtyFourBitCommandLineReadsAndWritesTheThirtyTwoBitStandIn) {
    const fs::path cli = fs::path(VANTREL_WINDOWS_DIR) / "vantrel-cli.exe";
    if (!fs::exists(cli)) GTEST_SKIP() << "the Windows program was not built (no Windows kit)";
    auto server = StartServer(Prefix::kShared);
    Program windows_cli(cli.string(), kReadsAndWrite);
    ExpectReadsAndWrite(windows_cli.Line(60000), *server);
    Stop(*server);
}

} // namespace
} // namespace vantrel::wine
