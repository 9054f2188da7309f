#include "service/PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

namespace PasswordHash {

std::string RandomBytes(std::size_t count)
{
    std::string out(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(count)) != 1)
        return {};
    return out;
}

std::string ToHex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string RandomHex(std::size_t count)
{
    const std::string bytes = RandomBytes(count);
    return bytes.empty() ? std::string() : ToHex(bytes);
}

std::string Derive(const std::string& password, const std::string& salt, int iterations)
{
    std::string key(32, '\0');
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(salt.data()),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(),
                          static_cast<int>(key.size()),
                          reinterpret_cast<unsigned char*>(key.data())) != 1)
        return {};
    return key;
}

bool Verify(const std::string& password, const std::string& salt, int iterations,
            const std::string& stored)
{
    const std::string key = Derive(password, salt, iterations);
    return !key.empty() && key.size() == stored.size() &&
           CRYPTO_memcmp(key.data(), stored.data(), key.size()) == 0;
}

std::string Sha256Hex(const std::string& bytes)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
    return ToHex(std::string(reinterpret_cast<char*>(digest), sizeof digest));
}

} // namespace PasswordHash
