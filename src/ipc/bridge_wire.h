#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The bridge between a native program and a simulator running under Wine: loopback TCP, the
// block carried inline (docs/bridge-protocol.md). The bridge announces itself in a file of the
// IPC folder, readable by its user only: "vantrel-bridge 2 <port> <token>\n". The token never
// travels; a connection starts with both ends proving they know it:
//   client: "hello <client nonce>\n"
//   bridge: "proof <bridge nonce> <bridge proof>\n"
//   client: "proof <client proof>\n"            (bridge_proof.h)
// then, any number of times:
//   "find\n"                      -> "UIPCMAIN\n", "FS98MAIN\n" or "none\n"
//   "window <class>\n"            -> "yes\n" or "no\n": is a top-level window of the class there
//   "send <timeout ms> <bytes>\n" + the block up to and including its terminator
//                                 -> "1 <bytes>\n" + the answered block, or "0\n" (bad data),
//                                    or "timeout\n" / "failed\n" (the simulator's window did
//                                    not answer in time / could not be reached)
namespace vantrel::bridge {

inline constexpr char kFileName[] = "vantrel-bridge";
inline constexpr std::size_t kTokenBytes = 32;
// Longest command or answer line, newline included.
inline constexpr std::size_t kMaxLine = 160;
// A connection that has not given its proof by then is closed; a client waits as long for the
// bridge's.
inline constexpr int kHelloTimeoutMs = 2000;
// Longest wait for the simulator a client may ask for.
inline constexpr int kMaxTimeoutMs = 60000;
// Longest the bridge waits for the simulator on one request, whatever the client asked: it
// serves one request at a time, so this bounds every other client's wait.
inline constexpr int kMaxSimulatorWaitMs = 5000;

struct Address {
    std::uint16_t port = 0;
    std::string token; // kTokenBytes as lower-case hex
};

std::string FormatBridgeFile(const Address& address);
// False for anything but one well-formed line (trailing newline optional).
bool ParseBridgeFile(const std::string& text, Address& address);

std::string TokenHex(const std::uint8_t* bytes, std::size_t size);
bool IsToken(const std::string& text);
// Compares in time independent of where the texts differ.
bool SameToken(const std::string& a, const std::string& b);

// "send <timeout ms> <bytes>": timeout 1..kMaxTimeoutMs, bytes 4..usable block size.
bool ParseSendLine(const std::string& line, int& timeout_ms, std::size_t& length);
// The bridge's own wait for the simulator: a little less than the client's, so that its
// "timeout" reaches the client before the client gives up, and at most kMaxSimulatorWaitMs.
int SimulatorTimeout(int client_timeout_ms);
// How long a client waits for the bridge's answer to a send with that time-out: longer than the
// bridge itself waits, so that an answer the simulator gave is not taken for a time-out (and
// the block sent again) because the bridge was slow to pass it on.
int AnswerWait(int client_timeout_ms);

// A window class a client may ask about: 1 to 32 letters, digits or "_".
bool IsWindowClassName(const std::string& text);

// Decimal without sign or leading "+", at most nine digits.
bool ParseDecimal(const std::string& text, std::uint64_t& value);

} // namespace vantrel::bridge
