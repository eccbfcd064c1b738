// The bridge's protocol and the native client's bridge transport, without Wine: the bridge's
// session code serves loopback connections on a test thread, in front of a scripted simulator.
#include "ipc_test_support.h"

#include "ipc/bridge_proof.h"
#include "ipc/bridge_session.h"
#include "ipc/bridge_transport.h"
#include "ipc/ipc_server_walk.h"
#include "ipc/ipc_wire.h"
#include "ipc/loopback_owner.h"
#include "ipc/simulator_window.h"

#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vantrel {
namespace {

using test::TempIpcDir;

const std::string kToken(64, 'c');

// A simulator behind the bridge: the real record walk on an offset space, or a scripted fault.
class ScriptedSimulator : public BridgeSimulator {
public:
    enum class Mode { kServe, kTimeOut, kFail, kRefuse, kReshape };
    std::atomic<Mode> mode{Mode::kServe};
    std::string window_class = "FS98MAIN";
    OffsetSpace space{0x36140000, 0xFADE0007};
    std::atomic<int> exchanges{0};

    std::string FindWindowClass() override { return window_class; }
    bool WindowExists(const std::string& name) override { return name == window_class; }
    std::atomic<int> last_timeout_ms{0};
    Outcome Exchange(std::uint8_t* block, std::size_t used, int timeout_ms, std::uintptr_t& answer) override {
        ++exchanges;
        last_timeout_ms = timeout_ms;
        switch (mode.load()) {
        case Mode::kTimeOut:
            return Outcome::kTimedOut;
        case Mode::kFail:
            return Outcome::kFailed;
        case Mode::kRefuse:
            answer = 0;
            return Outcome::kAnswered;
        case Mode::kReshape:
            ServeBlock(block, used, space);
            ipc::StoreU32(block + 8, 2); // the first record's size
            answer = 1;
            return Outcome::kAnswered;
        case Mode::kServe:
            break;
        }
        answer = ServeBlock(block, used, space) ? 1 : 0;
        return Outcome::kAnswered;
    }
};

// Loopback listener with one BridgeSession per connection, announced in the folder.
class InProcessBridge {
public:
    InProcessBridge(const std::string& dir, ScriptedSimulator& simulator, mode_t file_mode = 0600)
        : simulator_(simulator) {
        listener_ = test::ListenOnLoopback(port_);
        if (listener_ < 0 || pipe(wake_) != 0) throw std::runtime_error("bridge cannot listen");
        const std::string path = dir + "/vantrel-bridge";
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, file_mode);
        const std::string text = bridge::FormatBridgeFile({port_, kToken});
        if (fd < 0 || write(fd, text.data(), text.size()) != ssize_t(text.size()))
            throw std::runtime_error("file");
        fchmod(fd, file_mode);
        close(fd);
        thread_ = std::thread([this] { Serve(); });
    }
    ~InProcessBridge() {
        [[maybe_unused]] const ssize_t n = write(wake_[1], "x", 1);
        thread_.join();
        close(listener_);
        close(wake_[0]);
        close(wake_[1]);
    }
    std::uint16_t Port() const { return port_; }
    int Connections() const { return connections_; }
    // Each later connection waits that long in the listen queue before it is accepted.
    void HoldAccept(int ms) { hold_accept_ms_ = ms; }
    // Connections accepted so far, by any bridge of the test.
    static inline std::atomic<int> accepted{0};

private:
    void Serve() {
        struct Connection {
            int fd;
            std::unique_ptr<BridgeSession> session;
        };
        std::vector<Connection> connections;
        for (;;) {
            std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
            for (const Connection& c : connections)
                fds.push_back({c.fd, POLLIN, 0});
            if (poll(fds.data(), fds.size(), 1000) < 0 || fds[0].revents) break;
            std::vector<Connection> kept;
            for (std::size_t i = 0; i < connections.size(); ++i) {
                bool keep = true;
                if (fds[2 + i].revents) {
                    char buffer[4096];
                    const ssize_t n = recv(connections[i].fd, buffer, sizeof buffer, 0);
                    std::string out;
                    keep = n > 0 && connections[i].session->Feed(buffer, std::size_t(n), out);
                    if (!out.empty()) send(connections[i].fd, out.data(), out.size(), MSG_NOSIGNAL);
                }
                if (keep) {
                    kept.push_back(std::move(connections[i]));
                } else {
                    close(connections[i].fd);
                }
            }
            connections = std::move(kept);
            if (fds[1].revents && ++connections_ > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(hold_accept_ms_));
                connections.push_back({accept(listener_, nullptr, nullptr),
                                       std::make_unique<BridgeSession>(kToken, simulator_)});
                ++accepted;
            }
        }
        for (const Connection& c : connections)
            close(c.fd);
    }

    ScriptedSimulator& simulator_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::atomic<int> connections_{0};
    std::atomic<int> hold_accept_ms_{0};
    std::thread thread_;
};

