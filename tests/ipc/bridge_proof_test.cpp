// Who the native client talks to over loopback TCP: only a peer of this user that proves it
// knows the bridge's token. Listeners on a dead bridge's port learn nothing.
#include "ipc_test_support.h"

#include "ipc/bridge_proof.h"
#include "ipc/bridge_transport.h"
#include "ipc/bridge_wire.h"
#include "ipc/simulator_window.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantrel {
namespace {

const std::string kToken(64, 'e');

// What a dead bridge leaves behind: its file, naming the port and the token.
void WriteDeadBridgeFile(const std::string& dir, std::uint16_t port) {
    const std::string path = dir + "/vantrel-bridge";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string text = bridge::FormatBridgeFile({port, kToken});
    ASSERT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
    close(fd);
}

// A listener on 127.0.0.1 in a child process, as the given user, that answers each
// connection's first line with `reply` and reports everything it received through a pipe.
class Listener {
public:
    Listener(uid_t uid, const std::string& reply) {
        int port_pipe[2], heard_pipe[2];
        if (pipe(port_pipe) != 0 || pipe(heard_pipe) != 0) throw std::runtime_error("pipe");
        child_ = fork();
        if (child_ == 0) {
            close(port_pipe[0]);
            close(heard_pipe[0]);
            Serve(uid, reply, port_pipe[1], heard_pipe[1]);
        }
        close(port_pipe[1]);
        close(heard_pipe[1]);
        heard_ = heard_pipe[0];
        if (read(port_pipe[0], &port_, sizeof port_) != sizeof port_) port_ = 0;
        close(port_pipe[0]);
    }
    ~Listener() {
        Stop();
        close(heard_);
    }
    std::uint16_t Port() const { return port_; }
    // Everything the listener received so far.
    std::string Heard() {
        Stop();
        std::string heard;
        char buffer[512];
        for (ssize_t n; (n = read(heard_, buffer, sizeof buffer)) > 0;)
            heard.append(buffer, std::size_t(n));
        return heard;
    }

private:
    void Stop() {
        if (child_ <= 0) return;
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
        child_ = -1;
    }
    // Runs in the child: system calls only.
    [[noreturn]] static void Serve(uid_t uid, const std::string& reply, int port_out, int heard_out) {
        if (uid != getuid() && setuid(uid) != 0) _exit(1);
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(listener, 8) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
            _exit(1);
        const std::uint16_t port = ntohs(addr.sin_port);
        if (write(port_out, &port, sizeof port) != sizeof port) _exit(1);
        for (;;) {
            const int connection = accept(listener, nullptr, nullptr);
            if (connection < 0) _exit(1);
            bool replied = false;
            char buffer[512];
            for (ssize_t n; (n = read(connection, buffer, sizeof buffer)) > 0;) {
                if (write(heard_out, buffer, std::size_t(n)) != n) _exit(1);
                if (!replied && std::memchr(buffer, '\n', std::size_t(n)) != nullptr) {
                    replied = true;
                    if (send(connection, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) break;
                }
            }
            close(connection);
        }
    }

    pid_t child_ = -1;
    int heard_ = -1;
    std::uint16_t port_ = 0;
};

TEST(BridgeProofTest, APeerThatIsNotTheBridgeLearnsNothingAndIsNotTakenForTheSimulator) {
    const std::string some_nonce(64, '1');
    const std::string forged = "proof " + some_nonce + " " + std::string(64, '2') + "\n";
    // A bridge of another token proves itself for a nonce it never saw.
    const std::string wrong_token =
        "proof " + some_nonce + " " +
        bridge::Proof(std::string(64, 'f'), bridge::Role::kBridge, some_nonce, some_nonce) + "\n";
    struct Case {
        const char* what;
        bool other_user;
        std::string reply;
        bool hears_greeting; // only a nonce, never the token
    };
    const Case cases[] = {
        {"another user's listener", true, "FS98MAIN\n", false},
        {"another user's listener with a forged proof", true, forged, false},
        {"a listener that answers any request", false, "FS98MAIN\n", true},
        {"a listener with a forged proof", false, forged, true},
        {"a bridge of another token", false, wrong_token, true},
        {"a listener that says nothing", false, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.other_user && geteuid() != 0) {
            std::printf("skipped (needs root to listen as nobody): %s\n", c.what);
            continue;
        }
        test::TempIpcDir dir;
        Listener listener(c.other_user ? 65534 : getuid(), c.reply);
        ASSERT_NE(listener.Port(), 0);
        WriteDeadBridgeFile(dir.Path(), listener.Port());
        std::uint32_t result = 0;
        auto client = std::make_unique<IpcClient>(std::make_unique<NativeTransport>(dir.Path()),
                                                  IpcTimings{300, 2, 1, 0});
        EXPECT_FALSE(client->FSUIPC_Open(0, result));
        EXPECT_EQ(result, 2u);
        EXPECT_FALSE(SimulatorWindowExists("FS98MAIN"));
        const std::string heard = listener.Heard();
        EXPECT_EQ(heard.find(kToken), std::string::npos) << heard;
        if (c.hears_greeting) {
            // Each attempt sent one greeting with a fresh nonce, and nothing after it.
            EXPECT_EQ(heard.substr(0, 6), "hello ") << heard;
            EXPECT_EQ(heard.size() % 71, 0u) << heard;
            EXPECT_EQ(heard.find("find"), std::string::npos) << heard;
        } else {
            EXPECT_EQ(heard, "");
        }
    }
}

TEST(BridgeProofTest, ProofsBelongToOneTokenOneRoleAndOneConnection) {
    const std::string a = bridge::FreshNonce(), b = bridge::FreshNonce();
    ASSERT_TRUE(bridge::IsNonce(a));
    EXPECT_NE(a, b);
    const std::string proof = bridge::Proof(kToken, bridge::Role::kBridge, a, b);
    EXPECT_TRUE(bridge::ProofHolds(proof, kToken, bridge::Role::kBridge, a, b));
    struct Case {
        const char* what;
        std::string token;
        bridge::Role role;
        std::string client_nonce, bridge_nonce;
    };
    for (const Case& c : {Case{"other token", std::string(64, 'f'), bridge::Role::kBridge, a, b},
                          Case{"reflected as the client's", kToken, bridge::Role::kClient, a, b},
                          Case{"another connection", kToken, bridge::Role::kBridge, b, b},
                          Case{"nonces swapped", kToken, bridge::Role::kBridge, b, a}}) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(bridge::ProofHolds(proof, c.token, c.role, c.client_nonce, c.bridge_nonce));
    }
    // RFC 4231, test case 2: the primitive is HMAC-SHA256.
    std::uint8_t mac[32];
    ASSERT_TRUE(bridge::HmacSha256("Jefe", "what do ya want for nothing?", mac));
    EXPECT_EQ(bridge::TokenHex(mac, sizeof mac),
              "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
}

} // namespace
} // namespace vantrel
