#pragma once
// TLS peers for the network tests: a certificate authority made by the test
// and trusted by the whole test program (through SSL_CERT_FILE, as a user's
// trust store would be), a real nginx serving https with good and bad
// certificates, and a small TLS server whose misbehaviour is scripted.
#include "RealPeers.h"
#include "TlsCerts.h"

#include <atomic>
#include <string>
#include <thread>

namespace orv::test
{

// The test program's own authority. The first call makes it and points
// SSL_CERT_FILE at it (and SSL_CERT_DIR at an empty folder), before any TLS
// session of the process reads the trust store; child processes inherit it.
class TestAuthority
{
public:
    static const TestAuthority& get();
    const tlscerts::Pem& ca() const { return ca_; }
    // A certificate for 127.0.0.1 and localhost, signed by the authority.
    const tlscerts::Pem& localhost() const { return localhost_; }
    const std::string& folder() const { return folder_.path(); }

private:
    TestAuthority();
    TempFolder folder_;
    tlscerts::Pem ca_;
    tlscerts::Pem localhost_;
};

// nginx on 127.0.0.1 with a plain port and four TLS ports, all serving
// `folder.file("www/")`:
//  - tlsPort(): a certificate for 127.0.0.1 and localhost from the trusted
//    authority; "/to-http" redirects to plain "/index.html"; its requests are
//    logged to "reuse.log" as "$ssl_session_reused $connection_requests";
//  - untrustedPort(): issued by an authority nobody trusts;
//  - expiredPort(): from the trusted authority, expired yesterday;
//  - wrongNamePort(): from the trusted authority, for www.example.com only.
// The plain port's "/to-https" redirects to the TLS port's "/to-http".
class TlsNginx
{
public:
    bool start(const TempFolder& folder, std::string& error);
    int port() const { return process_.port(); }
    int tlsPort() const { return tls_; }
    int untrustedPort() const { return untrusted_; }
    int expiredPort() const { return expired_; }
    int wrongNamePort() const { return wrongName_; }

private:
    PeerProcess process_;
    int tls_ = 0, untrusted_ = 0, expired_ = 0, wrongName_ = 0;
};

// A one-connection-at-a-time TLS server on its own thread, with blocking
// sockets bounded by time-outs. What it does with each connection:
class TlsTestServer
{
public:
    enum class Mode {
        Silent, // accepts and never says a word
        CloseInHandshake, // reads the client's hello, then closes
        Reply, // completes the handshake, reads the request, sends `reply`, closes
        PlainAfterHandshake, // as Reply, but `reply` goes out unencrypted, outside any record
    };
    TlsTestServer(Mode mode, std::string reply = {});
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/") const;

private:
    void run();
    void serve(int fd);

    Mode mode_;
    std::string reply_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ { false };
    std::thread thread_;
};

} // namespace orv::test
