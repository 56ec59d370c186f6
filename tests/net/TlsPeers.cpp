#include "TlsPeers.h"

#include "NetTestSupport.h"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace orv::test
{

const TestAuthority& TestAuthority::get()
{
    static const TestAuthority authority;
    return authority;
}

TestAuthority::TestAuthority()
    : ca_(tlscerts::makeAuthority("Orvalen Test Authority"))
    , localhost_(tlscerts::makeServer(ca_, { "127.0.0.1", "localhost" }))
{
    folder_.write("ca.pem", ca_.cert);
    std::filesystem::create_directories(folder_.file("no-certs"));
    ::setenv("SSL_CERT_FILE", folder_.file("ca.pem").c_str(), 1);
    ::setenv("SSL_CERT_DIR", folder_.file("no-certs").c_str(), 1);
}

namespace
{

std::string tlsServer(const TempFolder& folder, int port, const std::string& name, const tlscerts::Pem& pem,
    const std::string& extra = {})
{
    folder.write(name + ".crt", pem.cert);
    folder.write(name + ".key", pem.key);
    const std::string dir = folder.path();
    return "  server { listen 127.0.0.1:" + std::to_string(port) + " ssl; root " + dir + "www; ssl_certificate " + dir
        + name + ".crt; ssl_certificate_key " + dir + name + ".key; " + extra + "}\n";
}

} // namespace

bool TlsNginx::start(const TempFolder& folder, std::string& error)
{
    const TestAuthority& authority = TestAuthority::get();
    const int plain = freePort();
    tls_ = freePort();
    untrusted_ = freePort();
    expired_ = freePort();
    wrongName_ = freePort();
    const tlscerts::Pem stranger = tlscerts::makeAuthority("Nobody Trusts Me");
    const std::string dir = folder.path();
    const std::string toHttp
        = "location = /to-http { return 302 http://127.0.0.1:" + std::to_string(plain) + "/index.html; } ";
    folder.write("nginx.conf",
        "daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log " + dir + "error.log;\npid " + dir
            + "nginx.pid;\nevents { worker_connections 64; }\nhttp {\n  access_log off;\n  sendfile on;\n"
            + "  log_format reuse '$ssl_session_reused $connection_requests';\n" + "  client_body_temp_path " + dir
            + ";\n  proxy_temp_path " + dir + ";\n  fastcgi_temp_path " + dir + ";\n  uwsgi_temp_path " + dir
            + ";\n  scgi_temp_path " + dir
            + ";\n  types { text/html html; }\n  default_type application/octet-stream;\n"
            + "  server { listen 127.0.0.1:" + std::to_string(plain) + "; root " + dir
            + "www; location = /to-https { return 302 https://127.0.0.1:" + std::to_string(tls_) + "/to-http; } }\n"
            + tlsServer(folder, tls_, "good", authority.localhost(), toHttp + "access_log " + dir + "reuse.log reuse; ")
            + tlsServer(folder, untrusted_, "untrusted", tlscerts::makeServer(stranger, { "127.0.0.1" }))
            + tlsServer(folder, expired_, "expired",
                tlscerts::makeServer(authority.ca(), { "127.0.0.1" }, -30L * 24 * 3600, -24L * 3600))
            + tlsServer(folder, wrongName_, "wrongname", tlscerts::makeServer(authority.ca(), { "www.example.com" }))
            + "}\n");
    if (!process_.start(Nginx::kBinary,
            { "-c", QString::fromStdString(dir + "nginx.conf"), "-p", QString::fromStdString(dir), "-e",
                QString::fromStdString(dir + "error.log") },
            plain, error))
        return false;
    // All ports are bound before nginx accepts on any of them.
    return waitFor([&] { return accepts(tls_) && accepts(wrongName_); }, 10000);
}

TlsTestServer::TlsTestServer(Mode mode, std::string reply)
    : mode_(mode)
    , reply_(std::move(reply))
{
    TestAuthority::get();
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sin {};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sin;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0
        || ::listen(listenFd_, 8) != 0 || ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sin), &len) != 0)
        throw std::runtime_error("TlsTestServer: cannot listen");
    port_ = ntohs(sin.sin_port);
    thread_ = std::thread([this] { run(); });
}

TlsTestServer::~TlsTestServer()
{
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);
    thread_.join();
    ::close(listenFd_);
}

std::string TlsTestServer::url(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(port_) + path;
}

void TlsTestServer::run()
{
    while (!stopping_) {
        pollfd p { listenFd_, POLLIN, 0 };
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const timeval limit { 5, 0 };
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        serve(fd);
        ::close(fd);
    }
}

void TlsTestServer::serve(int fd)
{
    if (mode_ == Mode::Silent) {
        // Hold the connection until the client gives up or the test ends.
        while (!stopping_) {
            pollfd p { fd, POLLIN, 0 };
            if (::poll(&p, 1, 100) > 0) {
                char buf[4096];
                if (::recv(fd, buf, sizeof buf, 0) <= 0)
                    return;
            }
        }
        return;
    }
    if (mode_ == Mode::CloseInHandshake) {
        char buf[4096];
        (void)::recv(fd, buf, sizeof buf, 0);
        return;
    }
    const TestAuthority& authority = TestAuthority::get();
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    BIO* certBio = BIO_new_mem_buf(authority.localhost().cert.data(), -1);
    BIO* keyBio = BIO_new_mem_buf(authority.localhost().key.data(), -1);
    X509* cert = PEM_read_bio_X509(certBio, nullptr, nullptr, nullptr);
    EVP_PKEY* key = PEM_read_bio_PrivateKey(keyBio, nullptr, nullptr, nullptr);
    SSL_CTX_use_certificate(ctx, cert);
    SSL_CTX_use_PrivateKey(ctx, key);
    SSL* ssl = SSL_new(ctx);
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) == 1) {
        std::string request;
        char buf[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int n = SSL_read(ssl, buf, sizeof buf);
            if (n <= 0)
                break;
            request.append(buf, static_cast<size_t>(n));
        }
        if (mode_ == Mode::PlainAfterHandshake) {
            (void)::send(fd, reply_.data(), reply_.size(), MSG_NOSIGNAL);
        } else {
            SSL_write(ssl, reply_.data(), static_cast<int>(reply_.size()));
            SSL_shutdown(ssl);
        }
    }
    SSL_free(ssl);
    X509_free(cert);
    EVP_PKEY_free(key);
    BIO_free(certBio);
    BIO_free(keyBio);
    SSL_CTX_free(ctx);
}

} // namespace orv::test
