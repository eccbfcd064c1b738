#include "ipc/bridge_proof.h"

#include "ipc/bridge_wire.h"

#include <algorithm>

namespace vantrel::bridge {

std::string FreshNonce() {
    std::uint8_t bytes[kNonceBytes];
    if (!RandomBytes(bytes, sizeof bytes)) return "";
    return TokenHex(bytes, sizeof bytes);
}

bool IsNonce(const std::string& text) {
    return text.size() == 2 * kNonceBytes && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

std::string Proof(const std::string& token, Role role, const std::string& client_nonce,
                  const std::string& bridge_nonce) {
    const std::string data =
        std::string(role == Role::kBridge ? "bridge " : "client ") + client_nonce + " " + bridge_nonce;
    std::uint8_t mac[32];
    if (!HmacSha256(token, data, mac)) return "";
    return TokenHex(mac, sizeof mac);
}

bool ProofHolds(const std::string& proof, const std::string& token, Role role,
                const std::string& client_nonce, const std::string& bridge_nonce) {
    const std::string expected = Proof(token, role, client_nonce, bridge_nonce);
    return !expected.empty() && SameToken(proof, expected);
}

} // namespace vantrel::bridge
