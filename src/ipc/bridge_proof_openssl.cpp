#ifndef _WIN32

#include "ipc/bridge_proof.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

namespace vantrel::bridge {

bool RandomBytes(std::uint8_t* bytes, std::size_t size) {
    return RAND_bytes(bytes, int(size)) == 1;
}

bool HmacSha256(const std::string& key, const std::string& data, std::uint8_t (&mac)[32]) {
    unsigned int length = 0;
    return HMAC(EVP_sha256(), key.data(), int(key.size()),
                reinterpret_cast<const unsigned char*>(data.data()), data.size(), mac, &length) != nullptr &&
           length == sizeof mac;
}

} // namespace vantrel::bridge

#endif
