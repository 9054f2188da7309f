#pragma once

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <string>

// Writes a fresh key and a self-signed certificate for 127.0.0.1 as PEM files. No client
// trusts it, which is the point.
inline bool WriteSelfSignedCert(const std::string& certPath, const std::string& keyPath)
{
    EVP_PKEY* key = EVP_RSA_gen(2048);
    X509* cert = X509_new();
    bool ok = key && cert;
    if (ok) {
        ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert), 0);
        X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
        X509_set_pubkey(cert, key);
        X509_NAME* name = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(cert, name);
        ok = X509_sign(cert, key, EVP_sha256()) > 0;
    }
    if (ok) {
        std::FILE* c = std::fopen(certPath.c_str(), "w");
        std::FILE* k = std::fopen(keyPath.c_str(), "w");
        ok = c && k && PEM_write_X509(c, cert) &&
             PEM_write_PrivateKey(k, key, nullptr, nullptr, 0, nullptr, nullptr);
        if (c)
            std::fclose(c);
        if (k)
            std::fclose(k);
    }
    X509_free(cert);
    EVP_PKEY_free(key);
    return ok;
}
