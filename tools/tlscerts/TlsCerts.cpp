#include "TlsCerts.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace tlscerts
{
namespace
{

template <auto Free> struct Deleter {
    template <typename T> void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using Cert = std::unique_ptr<X509, Deleter<X509_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO_free>>;

void check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string("tlscerts: ") + what);
}

Key newKey()
{
    Key key(EVP_EC_gen("P-256"));
    check(key != nullptr, "cannot make a key");
    return key;
}

std::string bioText(BIO* bio)
{
    char* data = nullptr;
    const long len = BIO_get_mem_data(bio, &data);
    return len > 0 ? std::string(data, static_cast<size_t>(len)) : std::string();
}

Pem toPem(const Cert& cert, const Key& key)
{
    Bio certBio(BIO_new(BIO_s_mem()));
    Bio keyBio(BIO_new(BIO_s_mem()));
    check(certBio && keyBio, "out of memory");
    check(PEM_write_bio_X509(certBio.get(), cert.get()) == 1, "cannot write a certificate");
    check(PEM_write_bio_PrivateKey(keyBio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1,
        "cannot write a key");
    return { bioText(certBio.get()), bioText(keyBio.get()) };
}

Cert readCert(const std::string& pem)
{
    Bio bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    Cert cert(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    check(cert != nullptr, "cannot read the issuer's certificate");
    return cert;
}

Key readKey(const std::string& pem)
{
    Bio bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    Key key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
    check(key != nullptr, "cannot read the issuer's key");
    return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const std::string& value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    check(ext != nullptr, "cannot make an extension");
    const int ok = X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
    check(ok == 1, "cannot add an extension");
}

Cert newCert(const std::string& commonName, const Key& key, long fromSeconds, long toSeconds)
{
    static long serial = 0;
    Cert cert(X509_new());
    check(cert != nullptr, "out of memory");
    X509_set_version(cert.get(), 2);
    // Unique serials within the process, so no two certificates of one run
    // look alike to a verifier.
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), static_cast<long>(time(nullptr) % 100000) * 1000 + ++serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), fromSeconds);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), toSeconds);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(
        name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
    return cert;
}

bool isAddress(const std::string& name)
{
    unsigned char buf[16];
    return inet_pton(AF_INET, name.c_str(), buf) == 1 || inet_pton(AF_INET6, name.c_str(), buf) == 1;
}

} // namespace

Pem makeAuthority(const std::string& commonName)
{
    const Key key = newKey();
    Cert cert = newCert(commonName, key, -3600, 365L * 24 * 3600);
    X509_set_issuer_name(cert.get(), X509_get_subject_name(cert.get()));
    addExtension(cert.get(), cert.get(), NID_basic_constraints, "critical,CA:TRUE");
    addExtension(cert.get(), cert.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(cert.get(), cert.get(), NID_subject_key_identifier, "hash");
    check(X509_sign(cert.get(), key.get(), EVP_sha256()) > 0, "cannot sign the authority");
    return toPem(cert, key);
}

Pem makeServer(const Pem& issuer, const std::vector<std::string>& names, long fromSeconds, long toSeconds)
{
    const Cert issuerCert = readCert(issuer.cert);
    const Key issuerKey = readKey(issuer.key);
    const Key key = newKey();
    Cert cert = newCert(names.empty() ? "server" : names.front(), key, fromSeconds, toSeconds);
    X509_set_issuer_name(cert.get(), X509_get_subject_name(issuerCert.get()));
    std::string alt;
    for (const std::string& n : names)
        alt += (alt.empty() ? "" : ",") + std::string(isAddress(n) ? "IP:" : "DNS:") + n;
    if (!alt.empty())
        addExtension(cert.get(), issuerCert.get(), NID_subject_alt_name, alt);
    addExtension(cert.get(), issuerCert.get(), NID_basic_constraints, "CA:FALSE");
    addExtension(cert.get(), issuerCert.get(), NID_ext_key_usage, "serverAuth");
    addExtension(cert.get(), issuerCert.get(), NID_authority_key_identifier, "keyid:always");
    check(X509_sign(cert.get(), issuerKey.get(), EVP_sha256()) > 0, "cannot sign the server certificate");
    return toPem(cert, key);
}

} // namespace tlscerts
