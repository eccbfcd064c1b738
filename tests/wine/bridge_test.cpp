// The native programs linked through vantrel-bridge.exe to the stand-in server, all Windows
// parts under Wine in the shared prefix.
#include "wine_support.h"

#include "ipc/bridge_proof.h"
#include "ipc/bridge_transport.h"
#include "ipc/ipc_client.h"
#include "ipc/ipc_wire.h"

#include <arpa/inet.h>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vantrel::wine {
namespace {

using Clock = std::chrono::steady_clock;

class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Available()) GTEST_SKIP() << "wine is not installed";
        char pattern[] = "/tmp/vantrel-bridge-test-XXXXXX";
        dir_ = mkdtemp(pattern);
        setenv("VANTREL_IPC_DIR", dir_.c_str(), 1);
        server_ = std::make_unique<Program>("vantrel-winsim.exe");
        ASSERT_NE(server_->WaitFor("ready"), "");
        StartBridge();
    }
    void TearDown() override {
        bridge_.reset();
        // Gone with its windows before the next test looks for one.
        if (server_) server_->Send("quit");
        if (server_) server_->Wait();
        server_.reset();
        std::error_code ignored;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
    }
    void StartBridge() {
        bridge_ = std::make_unique<Program>("vantrel-bridge.exe");
        ASSERT_NE(bridge_->WaitFor("vantrel-bridge: listening"), "") << bridge_->Output();
    }
    bridge::Address Address() {
        bridge::Address address;
        EXPECT_TRUE(ReadBridgeFile(dir_, address));
        return address;
    }
    std::unique_ptr<IpcClient> Client(int timeout_ms = 2000) {
        return std::make_unique<IpcClient>(std::make_unique<NativeTransport>(dir_),
                                           IpcTimings{timeout_ms, 20, 10, 0});
    }

    std::string dir_;
    std::unique_ptr<Program> server_;
    std::unique_ptr<Program> bridge_;
};

// The greeting as a client gives it: "proof ..." for the bridge's answer on the connection.
std::string ClientProof(int fd, const std::string& token) {
    const std::string nonce = bridge::FreshNonce(), hello = "hello " + nonce + "\n";
    send(fd, hello.data(), hello.size(), MSG_NOSIGNAL);
    std::string greeting;
    for (char c = 0; greeting.size() < 136 && poll(std::array{pollfd{fd, POLLIN, 0}}.data(), 1, 2000) > 0 &&
                     recv(fd, &c, 1, 0) == 1;)
        greeting += c;
    return "proof " + bridge::Proof(token, bridge::Role::kClient, nonce, greeting.substr(6, 64)) + "\n";
}

// Everything a loopback connection gets back until the peer closes it or timeout_ms pass;
// with a token, the request follows the proof.
std::string Exchange(std::uint16_t port, std::string request, int timeout_ms = 4000,
                     const std::string& token = "") {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        if (!token.empty()) request = ClientProof(fd, token) + request;
        if (!request.empty()) send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{fd, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, int(left)) <= 0) {
                reply += "<open>";
                break;
            }
            char buffer[256];
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            reply.append(buffer, std::size_t(n));
        }
    }
    close(fd);
    return reply;
}

// "send" with one 4-byte write record.
std::string WriteRequest(std::uint32_t offset, std::uint32_t value) {
    std::uint8_t block[20];
    ipc::StoreU32(block, ipc::kWriteRecord);
    ipc::StoreU32(block + 4, offset);
    ipc::StoreU32(block + 8, 4);
    ipc::StoreU32(block + 12, value);
    ipc::StoreU32(block + 16, 0);
    return "send 1000 20\n" + std::string(reinterpret_cast<const char*>(block), sizeof block);
}