std::unique_ptr<IpcClient> BridgeClient(const std::string& dir) {
    return std::make_unique<IpcClient>(std::make_unique<NativeTransport>(dir), test::FastTimings());
}

class BridgeTransportTest : public ::testing::Test {
protected:
    TempIpcDir dir;
    ScriptedSimulator simulator;
    std::uint32_t result = 99;
};

TEST_F(BridgeTransportTest, TheClientLinksThroughTheBridge) {
    InProcessBridge bridge(dir.Path(), simulator);
    auto client = BridgeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result)) << result;
    EXPECT_EQ(client->SimulatorVersion(), 7u);
    EXPECT_EQ(simulator.space.ClientLibraryVersion(), 1004);
    const std::uint32_t altitude = 3048;
    std::uint32_t read_back = 0;
    std::vector<std::uint8_t> large(16000, 0xEE);
    ASSERT_TRUE(client->FSUIPC_Write(0x0574, 4, &altitude, result));
    ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &read_back, result));
    ASSERT_TRUE(client->FSUIPC_Read(0x1000, 16000, large.data(), result));
    ASSERT_TRUE(client->FSUIPC_Process(result)) << result;
    EXPECT_EQ(read_back, 3048u);
    EXPECT_EQ(large[15999], 0);
    EXPECT_EQ(simulator.space.GetU32(0x0574), 3048u);
    // The token is proved once per connection: the handshake and every later exchange share one.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &read_back, result));
        ASSERT_TRUE(client->FSUIPC_Process(result)) << result;
    }
    EXPECT_EQ(bridge.Connections(), 1);
}

TEST_F(BridgeTransportTest, TheWindowTheBridgeFindsDecidesTheVersionResult) {
    struct Case {
        std::string window_class;
        std::uint32_t fsuipc_version;
        std::uint32_t open_result;
    };
    for (const Case& c : {Case{"FS98MAIN", 0x19980004, 14}, Case{"UIPCMAIN", 0x19980004, 7},
                          Case{"UIPCMAIN", 0x19980005, 0}, Case{"", 0x36140000, 2}}) {
        SCOPED_TRACE(c.window_class);
        simulator.window_class = c.window_class;
        simulator.space.SetVersions(c.fsuipc_version, 0xFADE0007);
        InProcessBridge bridge(dir.Path(), simulator);
        auto client = BridgeClient(dir.Path());
        EXPECT_EQ(client->FSUIPC_Open(0, result), c.open_result == 0);
        EXPECT_EQ(result, c.open_result);
    }
}

