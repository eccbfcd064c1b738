#ifdef _WIN32

#include "ipc/bridge_proof.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <bcrypt.h>

namespace vantrel::bridge {

bool RandomBytes(std::uint8_t* bytes, std::size_t size) {
    return BCryptGenRandom(nullptr, bytes, ULONG(size), BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

bool HmacSha256(const std::string& key, const std::string& data, std::uint8_t (&mac)[32]) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                    BCRYPT_ALG_HANDLE_HMAC_FLAG) != 0)
        return false;
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool done =
        BCryptCreateHash(algorithm, &hash, nullptr, 0,
                         reinterpret_cast<PUCHAR>(const_cast<char*>(key.data())), ULONG(key.size()), 0) == 0;
    done = done &&
           BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data())), ULONG(data.size()),
                          0) == 0 &&
           BCryptFinishHash(hash, mac, sizeof mac, 0) == 0;
    if (hash != nullptr) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return done;
}

} // namespace vantrel::bridge

#endif
