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

// One way to the server: writes the left tank's level in one exchange; the result code.
class FuelWriter {
public:
    virtual ~FuelWriter() = default;
    virtual bool Open() = 0;
    virtual std::uint32_t Write(std::uint32_t level) = 0;
};

// The Windows client in link-driver.exe.
class WindowsClientWriter : public FuelWriter {
public:
    bool Open() override {
        return driver_.WaitFor("ready") != "" &&
               driver_.Ask("timings " + std::to_string(kSendTimeoutMs) + " 20") == "timings" &&
               driver_.Ask("open").substr(0, 8) == "open 1 0";
    }
    std::uint32_t Write(std::uint32_t level) override {
        driver_.Ask("write 0B7C 4 " + std::to_string(level));
        const std::vector<std::string> reply = Words(driver_.Ask("process", 60000));
        return reply.size() > 2 ? std::uint32_t(std::stoul(reply[2])) : 99;
    }

private:
    Program driver_{"link-driver.exe"};
};

// The native client through vantrel-bridge.exe.
class BridgeClientWriter : public FuelWriter {
public:
    explicit BridgeClientWriter(const std::string& dir)
        : client_(std::make_unique<NativeTransport>(dir), IpcTimings{kSendTimeoutMs, 20, 10, 0}) {}
    bool Open() override {
        std::uint32_t result = 0;
        return bridge_.WaitFor("vantrel-bridge: listening") != "" && client_.FSUIPC_Open(0, result);
    }
    std::uint32_t Write(std::uint32_t level) override {
        std::uint32_t result = 0;
        client_.FSUIPC_Write(kLeftTankLevel, 4, &level, result);
        client_.FSUIPC_Process(result);
        return result;
    }

private:
    Program bridge_{"vantrel-bridge.exe"};
    IpcClient client_;
};

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
            std::unique_ptr<FuelWriter> writer;
            if (through_bridge) {
                writer = std::make_unique<BridgeClientWriter>(dir);
            } else {
                writer = std::make_unique<WindowsClientWriter>();
            }
            ASSERT_TRUE(writer->Open());

            ASSERT_EQ(server.Ask(c.arm), "armed");
            // No answer to that send nor to any of its ten retries.
            EXPECT_EQ(writer->Write(1111), 11u);
            EXPECT_NE(server.WaitFor(c.hanging), "");
            // The next level is sent while the late message still waits; the server wakes up
            // during its sends.
            std::thread waker([&server] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1000));
                server.Send("resume");
            });
            EXPECT_EQ(writer->Write(2222), 0u);
            waker.join();
            EXPECT_EQ(server.Ask("writes 0B7C"), c.writes);
            EXPECT_EQ(server.Ask("get 0B7C 4"), "value 2222");
            writer.reset();
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        }
    }
}

} // namespace
} // namespace vantrel::wine
