#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The proof both ends of a bridge connection give before anything else passes: each sends a
// fresh random nonce, each answers with HMAC-SHA256 over both nonces and its role, keyed by
// the token. The token itself never travels, and a proof made for one connection or one role
// is worth nothing in another.
namespace vantrel::bridge {

inline constexpr std::size_t kNonceBytes = 32;

// Fills the buffer from the operating system's random source; false when it gives none.
bool RandomBytes(std::uint8_t* bytes, std::size_t size);

// A fresh nonce as lower-case hex; empty when the system gives no random numbers.
std::string FreshNonce();
bool IsNonce(const std::string& text);

enum class Role { kBridge, kClient };

// HMAC-SHA256(token, "<role> <client nonce> <bridge nonce>") as lower-case hex; empty when
// the primitive fails.
std::string Proof(const std::string& token, Role role, const std::string& client_nonce,
                  const std::string& bridge_nonce);

// Whether `proof` is the one expected, compared in time independent of where it differs.
bool ProofHolds(const std::string& proof, const std::string& token, Role role,
                const std::string& client_nonce, const std::string& bridge_nonce);

// The bridge's answer to "hello <client nonce>": "proof <bridge nonce> <bridge proof>". Whether
// it is one and its proof holds; bridge_nonce then holds the bridge's nonce.
bool BridgeAnswerHolds(const std::string& line, const std::string& token, const std::string& client_nonce,
                       std::string& bridge_nonce);

// The primitive itself: HMAC-SHA256 of data under key; false when it fails.
bool HmacSha256(const std::string& key, const std::string& data, std::uint8_t (&mac)[32]);

} // namespace vantrel::bridge