TEST_F(BridgeTransportTest, OnlyAPrivateSoundAnnouncementIsFollowed) {
    struct Case {
        const char* what;
        mode_t file_mode;
        mode_t dir_mode;
        const char* content; // replaces the bridge's own when set
        std::uint32_t open_result;
        const char* logged; // what the client's log says of the bridge
    };
    const char* const kFileRule = "bridge refused: file rule: ";
    const Case cases[] = {
        {"private", 0600, 0700, nullptr, 0, "bridge accepted on port "},
        {"readable by others", 0644, 0700, nullptr, 2, kFileRule},
        {"readable by the group", 0640, 0700, nullptr, 2, kFileRule},
        {"folder writable by others", 0600, 0777, nullptr, 2, "bridge refused: folder rule: "},
        {"folder readable by the group", 0600, 0750, nullptr, 2, "bridge refused: folder rule: "},
        {"folder searchable by others", 0600, 0701, nullptr, 2, "bridge refused: folder rule: "},
        {"garbage", 0600, 0700, "vantrel-bridge 2 x y\n", 2, kFileRule},
        {"port 0", 0600, 0700,
         "vantrel-bridge 2 0 cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc\n", 2,
         kFileRule},
        {"short token", 0600, 0700, "vantrel-bridge 2 1 ccc\n", 2, kFileRule},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const test::ClientLog log(dir.Path());
        InProcessBridge bridge(dir.Path(), simulator, c.file_mode);
        chmod(dir.Path().c_str(), c.dir_mode);
        if (c.content != nullptr) {
            const int fd = open((dir.Path() + "/vantrel-bridge").c_str(), O_WRONLY | O_TRUNC);
            ASSERT_EQ(write(fd, c.content, std::strlen(c.content)), ssize_t(std::strlen(c.content)));
            close(fd);
        }
        auto client = BridgeClient(dir.Path());
        EXPECT_EQ(client->FSUIPC_Open(0, result), c.open_result == 0);
        EXPECT_EQ(result, c.open_result);
        EXPECT_NE(log.Text().find(c.logged), std::string::npos) << log.Text();
        chmod(dir.Path().c_str(), 0700);
    }
    // A link in place of the file is not followed.
    InProcessBridge bridge(dir.Path(), simulator);
    ASSERT_EQ(rename((dir.Path() + "/vantrel-bridge").c_str(), (dir.Path() + "/real").c_str()), 0);
    ASSERT_EQ(symlink((dir.Path() + "/real").c_str(), (dir.Path() + "/vantrel-bridge").c_str()), 0);
    EXPECT_FALSE(BridgeClient(dir.Path())->FSUIPC_Open(0, result));
    EXPECT_EQ(result, 2u);
}

// The client's log: a bridge refused for its token, then taken, and exchanges that fail or stall
// with their result texts and times.
TEST_F(BridgeTransportTest, TheLogSaysWhatTheLinkThroughTheBridgeDid) {
    const test::ClientLog log(dir.Path());
    auto client = BridgeClient(dir.Path());
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    InProcessBridge bridge(dir.Path(), simulator);
    const std::string file = dir.Path() + "/vantrel-bridge";
    const auto announce = [&](const std::string& token) {
        const std::string text = bridge::FormatBridgeFile({bridge.Port(), token});
        const int fd = open(file.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
        close(fd);
    };
    announce(std::string(64, 'd'));
    EXPECT_FALSE(client->FSUIPC_Open(0, result));
    announce(kToken);
    ASSERT_TRUE(client->FSUIPC_Open(0, result)) << result;
    std::uint32_t value = 0;
    for (const auto mode : {ScriptedSimulator::Mode::kFail, ScriptedSimulator::Mode::kTimeOut}) {
        simulator.mode = mode;
        ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &value, result));
        EXPECT_FALSE(client->FSUIPC_Process(result));
    }
    client->FSUIPC_Close();
    const std::string text = log.Text();
    const std::string expected[] = {
        "[bridge] bridge refused: no file " + file,
        "[link] link not opened: result 2 (",
        "[bridge] bridge refused: proof: the listener did not prove it knows the token",
        "[bridge] bridge accepted on port " + std::to_string(bridge.Port()),
        "[link] transport: the bridge",
        "[link] link opened: simulator code 7 through FS98MAIN, after 2 tries that failed",
        "[link] exchange failed after ",
        "ms: result 12 (",
        "ms: result 11 (",
        "[link] link closed",
    };
    std::size_t from = 0;
    for (const std::string& line : expected) {
        const std::size_t at = text.find(line, from);
        EXPECT_NE(at, std::string::npos) << line << " after offset " << from << " in\n" << text;
        if (at != std::string::npos) from = at;
    }
    // A refusal that every try finds again is said once.
    EXPECT_EQ(text.find("link not opened", text.find("link not opened") + 1), std::string::npos) << text;
}

