#pragma once
// Certificates for local TLS servers, made with the OpenSSL API: a
// self-signed certificate authority, and server certificates it signs for
// chosen names, with a chosen validity. Keys are P-256, quick to make.
#include <string>
#include <vector>

namespace tlscerts
{

// A certificate and its private key, both PEM.
struct Pem {
    std::string cert;
    std::string key;
};

// A self-signed certificate authority, valid for a year from an hour ago.
// Throws std::runtime_error when OpenSSL fails.
Pem makeAuthority(const std::string& commonName);

// A server certificate signed by `issuer` for `names`: each a DNS name or an
// IP address, all placed in the subject alternative names. Valid from now +
// `fromSeconds` to now + `toSeconds` (both may be negative).
Pem makeServer(const Pem& issuer, const std::vector<std::string>& names, long fromSeconds = -3600,
    long toSeconds = 30L * 24 * 3600);

} // namespace tlscerts
