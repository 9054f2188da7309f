#pragma once

#include <string>

// Salted, deliberately slow password hashes (PBKDF2-HMAC-SHA256) and random tokens.
namespace PasswordHash {

constexpr int kIterations = 60000;

// Random bytes from the system's cryptographic generator; empty when it fails.
std::string RandomBytes(std::size_t count);
// `count` random bytes as lower-case hexadecimal.
std::string RandomHex(std::size_t count);
std::string ToHex(const std::string& bytes);

// Derived key of `password` with `salt`; empty on failure.
std::string Derive(const std::string& password, const std::string& salt, int iterations);
// Constant-time comparison of the derived key with the stored one.
bool Verify(const std::string& password, const std::string& salt, int iterations,
            const std::string& stored);

std::string Sha256Hex(const std::string& bytes);

} // namespace PasswordHash
