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

bool BridgeAnswerHolds(const std::string& line, const std::string& token, const std::string& client_nonce,
                       std::string& bridge_nonce) {
    const std::string verb = "proof ";
    const std::size_t nonce_at = verb.size(), proof_at = nonce_at + 2 * kNonceBytes + 1;
    bridge_nonce.clear();
    if (line.compare(0, verb.size(), verb) != 0 || line.size() <= proof_at || line[proof_at - 1] != ' ')
        return false;
    bridge_nonce = line.substr(nonce_at, proof_at - 1 - nonce_at);
    return IsNonce(bridge_nonce) &&
           ProofHolds(line.substr(proof_at), token, Role::kBridge, client_nonce, bridge_nonce);
}

} // namespace vantrel::bridge