TEST_F(BridgeTransportTest, TheSimulatorsAnswerGivesTheResultAndFaultsChangeNoDestination) {
    struct Case {
        ScriptedSimulator::Mode mode;
        std::uint32_t process_result;
        int exchanges; // of this process call
    };
    const Case cases[] = {
        {ScriptedSimulator::Mode::kTimeOut, 11, 11},
        {ScriptedSimulator::Mode::kFail, 12, 11},
        {ScriptedSimulator::Mode::kRefuse, 13, 1},
        {ScriptedSimulator::Mode::kReshape, 13, 1},
    };
    InProcessBridge bridge(dir.Path(), simulator);
    auto client = BridgeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    simulator.space.SetU32(0x0574, 3048);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.process_result);
        simulator.mode = c.mode;
        const int before = simulator.exchanges;
        std::uint32_t altitude = 7;
        ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &altitude, result));
        EXPECT_FALSE(client->FSUIPC_Process(result));
        EXPECT_EQ(result, c.process_result);
        EXPECT_EQ(altitude, 7u);
        EXPECT_EQ(simulator.exchanges - before, c.exchanges);
    }
    // The same link works again once the simulator does.
    simulator.mode = ScriptedSimulator::Mode::kServe;
    std::uint32_t altitude = 0;
    ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &altitude, result));
    EXPECT_TRUE(client->FSUIPC_Process(result));
    EXPECT_EQ(altitude, 3048u);
}

TEST_F(BridgeTransportTest, TheBridgeAnswersTheMonitorsWindowLookUp) {
    {
        InProcessBridge bridge(dir.Path(), simulator);
        EXPECT_TRUE(SimulatorWindowExists("FS98MAIN"));
        EXPECT_FALSE(SimulatorWindowExists("UIPCMAIN"));
        EXPECT_FALSE(SimulatorWindowExists("FS98MAIN/.."));
    }
    EXPECT_FALSE(SimulatorWindowExists("FS98MAIN")); // its file is left, nobody answers
}

TEST_F(BridgeTransportTest, APosixServerIsPreferredToABridge) {
    test::InProcessServer server(dir.Path());
    InProcessBridge bridge(dir.Path(), simulator);
    auto client = BridgeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    EXPECT_EQ(simulator.exchanges, 0);
    EXPECT_GT(server.Server().Requests(), 0u);
}

// Before 6.17 the kernel prints uid 0 for the bridge's end of a connection it has not accepted
// yet (the row's owner comes from the accepted socket's inode). This check answers so.
std::atomic<int> g_peer_checks{0};
bool OlderKernelPeerCheck(int fd) {
    return InProcessBridge::accepted >= ++g_peer_checks && LoopbackPeerIsOurs(fd);
}

TEST_F(BridgeTransportTest, TheOwnerCheckWaitsForTheBridgesAnswerAsOlderKernelsNeed) {
    InProcessBridge bridge(dir.Path(), simulator);
    bridge.HoldAccept(150);
    InProcessBridge::accepted = 0;
    g_peer_checks = 0;
    SetBridgePeerCheck(&OlderKernelPeerCheck);
    auto client = BridgeClient(dir.Path());
    const bool linked = client->FSUIPC_Open(0, result);
    SetBridgePeerCheck(nullptr);
    EXPECT_TRUE(linked);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(g_peer_checks, 1);
}

