#include "updater/Sha256.h"

#include <openssl/evp.h>

struct Sha256::State
{
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(ctx); }
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    EVP_DigestInit_ex(m_state->ctx, EVP_sha256(), nullptr);
}

Sha256::~Sha256() = default;

void Sha256::update(const char* data, std::size_t size)
{
    EVP_DigestUpdate(m_state->ctx, data, size);
}

std::string Sha256::finishHex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_state->ctx, digest, &length);
    EVP_DigestInit_ex(m_state->ctx, EVP_sha256(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 15];
    }
    return text;
}
