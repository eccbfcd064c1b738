// Who the native client talks to over loopback TCP: only a peer of this user that proves it
// knows the bridge's token. Listeners on a dead bridge's port learn nothing.
#include "ipc_test_support.h"

#include "ipc/bridge_proof.h"
#include "ipc/bridge_transport.h"
#include "ipc/bridge_wire.h"
#include "ipc/simulator_window.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
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

// The reply of a listener that knows the token: the bridge's own proof for the greeting.
const std::string kProve = "<prove>";

std::string BridgeProof(const std::string& hello) {
    const std::string client_nonce = hello.substr(6, 64), nonce(64, '3');
    return "proof " + nonce + " " + bridge::Proof(kToken, bridge::Role::kBridge, client_nonce, nonce) + "\n";
}

// A listener on 127.0.0.1 in a child process of the given user: it answers each connection's
// first line with `reply`, and hands its port, then everything it heard, up one pipe.
class Listener {
public:
    Listener(uid_t uid, const std::string& reply) {
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("pipe");
        child_ = fork();
        if (child_ == 0) Serve(uid, reply, out[1]);
        close(out[1]);
        pipe_ = out[0];
        if (read(pipe_, &port_, sizeof port_) != sizeof port_) port_ = 0;
    }
    ~Listener() {
        Heard();
        close(pipe_);
    }
    std::uint16_t Port() const { return port_; }
    // Stops the listener; everything it heard.
    std::string Heard() {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        child_ = -1;
        std::string heard;
        char buffer[512];
        for (ssize_t n; (n = read(pipe_, buffer, sizeof buffer)) > 0;)
            heard.append(buffer, std::size_t(n));
        return heard;
    }

private:
    // Runs in the child: system calls only.
    [[noreturn]] static void Serve(uid_t uid, const std::string& reply, int out) {
        std::uint16_t port = 0;
        const int listener = uid == getuid() || setuid(uid) == 0 ? test::ListenOnLoopback(port) : -1;
        if (listener < 0 || write(out, &port, sizeof port) != sizeof port) _exit(1);
        for (int connection; (connection = accept(listener, nullptr, nullptr)) >= 0; close(connection)) {
            char buffer[512];
            bool replied = false;
            for (ssize_t n; (n = read(connection, buffer, sizeof buffer)) > 0;) {
                if (write(out, buffer, std::size_t(n)) != n) _exit(1);
                if (replied || std::memchr(buffer, '\n', std::size_t(n)) == nullptr) continue;
                const std::string answer =
                    reply == kProve ? BridgeProof(std::string(buffer, std::size_t(n))) : reply;
                replied = send(connection, answer.data(), answer.size(), MSG_NOSIGNAL) >= 0;
            }
        }
        _exit(1);
    }

    pid_t child_ = -1;
    int pipe_ = -1;
    std::uint16_t port_ = 0;
};

TEST(BridgeProofTest, APeerThatIsNotTheBridgeLearnsNothingAndIsNotTakenForTheSimulator) {
    const std::string nonce(64, '1');
    // A forged proof, and one made with another token for a nonce the client never sent.
    const std::string forged = "proof " + nonce + " " + std::string(64, '2') + "\n";
    const std::string other_token = "proof " + nonce + " " +
                                    bridge::Proof(std::string(64, 'f'), bridge::Role::kBridge, nonce, nonce) +
                                    "\n";
    struct Case {
        const char* what;
        bool other_user;
        std::string reply;
        const char* logged; // why the client's log says it refused the bridge
    };
    const char* const kProof = "bridge refused: proof: the listener did not prove it knows the token";
    const Case cases[] = {
        {"another user's listener", true, "FS98MAIN\n", kProof},
        // Say the token got out: the listener still is not this user's.
        {"another user's listener that proves the token", true, kProve,
         "bridge refused: owner check: the listener on the port is not this user's"},
        {"a listener that answers any request", false, "FS98MAIN\n", kProof},
        {"a listener with a forged proof", false, forged, kProof},
        {"a bridge of another token", false, other_token, kProof},
        {"a listener that says nothing", false, "", kProof},
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
        const test::ClientLog log(dir.Path());
        std::uint32_t result = 0;
        auto client = std::make_unique<IpcClient>(std::make_unique<NativeTransport>(dir.Path()),
                                                  IpcTimings{300, 2, 1, 0});
        EXPECT_FALSE(client->FSUIPC_Open(0, result));
        EXPECT_EQ(result, 2u);
        EXPECT_FALSE(SimulatorWindowExists("FS98MAIN"));
        EXPECT_NE(log.Text().find(c.logged), std::string::npos) << log.Text();
        const std::string heard = listener.Heard();
        // Each attempt sent one greeting with a fresh nonce, and nothing after it.
        EXPECT_EQ(heard.find(kToken), std::string::npos) << heard;
        EXPECT_EQ(heard.substr(0, 6), "hello ") << heard;
        EXPECT_EQ(heard.size() % 71, 0u) << heard;
        EXPECT_EQ(heard.find("proof"), std::string::npos) << heard;
        EXPECT_EQ(heard.find("find"), std::string::npos) << heard;
    }
}

} // namespace
} // namespace vantrel