TEST_F(BridgeTest, TheCommandLineLinksThroughTheBridge) {
    Program written(
        "vantrel-cli",
        {"ipc", "--write", "0x0574:4=3048", "--read", "0x0574:4", "--read", "0x3308:4", "--read", "0x0F48:2"},
        true);
    const std::string json = written.Line();
    EXPECT_NE(json.find("\"open\": {\"result\": 0"), std::string::npos) << json;
    EXPECT_NE(json.find("\"fsuipc_version\": \"0x36140000\", \"simulator_code\": 7"), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"process\": {\"result\": 0"), std::string::npos) << json;
    EXPECT_NE(json.find("\"unsigned\": 3048"), std::string::npos) << json;
    EXPECT_NE(json.find("\"hex\": \"0700DEFA\""), std::string::npos) << json;
    EXPECT_EQ(server_->Ask("get 0574 4"), "value 3048");

    Program data_load("vantrel-cli", {"ipc"}, true);
    const std::string loaded = data_load.Line();
    EXPECT_NE(loaded.find("\"process\": {\"result\": 0"), std::string::npos) << loaded;
    // A fresh stand-in shows a parked aircraft in standard weather: on the ground, QNH 1013.25.
    EXPECT_NE(loaded.find("\"offset\": \"0x0366\", \"size\": 2, \"hex\": \"0100\""), std::string::npos)
        << loaded;
    EXPECT_NE(json.find("\"offset\": \"0x0F48\", \"size\": 2, \"hex\": \"543F\""), std::string::npos) << json;
}

// The whole program without windows: the link monitor finds the simulator's window through the
// bridge, links, loses the link when the bridge dies and links again once it is back.
TEST_F(BridgeTest, TheCockpitSessionLinksThroughTheBridgeAndAgainAfterARestart) {
    namespace fs = std::filesystem;
    const fs::path program = fs::path(dir_) / "program";
    fs::create_directories(program);
    for (const char* data : {"fuel", "speeds", "airports"})
        fs::copy(fs::path(VANTREL_OUT_DIR) / data, program / data, fs::copy_options::recursive);
    fs::create_directories(fs::path(dir_) / "home");
    const std::string home = dir_ + "/home";
    setenv("VANTREL_DOCUMENTS", home.c_str(), 1);
    setenv("VANTREL_FS_PATH", (dir_ + "/nosim").c_str(), 1);
    // The stand-in serves weather from its start: nothing to set for the link.
    Program session(
        "vantrel-cli",
        {"session", "--program-dir", program.string(), "--now", "2026-12-09T23:30:00", "--utc-bias", "60"},
        true);
    ASSERT_NE(session.Line().find("\"command\":\"start\""), std::string::npos) << session.Output();
    // The first tick comes one second after the start.
    const std::string linked = session.Ask("advance 1", 30000);
    EXPECT_NE(linked.find("\"Linked\":true"), std::string::npos) << linked;
    EXPECT_NE(linked.find("\"Panel2\":{\"color\":\"#00ff00\""), std::string::npos) << linked;
    // The monitor then ticks every ten seconds, each tick a data load.
    const std::string loaded = session.Ask("advance 10", 30000);
    EXPECT_NE(loaded.find("\"ShownLinked\":1"), std::string::npos) << loaded;
    EXPECT_GE(std::stoi(Words(server_->Ask("status")).at(1)), 3);

    // Ticks until the line shows the wanted text; the line that did, or the last one.
    auto tick_until = [&](const std::string& wanted) {
        std::string line;
        for (int i = 0; i < 4 && line.find(wanted) == std::string::npos; ++i)
            line = session.Ask("advance 10", 60000);
        return line;
    };
    bridge_->Kill();
    const std::string lost = tick_until("\"Linked\":false");
    EXPECT_NE(lost.find("\"Linked\":false"), std::string::npos) << lost;
    StartBridge();
    const std::string again = tick_until("\"Linked\":true");
    EXPECT_NE(again.find("\"Linked\":true"), std::string::npos) << again;
    session.Send("close");
    EXPECT_EQ(session.Wait(30000), 0);
}

// How often the bridge's log beside it says the text, counted from the byte `from` on.
std::size_t BridgeLogCount(const std::string& text, std::uintmax_t from = 0) {
    std::ifstream in(std::string(VANTREL_WINDOWS_DIR) + "/vantrel-bridge.log", std::ios::binary);
    in.seekg(std::streamoff(from));
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.find(text) != std::string::npos;
    return count;
}

std::uintmax_t BridgeLogSize() {
    std::error_code ec;
    const std::uintmax_t size =
        std::filesystem::file_size(std::string(VANTREL_WINDOWS_DIR) + "/vantrel-bridge.log", ec);
    return ec ? 0 : size;
}