// A listening socket of another user (nobody) on the bridge's port, in a child process; it
// stays until the object goes. address: an IPv4 or IPv6 address in text.
class ForeignListener {
public:
    ForeignListener(const std::string& address, std::uint16_t port, bool v6_only) {
        int ready[2];
        if (pipe(ready) != 0) throw std::runtime_error("pipe");
        sockaddr_storage addr{};
        socklen_t length = 0;
        if (auto* v4 = reinterpret_cast<sockaddr_in*>(&addr);
            inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
            v4->sin_family = AF_INET;
            v4->sin_port = htons(port);
            length = sizeof *v4;
        } else if (auto* v6 = reinterpret_cast<sockaddr_in6*>(&addr);
                   inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
            v6->sin6_family = AF_INET6;
            v6->sin6_port = htons(port);
            length = sizeof *v6;
        }
        child_ = fork();
        if (child_ == 0) {
            // System calls only in the child.
            const int one = 1;
            const int s = setuid(65534) == 0 ? socket(addr.ss_family, SOCK_STREAM, 0) : -1;
            const bool listening =
                s >= 0 && (!v6_only || setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one) == 0) &&
                bind(s, reinterpret_cast<sockaddr*>(&addr), length) == 0 && listen(s, 4) == 0;
            if (!listening || write(ready[1], "x", 1) != 1) _exit(1);
            for (;;)
                pause();
        }
        close(ready[1]);
        char c = 0;
        listening_ = read(ready[0], &c, 1) == 1;
        close(ready[0]);
    }
    ~ForeignListener() {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    bool Listening() const { return listening_; }

private:
    pid_t child_ = -1;
    bool listening_ = false;
};

TEST_F(BridgeTransportTest, AnotherUsersListenerThatCouldNotHaveAcceptedDoesNotStopTheLink) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to listen as nobody";
    struct Case {
        const char* address;
        bool v6_only;
    };
    for (const Case& c : {Case{"127.0.0.2", false}, Case{"::1", false}, Case{"::", true}}) {
        SCOPED_TRACE(c.address);
        InProcessBridge bridge(dir.Path(), simulator);
        ForeignListener other(c.address, bridge.Port(), c.v6_only);
        ASSERT_TRUE(other.Listening());
        auto client = BridgeClient(dir.Path());
        EXPECT_TRUE(client->FSUIPC_Open(0, result));
        EXPECT_EQ(result, 0u);
    }
}

TEST_F(BridgeTransportTest, TheBridgeWaitsForTheSimulatorNoLongerThanItsCap) {
    InProcessBridge bridge(dir.Path(), simulator);
    auto client = std::make_unique<IpcClient>(std::make_unique<NativeTransport>(dir.Path()),
                                              IpcTimings{bridge::kMaxTimeoutMs, 2, 0, 0});
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    std::uint32_t altitude = 0;
    ASSERT_TRUE(client->FSUIPC_Read(0x0574, 4, &altitude, result));
    ASSERT_TRUE(client->FSUIPC_Process(result));
    // Requests are served one at a time: another client's waits a few seconds at most.
    EXPECT_GT(simulator.last_timeout_ms, 0);
    EXPECT_LE(simulator.last_timeout_ms, 5000);
}

// The client's proof for the bridge's answer to "hello <nonce>", when the bridge's proof holds.
std::string ClientProof(const std::string& nonce, const std::string& answer,
                        const std::string& token = kToken) {
    const bool holds =
        answer.size() == 136 &&
        bridge::ProofHolds(answer.substr(71, 64), kToken, bridge::Role::kBridge, nonce, answer.substr(6, 64));
    return holds ? "proof " + bridge::Proof(token, bridge::Role::kClient, nonce, answer.substr(6, 64)) + "\n"
                 : "";
}

