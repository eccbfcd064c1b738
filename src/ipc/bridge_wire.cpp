#include "ipc/bridge_wire.h"

#include "ipc/ipc_wire.h"

#include <algorithm>

namespace vantrel::bridge {

namespace {

// The number is the protocol's version: 2 since both ends prove the token instead of the
// client showing it.
const std::string kFileTag = "vantrel-bridge 2 ";

} // namespace

bool ParseDecimal(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + std::uint64_t(c - '0');
    }
    return true;
}

bool IsWindowClassName(const std::string& text) {
    return !text.empty() && text.size() <= 32 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

std::string FormatBridgeFile(const Address& address) {
    return kFileTag + std::to_string(address.port) + " " + address.token + "\n";
}

bool ParseBridgeFile(const std::string& text, Address& address) {
    std::string line = text;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.compare(0, kFileTag.size(), kFileTag) != 0) return false;
    const std::size_t space = line.find(' ', kFileTag.size());
    if (space == std::string::npos) return false;
    std::uint64_t port = 0;
    if (!ParseDecimal(line.substr(kFileTag.size(), space - kFileTag.size()), port) || port == 0 ||
        port > 65535)
        return false;
    const std::string token = line.substr(space + 1);
    if (!IsToken(token)) return false;
    address.port = std::uint16_t(port);
    address.token = token;
    return true;
}

std::string TokenHex(const std::uint8_t* bytes, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

bool IsToken(const std::string& text) {
    return text.size() == 2 * kTokenBytes && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

bool SameToken(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    unsigned char differs = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        differs |= static_cast<unsigned char>(a[i] ^ b[i]);
    return differs == 0;
}

bool ParseSendLine(const std::string& line, int& timeout_ms, std::size_t& length) {
    const std::string verb = "send ";
    if (line.compare(0, verb.size(), verb) != 0) return false;
    const std::size_t space = line.find(' ', verb.size());
    if (space == std::string::npos) return false;
    std::uint64_t timeout = 0, bytes = 0;
    if (!ParseDecimal(line.substr(verb.size(), space - verb.size()), timeout) ||
        !ParseDecimal(line.substr(space + 1), bytes))
        return false;
    if (timeout < 1 || timeout > std::uint64_t(kMaxTimeoutMs)) return false;
    if (bytes < ipc::kTerminatorSize || bytes > ipc::kUsableSize) return false;
    timeout_ms = int(timeout);
    length = std::size_t(bytes);
    return true;
}

int SimulatorTimeout(int client_timeout_ms) {
    const int wait = std::max(1, client_timeout_ms - std::min(100, client_timeout_ms / 4));
    return std::min(wait, kMaxSimulatorWaitMs);
}

int AnswerWait(int client_timeout_ms) {
    return client_timeout_ms + std::min(1000, client_timeout_ms / 2);
}

} // namespace vantrel::bridge
