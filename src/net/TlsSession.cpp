#include "net/TlsSession.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

#include <climits>
#include <cstdlib>
#include <list>
#include <mutex>
#include <utility>

namespace orv
{
namespace
{

// Sessions to resume, per host and port, the most recent last. Bounded: the
// oldest goes when a new one comes past the bound. Only sessions whose
// handshake was verified reach it, and it is emptied whenever the trust
// store changes, so that a resumption never skips a verification that a
// full handshake would make now.
class SessionCache
{
public:
    static constexpr size_t kMaxSessions = 64;

    ~SessionCache() { Clear(); }

    // Takes the reference `session` holds.
    void Put(const std::string& key, SSL_SESSION* session)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        RemoveLocked(key);
        sessions_.emplace_back(key, session);
        if (sessions_.size() > kMaxSessions) {
            SSL_SESSION_free(sessions_.front().second);
            sessions_.pop_front();
        }
    }
    // A copy for one connection to take, or nullptr.
    SSL_SESSION* Get(const std::string& key)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [k, session] : sessions_)
            if (k == key)
                return SSL_SESSION_dup(session);
        return nullptr;
    }
    void Remove(const std::string& key)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        RemoveLocked(key);
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& entry : sessions_)
            SSL_SESSION_free(entry.second);
        sessions_.clear();
    }

private:
    void RemoveLocked(const std::string& key)
    {
        for (auto it = sessions_.begin(); it != sessions_.end(); ++it) {
            if (it->first == key) {
                SSL_SESSION_free(it->second);
                sessions_.erase(it);
                return;
            }
        }
    }

    std::mutex mutex_;
    std::list<std::pair<std::string, SSL_SESSION*>> sessions_;
};

SessionCache& sessionCache()
{
    static SessionCache cache;
    return cache;
}

