#ifndef _WIN32

#include "ipc/bridge_transport.h"

#include "ipc/bridge_proof.h"
#include "ipc/loopback_owner.h"

#include "ipc/ipc_dir.h"
#include "ipc/ipc_server_walk.h"
#include "ipc/link_log.h"
#include "ipc/posix_transport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif

namespace vantrel {

namespace {

using Clock = std::chrono::steady_clock;

// The bridge answers a look-up at once; this bounds a bridge that hangs.
constexpr int kFindTimeoutMs = 2000;
constexpr std::size_t kMaxBridgeFile = 256;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

enum class Io { kDone, kTimedOut, kFailed };

Io WaitFor(int fd, short event, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, event, 0};
        const int n = poll(&p, 1, MillisecondsLeft(deadline));
        if (n > 0) return (p.revents & event) != 0 ? Io::kDone : Io::kFailed;
        if (n == 0) return Io::kTimedOut;
        if (errno != EINTR) return Io::kFailed;
    }
}

Io SendAll(int fd, const char* data, std::size_t size, Clock::time_point deadline) {
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = send(fd, data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += std::size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const Io io = WaitFor(fd, POLLOUT, deadline); io != Io::kDone) return io;
        } else {
            return Io::kFailed;
        }
    }
    return Io::kDone;
}

Io ReceiveExactly(int fd, std::uint8_t* data, std::size_t size, Clock::time_point deadline) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = recv(fd, data + got, size - got, 0);
        if (n > 0) {
            got += std::size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const Io io = WaitFor(fd, POLLIN, deadline); io != Io::kDone) return io;
        } else {
            return Io::kFailed;
        }
    }
    return Io::kDone;
}

// One answer line, byte by byte so that nothing of the block behind it is taken.
Io ReceiveLine(int fd, std::string& line, Clock::time_point deadline) {
    line.clear();
    for (;;) {
        std::uint8_t c = 0;
        if (const Io io = ReceiveExactly(fd, &c, 1, deadline); io != Io::kDone) return io;
        if (c == '\n') return Io::kDone;
        line += char(c);
        if (line.size() >= bridge::kMaxLine) return Io::kFailed;
    }
}

int ConnectLoopback(std::uint16_t port, Clock::time_point deadline) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        int error = 0;
        socklen_t length = sizeof error;
        if (errno != EINPROGRESS || WaitFor(fd, POLLOUT, deadline) != Io::kDone ||
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            close(fd);
            return -1;
        }
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// A connection to the bridge at the address whose peer has proved it knows the token, after
// this side has proved it too; -1 when anything fails. Only the greeting's fresh nonce leaves
// this process before the peer is known to be this user's, and no answer of the peer is taken
// before its proof held. The owner check waits for the peer's proof line: the bridge has
// accepted the connection by then, and only then do older kernels (before 6.17) show the
// owner of its end rather than root.
int ProvenConnection(const bridge::Address& address, Clock::time_point deadline) {
    const int fd = ConnectLoopback(address.port, deadline);
    if (fd < 0) return BridgeConnectionRefused("nobody listens on port " + std::to_string(address.port));
    const std::string client_nonce = bridge::FreshNonce();
    const auto refuse = [fd](const std::string& why) {
        LogBridgeRefused(why);
        close(fd);
        return -1;
    };
    const std::string hello = "hello " + client_nonce + "\n";
    std::string line;
    std::string bridge_nonce;
    if (client_nonce.empty() || SendAll(fd, hello.data(), hello.size(), deadline) != Io::kDone ||
        ReceiveLine(fd, line, deadline) != Io::kDone ||
        !bridge::BridgeAnswerHolds(line, address.token, client_nonce, bridge_nonce))
        return refuse("proof: the listener did not prove it knows the token");
    if (!BridgePeerIsOurs(fd)) return refuse("owner check: the listener on the port is not this user's");
    const std::string proof =
        "proof " + bridge::Proof(address.token, bridge::Role::kClient, client_nonce, bridge_nonce) + "\n";
    if (SendAll(fd, proof.data(), proof.size(), deadline) != Io::kDone)
        return refuse("proof: the bridge did not take this side's proof");
    LogBridgeAccepted(address.port);
    return fd;
}

} // namespace

bool ReadBridgeFile(const std::string& directory, bridge::Address& address) {
    if (!IpcDirectoryIsPrivate(directory))
        return BridgeRefused("folder rule: " + directory + " is not this user's alone");
    const std::string path = directory + "/" + bridge::kFileName;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return BridgeRefused("no file " + path);
    struct stat st {};
    std::string text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0 &&
        st.st_size > 0 && st.st_size <= off_t(kMaxBridgeFile)) {
        char buffer[kMaxBridgeFile + 1];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) text.assign(buffer, std::size_t(n));
    }
    close(fd);
    return ParseBridgeFile(text, address) ||
           BridgeRefused("file rule: " + path +
                         " is not a private file of this user naming a port and token");
}