TEST_F(BridgeTest, AConnectionWithoutTheProofGetsNoAnswerAndChangesNothing) {
    const std::uintmax_t logged = BridgeLogSize();
    const bridge::Address address = Address();
    const std::string nonce(64, '5');
    const std::string hello = "hello " + nonce + "\n";
    const std::string attempts[] = {
        "",                                                          // silent: closed once its time is up
        WriteRequest(0x0574, 777),                                   // no greeting at all
        "find\n",                                                    //
        "token " + address.token + "\n" + WriteRequest(0x0574, 777), // the token shown outright
        hello + WriteRequest(0x0574, 777),                           // no proof
        hello + "proof " + std::string(64, '0') + "\n" + WriteRequest(0x0574, 777), // a wrong one
        "HELLO " + nonce + "\n",
    };
    for (const std::string& attempt : attempts) {
        SCOPED_TRACE(attempt.substr(0, 20));
        const std::string reply = Exchange(address.port, attempt);
        // At most the bridge's own proof, for the nonce it was given; nothing else.
        if (attempt.rfind(hello, 0) == 0) {
            ASSERT_EQ(reply.size(), 136u) << reply;
            EXPECT_TRUE(bridge::ProofHolds(reply.substr(71, 64), address.token, bridge::Role::kBridge, nonce,
                                           reply.substr(6, 64)));
        } else {
            EXPECT_EQ(reply, "");
        }
    }
    EXPECT_EQ(server_->Ask("get 0574 4"), "value 0");
    EXPECT_EQ(server_->Ask("status").substr(0, 18), "served 0 refused 0");
    // Each attempt is in the bridge's log; its writer thread gets there a moment later.
    const auto refused = [&] { return BridgeLogCount("connection closed without a valid proof", logged); };
    for (int i = 0; i < 100 && refused() < std::size(attempts); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(refused(), std::size(attempts));

    // With both proofs: a faulty block is refused before it reaches the server; a sound one is
    // applied.
    EXPECT_EQ(Exchange(address.port, WriteRequest(0xFFFE, 777), 1500, address.token), "0\n<open>");
    EXPECT_EQ(server_->Ask("status").substr(0, 18), "served 0 refused 0");
    EXPECT_EQ(Exchange(address.port, WriteRequest(0x0574, 777), 1500, address.token).substr(0, 5), "1 20\n");
    EXPECT_EQ(server_->Ask("get 0574 4"), "value 777");
}

TEST_F(BridgeTest, AHungSimulatorTimesOutThroughTheBridge) {
    auto client = Client(400);
    std::uint32_t result = 0;
    ASSERT_TRUE(client->FSUIPC_Open(0, result)) << result;
    server_->Send("hang 60000");
    ASSERT_EQ(server_->Line(), "hanging");
    std::uint32_t value = 0;
    client->FSUIPC_Read(0x3304, 4, &value, result);
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(client->FSUIPC_Process(result));
    EXPECT_EQ(result, 11u);
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 11 * 300);
    EXPECT_EQ(value, 0u);
    server_->Send("resume");
    EXPECT_EQ(server_->Line(), "answering");
    client->FSUIPC_Read(0x3304, 4, &value, result);
    EXPECT_TRUE(client->FSUIPC_Process(result)) << result;
    EXPECT_EQ(value, 0x36140000u);
}

TEST_F(BridgeTest, AKilledBridgeFailsTheExchangeAndARestartedOneServesTheSameLink) {
    auto client = Client(1500);
    std::uint32_t result = 0;
    ASSERT_TRUE(client->FSUIPC_Open(0, result)) << result;
    // The bridge is killed while it waits for the (busy) simulator's answer.
    server_->Send("hang 60000");
    ASSERT_EQ(server_->Line(), "hanging");
    std::uint32_t value = 0;
    client->FSUIPC_Read(0x3304, 4, &value, result);
    std::thread killer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        bridge_->Kill();
    });
    EXPECT_FALSE(client->FSUIPC_Process(result));
    killer.join();
    EXPECT_EQ(result, 12u);
    EXPECT_EQ(value, 0u);
    // Its announcement is left behind, but nothing answers there: no window.
    std::uint32_t other = 0;
    EXPECT_FALSE(Client()->FSUIPC_Open(0, other));
    EXPECT_EQ(other, 2u);

    server_->Send("resume");
    EXPECT_EQ(server_->Line(), "answering");
    StartBridge();
    client->FSUIPC_Read(0x3304, 4, &value, result);
    EXPECT_TRUE(client->FSUIPC_Process(result)) << result;
    EXPECT_EQ(value, 0x36140000u);
}

