// A simulator that hangs on a fuel write and then wakes up: the message it was serving goes on
// late, and must find nothing it was not sent with. Through the Windows client and through the
// bridge alike, under Wine against vantrel-winsim.exe.
#include "wine_support.h"

#include "ipc/bridge_transport.h"
#include "ipc/ipc_client.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace vantrel::wine {
namespace {

constexpr std::uint32_t kLeftTankLevel = 0x0B7C;
// Every send waits 300 ms, so a hang of the server outlasts all eleven of one exchange.
constexpr int kSendTimeoutMs = 300;

// A simulator stalls on the message carrying a fuel write: before it reads the block, or right
// after it applied it. The level 1111 is applied at most once, and the late message never
// applies the next request's block (2222), which is applied exactly once.
TEST(LateMessageTest, AWriteIsAppliedAtMostOnceAndALateMessageNeverAppliesTheNextBlock) {
    if (!Available()) GTEST_SKIP() << "wine is not installed";
    struct Case {
        const char* what;
        std::string arm;     // the server's command
        std::string hanging; // what it prints when the hang begins
        std::string writes;  // blocks that wrote the level, in all
    };
    const Case cases[] = {
        {"stalled before the read", "hang-before-read 60000", "hanging before the read", "writes 1"},
        {"hung after the write", "hang-after-write 0B7C 60000", "hanging after the write", "writes 2"},
    };
    for (const bool through_bridge : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(through_bridge ? "through the bridge, " : "the Windows client, ") +
                         c.what);
            char pattern[] = "/tmp/vantrel-late-test-XXXXXX";
            const std::string dir = mkdtemp(pattern);
            setenv("VANTREL_IPC_DIR", dir.c_str(), 1);
            Program server("vantrel-winsim.exe");
            ASSERT_NE(server.WaitFor("ready"), "");
            Program helper(through_bridge ? "vantrel-bridge.exe" : "link-driver.exe");
            IpcClient client(std::make_unique<NativeTransport>(dir), IpcTimings{kSendTimeoutMs, 20, 10, 0});
            std::uint32_t result = 0;
            if (through_bridge) {
                ASSERT_NE(helper.WaitFor("vantrel-bridge: listening"), "");
                ASSERT_TRUE(client.FSUIPC_Open(0, result)) << result;
            } else {
                ASSERT_NE(helper.WaitFor("ready"), "");
                ASSERT_EQ(helper.Ask("timings " + std::to_string(kSendTimeoutMs) + " 20"), "timings");
                ASSERT_EQ(helper.Ask("open").substr(0, 8), "open 1 0");
            }
            // The level written in one exchange; the result code.
            auto write = [&](std::uint32_t level) {
                if (!through_bridge) {
                    helper.Ask("write 0B7C 4 " + std::to_string(level));
                    return Words(helper.Ask("process", 60000)).at(2);
                }
                client.FSUIPC_Write(kLeftTankLevel, 4, &level, result);
                client.FSUIPC_Process(result);
                return std::to_string(result);
            };

            ASSERT_EQ(server.Ask(c.arm), "armed");
            // No answer to that send nor to any of its ten retries.
            EXPECT_EQ(write(1111), "11");
            EXPECT_NE(server.WaitFor(c.hanging), "");
            // The next level is sent while the late message still waits; the server wakes up
            // during its sends.
            std::thread waker([&server] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1000));
                server.Send("resume");
            });
            EXPECT_EQ(write(2222), "0");
            waker.join();
            EXPECT_EQ(server.Ask("writes 0B7C"), c.writes);
            EXPECT_EQ(server.Ask("get 0B7C 4"), "value 2222");
            client.FSUIPC_Close();
            // Gone with its windows before the next case looks for one.
            server.Send("quit");
            EXPECT_EQ(server.Wait(), 0);
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        }
    }
}

} // namespace
} // namespace vantrel::wine