// The session's byte stream: the bridge proves itself to a well-formed hello only, takes
// nothing before the client's proof holds, then checks every line and block.
TEST(BridgeSessionTest, TakesCommandsOnlyAfterBothProofsAndChecksEveryBlock) {
    for (const std::string& greeting :
         {std::string("find\n"), "token " + kToken + "\n", "hello " + std::string(63, '7') + "\n"}) {
        ScriptedSimulator simulator;
        BridgeSession session(kToken, simulator);
        std::string out;
        EXPECT_FALSE(session.Feed(greeting.data(), greeting.size(), out)) << greeting;
        EXPECT_EQ(out, "");
    }
    auto block = [](std::uint32_t offset) {
        std::string b(20, '\0');
        auto* p = reinterpret_cast<std::uint8_t*>(b.data());
        ipc::StoreU32(p, ipc::kWriteRecord);
        ipc::StoreU32(p + 4, offset);
        ipc::StoreU32(p + 8, 4);
        ipc::StoreU32(p + 12, 0x01020304);
        return b;
    };
    const std::string nonce(64, '7');
    using ProofFor = std::function<std::string(const std::string& answer)>;
    const ProofFor good = [&](const std::string& answer) { return ClientProof(nonce, answer); };
    struct Case {
        const char* what;
        ProofFor proof;
        std::string input;
        std::string output;
        bool keep;
        int exchanges;
    };
    const Case cases[] = {
        {"a wrong token's proof",
         [&](const std::string& a) { return ClientProof(nonce, a, std::string(64, 'd')); }, "find\n", "",
         false, 0},
        {"the bridge's proof reflected",
         [](const std::string& a) { return "proof " + a.substr(71, 64) + "\n"; }, "find\n", "", false, 0},
        {"the token in place of a proof", [](const std::string&) { return "proof " + kToken + "\n"; },
         "find\n", "", false, 0},
        {"find", good, "find\n", "FS98MAIN\n", true, 0},
        {"window look-ups", good, "window FS98MAIN\nwindow UIPCMAIN\n", "yes\nno\n", true, 0},
        {"window class with a path", good, "window ../FS98MAIN\n", "", false, 0},
        {"a line split over reads", good, "fi", "", true, 0},
        {"sound block", good, "send 1000 20\n" + block(0x0574), "1 20\n" + block(0x0574), true, 1},
        {"outside the offsets", good, "send 1000 20\n" + block(0xFFFE), "0\n", true, 0},
        {"length beyond the terminator", good, "send 1000 24\n" + block(0x0574) + "abcd", "0\n", true, 0},
        {"length too large", good, "send 1000 40000\n", "", false, 0},
        {"time-out 0", good, "send 0 20\n", "", false, 0},
        {"unknown command", good, "write\n", "", false, 0},
        {"over-long line", good, std::string(200, 'x'), "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSimulator simulator;
        BridgeSession session(kToken, simulator);
        const std::string hello = "hello " + nonce + "\n";
        std::string answer, out;
        ASSERT_TRUE(session.Feed(hello.data(), hello.size(), answer));
        EXPECT_EQ(answer.find(kToken), std::string::npos);
        const std::string input = c.proof(answer) + c.input;
        EXPECT_EQ(session.Feed(input.data(), input.size(), out), c.keep);
        EXPECT_EQ(out, c.output);
        EXPECT_EQ(simulator.exchanges, c.exchanges);
    }
}

TEST(BridgeWireTest, TheAnnouncementRoundTripsAndRejectsAnythingElse) {
    bridge::Address address;
    ASSERT_TRUE(bridge::ParseBridgeFile(bridge::FormatBridgeFile({65535, kToken}), address));
    EXPECT_EQ(address.port, 65535);
    EXPECT_EQ(address.token, kToken);
    for (const std::string& text :
         {std::string(), "vantrel-bridge 2 65536 " + kToken, "vantrel-bridge 1 80 " + kToken,
          "vantrel-bridge 2 80 " + kToken + " extra", "vantrel-bridge 2 +80 " + kToken,
          "vantrel-bridge 2 80 " + std::string(64, 'C'), "vantrel-bridge 2 80 " + kToken + "\n\n"})
        EXPECT_FALSE(bridge::ParseBridgeFile(text, address)) << text;
}

} // namespace
} // namespace vantrel
