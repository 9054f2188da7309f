#pragma once

#include <cstddef>
#include <memory>
#include <string>

// SHA-256 over data given in pieces (OpenSSL).
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const char* data, std::size_t size);
    // Lower-case hex digest of everything given so far; starts a new digest.
    std::string finishHex();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