// Where a session's cache key hangs on its SSL object.
int keyIndex()
{
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// A new session (after a full handshake, or a TLS 1.3 ticket) for the host
// and port of the connection.
int keepNewSession(SSL* ssl, SSL_SESSION* session)
{
    const auto* key = static_cast<const std::string*>(SSL_get_ex_data(ssl, keyIndex()));
    if (!key || key->empty() || SSL_get_verify_result(ssl) != X509_V_OK || !SSL_SESSION_is_resumable(session))
        return 0;
    // A copy: a connection that ends without a TLS shutdown marks its own
    // session as not to be resumed, which would spoil the kept one.
    if (SSL_SESSION* copy = SSL_SESSION_dup(session))
        sessionCache().Put(*key, copy);
    return 0;
}

// The client context: TLS 1.2 or later, peer verification on, the trust
// store of OpenSSL's default paths. It is built on first use and rebuilt only
// when SSL_CERT_FILE or SSL_CERT_DIR has changed since, so loading the store
// is paid once. Sessions may start on several threads: the context is
// handed out under a lock, and each session holds its own reference to it.
class ClientContexts
{
public:
    ~ClientContexts() { SSL_CTX_free(ctx_); }

    // A new session on the current context; nullptr with `error` set when
    // no context can be made.
    SSL* NewSession(std::string& error)
    {
        const std::string key = envText("SSL_CERT_FILE") + '\n' + envText("SSL_CERT_DIR");
        std::lock_guard<std::mutex> lock(mutex_);
        if (!ctx_ || key != key_) {
            SSL_CTX_free(ctx_); // live sessions keep the old one alive
            ctx_ = Make();
            key_ = key;
            sessionCache().Clear(); // verified against another store
        }
        if (!ctx_) {
            error = "TLS unavailable: cannot create a client context";
            return nullptr;
        }
        SSL* ssl = SSL_new(ctx_);
        if (!ssl)
            error = "TLS unavailable: out of memory";
        return ssl;
    }

private:
    static std::string envText(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? value : "";
    }

    static SSL_CTX* Make()
    {
        SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
        if (!ctx)
            return nullptr;
        SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
        SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
        // Reads SSL_CERT_FILE / SSL_CERT_DIR when set, else the system's
        // bundle and folder. A store that cannot be read leaves no trusted
        // issuer, so every verification then fails with its own reason.
        SSL_CTX_set_default_verify_paths(ctx);
        // Client sessions are kept in our own bounded cache, per host and port.
        SSL_CTX_set_session_cache_mode(ctx, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
        SSL_CTX_sess_set_new_cb(ctx, keepNewSession);
        return ctx;
    }

    std::mutex mutex_;
    SSL_CTX* ctx_ = nullptr;
    std::string key_;
};

ClientContexts& clientContexts()
{
    static ClientContexts contexts; // initialised once, whichever thread comes first
    return contexts;
}

bool isIpAddress(const std::string& host)
{
    unsigned char buf[16];
    return inet_pton(AF_INET, host.c_str(), buf) == 1 || inet_pton(AF_INET6, host.c_str(), buf) == 1;
}

int clampToInt(size_t n)
{
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

} // namespace

struct TlsSession::Impl {
    std::string cacheKey; // before ssl: the callbacks of SSL_free may read it
    SSL* ssl = nullptr;
    BIO* in = nullptr; // bytes from the peer; owned by ssl
    BIO* out = nullptr; // bytes for the peer; owned by ssl
    bool handshakeDone = false;

    ~Impl() { SSL_free(ssl); }
};

TlsSession::TlsSession(const std::string& host, const std::string& cacheKey)
    : impl_(std::make_unique<Impl>())
{
    impl_->cacheKey = cacheKey;
    std::string error;
    SSL* ssl = clientContexts().NewSession(error);
    if (!ssl) {
        failure_ = error;
        return;
    }
    BIO* in = BIO_new(BIO_s_mem());
    BIO* out = BIO_new(BIO_s_mem());
    if (!ssl || !in || !out) {
        SSL_free(ssl);
        BIO_free(in);
        BIO_free(out);
        failure_ = "TLS unavailable: out of memory";
        return;
    }
    // An empty input buffer means "wait for more", never end of stream: the
    // socket layer reports the peer's close itself.
    BIO_set_mem_eof_return(in, -1);
    SSL_set_bio(ssl, in, out);
    impl_->ssl = ssl;
    impl_->in = in;
    impl_->out = out;
    SSL_set_connect_state(ssl);

    bool named = false;
    if (isIpAddress(host)) {
        // An address is matched against the certificate's IP entries; SNI
        // carries names only.
        named = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str()) == 1;
    } else if (!host.empty()) {
        SSL_set_hostflags(ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        named = SSL_set1_host(ssl, host.c_str()) == 1 && SSL_set_tlsext_host_name(ssl, host.c_str()) == 1;
    }
    if (!named) {
        failure_ = "TLS handshake failed: invalid host name '" + host + "'";
        return;
    }
    if (!cacheKey.empty()) {
        SSL_set_ex_data(ssl, keyIndex(), &impl_->cacheKey);
        if (SSL_SESSION* kept = sessionCache().Get(cacheKey)) {
            SSL_set_session(ssl, kept); // takes a reference of its own
            SSL_SESSION_free(kept);
        }
    }
}

TlsSession::~TlsSession() = default;

bool TlsSession::Resumed() const
{
    return impl_->ssl && impl_->handshakeDone && SSL_session_reused(impl_->ssl) == 1;
}

void TlsSession::Fail(int sslResult)
{
    if (!impl_->handshakeDone && !impl_->cacheKey.empty())
        sessionCache().Remove(impl_->cacheKey); // never offered again
    const long verify = SSL_get_verify_result(impl_->ssl);
    const int kind = SSL_get_error(impl_->ssl, sslResult);
    const unsigned long e = ERR_peek_last_error();
    if (verify != X509_V_OK) {
        failure_ = std::string("certificate verify failed: ") + X509_verify_cert_error_string(verify);
    } else {
        const char* reason = e != 0 ? ERR_reason_error_string(e) : nullptr;
        std::string what = reason ? reason : "error " + std::to_string(kind);
        failure_ = (impl_->handshakeDone ? "TLS error: " : "TLS handshake failed: ") + what;
    }
    ERR_clear_error();
}

TlsSession::Step TlsSession::Handshake()
{
    if (!failure_.empty() || !impl_->ssl)
        return Step::Failed;
    if (impl_->handshakeDone)
        return Step::Done;
    ERR_clear_error();
    const int r = SSL_do_handshake(impl_->ssl);
    if (r == 1) {
        impl_->handshakeDone = true;
        return Step::Done;
    }
    const int kind = SSL_get_error(impl_->ssl, r);
    if (kind == SSL_ERROR_WANT_READ || kind == SSL_ERROR_WANT_WRITE)
        return Step::NeedInput;
    Fail(r);
    return Step::Failed;
}

void TlsSession::FailClosedDuringHandshake()
{
    if (failure_.empty())
        failure_ = "TLS handshake failed: the server closed the connection";
}

void TlsSession::Feed(const char* data, size_t len)
{
    while (impl_->in && len > 0) {
        const int n = BIO_write(impl_->in, data, clampToInt(len));
        if (n <= 0)
            return;
        data += n;
        len -= static_cast<size_t>(n);
    }
}

void TlsSession::TakeOutput(std::string& out)
{
    if (!impl_->out)
        return;
    char* data = nullptr;
    const long len = BIO_get_mem_data(impl_->out, &data);
    if (len > 0) {
        out.append(data, static_cast<size_t>(len));
        (void)BIO_reset(impl_->out);
    }
}

bool TlsSession::HasOutput() const
{
    return impl_->out && BIO_ctrl_pending(impl_->out) > 0;
}

int TlsSession::Read(char* buffer, int size)
{
    if (!failure_.empty() || !impl_->ssl)
        return kFailed;
    if (size <= 0)
        return kNeedInput;
    ERR_clear_error();
    const int n = SSL_read(impl_->ssl, buffer, size);
    if (n > 0)
        return n;
    switch (SSL_get_error(impl_->ssl, n)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        return kNeedInput;
    case SSL_ERROR_ZERO_RETURN:
        return 0; // the peer ended the session in order
    default:
        Fail(n);
        return kFailed;
    }
}

bool TlsSession::Write(const char* data, int len)
{
    if (!failure_.empty() || !impl_->ssl)
        return false;
    ERR_clear_error();
    while (len > 0) {
        const int n = SSL_write(impl_->ssl, data, len);
        if (n <= 0) {
            Fail(n);
            return false;
        }
        data += n;
        len -= n;
    }
    return true;
}

size_t TlsSession::BufferedPlain() const
{
    return impl_->ssl ? static_cast<size_t>(SSL_pending(impl_->ssl)) : 0;
}

size_t TlsSession::BufferedInput() const
{
    return impl_->in ? BIO_ctrl_pending(impl_->in) : 0;
}

} // namespace orv
