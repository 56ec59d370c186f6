#pragma once
// TlsSession: the client side of one TLS connection, run over memory buffers
// instead of a socket. The socket layer feeds it the bytes that arrive and
// sends the bytes it produces, so TLS adds no thread and no blocking call:
// it is driven by the same readiness events as a plain connection.
//
// Every session verifies the server's certificate against the trust store
// of OpenSSL's default paths (SSL_CERT_FILE and SSL_CERT_DIR are honoured)
// and checks that it names the host asked for; there is no way to turn that
// off. Sessions share nothing but the client context, which is handed out
// under a lock, so several may run side by side on different threads.
#include <cstddef>
#include <memory>
#include <string>

namespace orv
{

class TlsSession
{
public:
    // A session that will verify `host`: a DNS name (also sent by SNI) or a
    // dotted IPv4 / bracket-free IPv6 address. A session that cannot be set
    // up reports Failed on its first step, with the reason.
    // Sessions are resumed (tickets, TLS 1.3 PSK) from a bounded cache under
    // `cacheKey` (host and port; empty: neither resumed nor kept).
    explicit TlsSession(const std::string& host, const std::string& cacheKey = {});
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    enum class Step {
        Done, // the handshake is complete and the peer verified
        NeedInput, // waiting for bytes from the peer
        Failed, // failure() names the reason
    };
    // Advances the handshake with the bytes fed so far.
    Step Handshake();

    // Bytes that arrived from the peer.
    void Feed(const char* data, size_t len);
    // Moves the bytes waiting to go to the peer into `out` (appended).
    void TakeOutput(std::string& out);
    bool HasOutput() const;

    // Reads plaintext: the count (> 0); 0 when the peer ended the session or
    // closed; kNeedInput when more bytes must be fed; kFailed on failure.
    static constexpr int kNeedInput = -1;
    static constexpr int kFailed = -2;
    int Read(char* buffer, int size);
    // Encrypts `len` bytes; their records are then waiting in the output.
    bool Write(const char* data, int len);

    // Plaintext already decrypted and not yet read.
    size_t BufferedPlain() const;
    // Bytes fed and not yet decrypted (possibly an incomplete record).
    size_t BufferedInput() const;

    // The handshake resumed an earlier session instead of a full one.
    bool Resumed() const;

    // Why the session failed, e.g. "certificate verify failed: certificate
    // has expired"; empty while nothing failed.
    const std::string& Failure() const { return failure_; }

    // Called when the peer closed the connection in the middle of the
    // handshake; records that as the failure.
    void FailClosedDuringHandshake();

private:
    void Fail(int sslResult);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string failure_;
};

} // namespace orv