// Connections to the port that say nothing, as another local user can open them (the port is
// in /proc/net/tcp for all to read), more than the bridge has places for.
std::vector<int> SilentConnections(std::uint16_t port, int count) {
    std::vector<int> fds;
    for (int i = 0; i < count; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        fds.push_back(fd);
    }
    return fds;
}

// Another user opens silent connections, 50 a second, until more of them are open than the
// bridge has places for, and keeps them open; the owner's program comes while none has timed
// out yet. (Wine 8.0's wineserver has been seen to fail an assertion in sock_get_poll_events
// under a longer, endless crowd.)
TEST_F(BridgeTest, SilentConnectionsDoNotKeepTheOwnersProgramOut) {
    const std::uint16_t port = Address().port;
    std::atomic<bool> stop{false};
    std::vector<int> crowd;
    std::thread crowding([&] {
        while (!stop && crowd.size() < 40) {
            const std::vector<int> one = SilentConnections(port, 1);
            crowd.insert(crowd.end(), one.begin(), one.end());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    std::uint32_t result = 0;
    auto client = Client();
    const bool linked = client->FSUIPC_Open(0, result);
    std::uint32_t altitude = 1;
    EXPECT_TRUE(linked && client->FSUIPC_Read(0x0574, 4, &altitude, result) &&
                client->FSUIPC_Process(result));
    stop = true;
    crowding.join();
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(altitude, 0u);
    for (const int fd : crowd)
        close(fd);
}

// A listener on 127.0.0.1:port (taken over after the bridge there died) with a full or an
// open listen queue; it never answers.
class PortTaker {
public:
    PortTaker(std::uint16_t port, bool full) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        const int one = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // The dead bridge's socket goes with wineserver's clean-up, a moment after the process.
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
        bool bound = false;
        while (!(bound = bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) &&
               Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        listening_ = bound && listen(fd_, 0) == 0;
        if (full) queued_ = SilentConnections(port, 4);
    }
    ~PortTaker() {
        for (const int fd : queued_)
            close(fd);
        close(fd_);
    }
    bool Listening() const { return listening_; }

private:
    int fd_ = -1;
    bool listening_ = false;
    std::vector<int> queued_;
};

TEST_F(BridgeTest, AStaleAnnouncementWhosePortSomebodyTookDoesNotStopANewBridge) {
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full listen queue" : "silent listener");
        const bridge::Address stale = Address();
        bridge_->Kill();
        bridge_->Wait();
        PortTaker taker(stale.port, full);
        ASSERT_TRUE(taker.Listening());
        const Clock::time_point start = Clock::now();
        StartBridge();
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 10000);
        EXPECT_NE(Address().token, stale.token);
        std::uint32_t result = 0;
        EXPECT_TRUE(Client()->FSUIPC_Open(0, result));
        EXPECT_EQ(result, 0u);
    }
}

TEST_F(BridgeTest, TheBridgeRefusesAFolderOthersMayUse) {
    bridge_->Interrupt();
    ASSERT_EQ(bridge_->Wait(), 0);
    for (const mode_t mode : {0750, 0705}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(chmod(dir_.c_str(), mode), 0);
        Program refused("vantrel-bridge.exe");
        EXPECT_EQ(refused.Wait(), 1);
        struct stat st {};
        EXPECT_NE(stat((dir_ + "/vantrel-bridge").c_str(), &st), 0);
    }
    ASSERT_EQ(chmod(dir_.c_str(), 0700), 0);
}

TEST_F(BridgeTest, OneBridgePerFolderWhoseFileGoesWithIt) {
    const bridge::Address first = Address();
    Program second("vantrel-bridge.exe");
    EXPECT_EQ(second.Wait(), 1);
    EXPECT_EQ(Address().port, first.port);
    struct stat st {};
    ASSERT_EQ(stat((dir_ + "/vantrel-bridge").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Ctrl+C stops the bridge, which takes its announcement away.
    bridge_->Interrupt();
    EXPECT_EQ(bridge_->Wait(), 0);
    EXPECT_NE(stat((dir_ + "/vantrel-bridge").c_str(), &st), 0);
    std::uint32_t result = 0;
    EXPECT_FALSE(Client()->FSUIPC_Open(0, result));
    EXPECT_EQ(result, 2u);
}

} // namespace
} // namespace vantrel::wine