bool BridgeWindowExists(const std::string& directory, const std::string& window_class) {
    bridge::Address address;
    if (!bridge::IsWindowClassName(window_class) || !ReadBridgeFile(directory, address)) return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kFindTimeoutMs);
    const int fd = ProvenConnection(address, deadline);
    if (fd < 0) return false;
    const std::string request = "window " + window_class + "\n";
    std::string line;
    const bool exists = SendAll(fd, request.data(), request.size(), deadline) == Io::kDone &&
                        ReceiveLine(fd, line, deadline) == Io::kDone && line == "yes";
    close(fd);
    return exists;
}

BridgeTransport::BridgeTransport(std::string directory) : directory_(std::move(directory)) {}

BridgeTransport::~BridgeTransport() {
    Close();
}

bool BridgeTransport::Connect(int timeout_ms) {
    Disconnect();
    bridge::Address address;
    if (!ReadBridgeFile(directory_.empty() ? IpcDirectory() : directory_, address)) return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    connection_ = ProvenConnection(address, deadline);
    return connection_ >= 0;
}

bool BridgeTransport::FindServer(bool& through_fs98) {
    if (!Connect(kFindTimeoutMs)) return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kFindTimeoutMs);
    std::string line;
    if (SendAll(connection_, "find\n", 5, deadline) != Io::kDone ||
        ReceiveLine(connection_, line, deadline) != Io::kDone || (line != "UIPCMAIN" && line != "FS98MAIN")) {
        Disconnect();
        return false;
    }
    through_fs98 = line == "FS98MAIN";
    return true;
}

std::uint8_t* BridgeTransport::MapView() {
    block_.fill(0);
    mapped_ = true;
    return block_.data();
}

IpcTransport::SendOutcome BridgeTransport::Send(int timeout_ms, std::uintptr_t& answer) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(bridge::AnswerWait(timeout_ms));
    std::size_t used = 0;
    if (!mapped_ || !CheckBlock(block_.data(), ipc::kUsableSize, used)) {
        // What the server would answer to a faulty block; it never leaves this process.
        answer = 0;
        return SendOutcome::kAnswered;
    }
    if (connection_ < 0 && !Connect(timeout_ms)) return SendOutcome::kFailed;

    std::string request = "send " + std::to_string(timeout_ms) + " " + std::to_string(used) + "\n";
    request.append(reinterpret_cast<const char*>(block_.data()), used);
    Io io = SendAll(connection_, request.data(), request.size(), deadline);
    std::string line;
    if (io == Io::kDone) io = ReceiveLine(connection_, line, deadline);
    SendOutcome outcome = io == Io::kTimedOut ? SendOutcome::kTimedOut : SendOutcome::kFailed;
    if (io == Io::kDone) {
        std::uint64_t value = 0;
        if (line == "0") {
            answer = 0;
            return SendOutcome::kAnswered;
        }
        if (line == "timeout") {
            outcome = SendOutcome::kTimedOut;
        } else if (line.compare(0, 2, "1 ") == 0 && bridge::ParseDecimal(line.substr(2), value) &&
                   value == used) {
            io = ReceiveExactly(connection_, reply_.data(), used, deadline);
            if (io == Io::kDone) {
                // The bridge may fill answer areas, nothing else.
                answer = 0;
                if (SameRequests(block_.data(), reply_.data(), used)) {
                    std::memcpy(block_.data(), reply_.data(), used);
                    answer = 1;
                }
                return SendOutcome::kAnswered;
            }
            outcome = io == Io::kTimedOut ? SendOutcome::kTimedOut : SendOutcome::kFailed;
        }
    }
    // Out of step with the bridge: the next try starts on a fresh connection.
    Disconnect();
    return outcome;
}

void BridgeTransport::Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void BridgeTransport::Disconnect() {
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
}

void BridgeTransport::Close() {
    Disconnect();
    mapped_ = false;
}

NativeTransport::NativeTransport(std::string directory)
    : posix_(std::make_unique<PosixTransport>(directory)),
      bridge_(std::make_unique<BridgeTransport>(directory)), active_(posix_.get()) {}

bool NativeTransport::FindServer(bool& through_fs98) {
    active_ = posix_.get();
    if (posix_->FindServer(through_fs98)) {
        LogTransportChosen("the posix socket of a server in the link's folder");
        return true;
    }
    if (!bridge_->FindServer(through_fs98)) return false;
    LogTransportChosen("the bridge (vantrel-bridge.exe)");
    active_ = bridge_.get();
    return true;
}

void NativeTransport::Close() {
    posix_->Close();
    bridge_->Close();
    active_ = posix_.get();
}

std::unique_ptr<IpcTransport> MakePlatformTransport() {
    return std::make_unique<NativeTransport>();
}

} // namespace vantrel

#endif
