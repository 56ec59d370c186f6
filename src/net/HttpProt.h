#pragma once
// THttpCli: the HTTP client through which every page is fetched: the
// HTTP/1.0 request, or HTTP/1.1 with kept connections when Http11 is set. It
// runs on TWSocket and handles one request at a time. Get() is synchronous:
// it waits in a nested event loop (sleeping until the next event) so that
// timers, buttons and the client's own events run while it waits, and Abort()
// may be called from any of them.
#include "core/Errors.h"
#include "net/MessageWindow.h"
#include "net/WSocket.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

namespace orv
{

class ChunkedDecoder;
class ContentDecoder;
class HttpConnectionPool;

class EHttpException : public Exception
{
public:
    EHttpException(const std::string& message, int code)
        : Exception(message)
        , ErrorCode(code)
    {
    }
    int ErrorCode;
};

enum class THttpState : uint8_t {
    Idle, // no request in progress
    Connecting, // request started, or host found and connecting
    Resolving, // looking up the host to connect to
    AwaitingHeader, // request sent, reading the response header
    AwaitingBody, // header complete, reading the body until its framing or the close ends it
    Aborting, // Abort called, the request is winding down
};

enum class THttpRequest { None, Get, Post };

class THttpCli;
using THttpNotifyEvent = std::function<void(THttpCli* sender)>;
using THttpCommandEvent = std::function<void(THttpCli* sender, const std::string& line)>;
using THttpDataEvent = std::function<void(THttpCli* sender, const char* buffer, int len)>;
using THttpRequestDone = std::function<void(THttpCli* sender, THttpRequest rqType, uint16_t error)>;

class THttpCli
{
public:
    static constexpr int kRcvBufSize = 8192; // at most kRcvBufSize - 1 bytes in use
    // A response header longer than this fails the request: a peer must not
    // grow the received header list without bound.
    static constexpr int kMaxHeaderLines = 1000;
    static constexpr int kMaxHeaderBytes = 64 * 1024;
    // Redirections followed for one request; the next fails it.
    static constexpr int kMaxRedirects = 20;
    // Interim (1xx) answers skipped before the final one.
    static constexpr int kMaxInterimResponses = 20;

    THttpCli();
    ~THttpCli();
    THttpCli(const THttpCli&) = delete;
    THttpCli& operator=(const THttpCli&) = delete;

    // Published settings.
    std::string URL;
    std::string Proxy; // proxy host, may carry ":port"; empty: no proxy
    std::string ProxyPort = "80"; // used when Proxy names no port
    std::string Sender; // "From: "
    std::string Agent; // "User-Agent: "
    std::string Reference; // "Referer: "
    std::string Username, Password;
    std::string ProxyUsername, ProxyPassword;
    bool NoCache = false;
    QDateTime ModifiedSince; // sent when valid, as the local time it holds
    std::string Cookie;
    std::string ContentTypePost = "application/x-www-form-urlencoded";
    // Where the body goes, besides OnDocData; owned by the caller, may be set
    // from OnDocBegin.
    QIODevice* RcvdStream = nullptr;
    // The body of a POST, sent with its Content-Length and ContentTypePost
    // (unless ExtraHeaders names a Content-Type).
    std::string SendBody;
    // Sent after the other request headers, in order. A name or value that
    // would break the header (a line end, a NUL, a name that is not a token)
    // fails the request before anything is sent.
    std::vector<std::pair<std::string, std::string>> ExtraHeaders;
    // HTTP/1.1 with persistent connections and compression; off sends the
    // HTTP/1.0 request, a new connection for each.
    bool Http11 = false;
    // The URL's path and query go on the request line byte for byte, as the
    // drawn engines' query URLs always went (a blank or a quote included);
    // otherwise they are percent-encoded where a request target needs it.
    bool TargetAsGiven = false;
    // Where HTTP/1.1 connections are kept between requests; clients may share
    // one. Without one the client keeps its own.
    std::shared_ptr<HttpConnectionPool> Pool;

    bool MultiThreaded() const { return multiThreaded_; }
    void SetMultiThreaded(bool on);

    THttpNotifyEvent OnHeaderData, OnHeaderBegin, OnHeaderEnd;
    THttpNotifyEvent OnDocBegin, OnDocEnd, OnStateChange, OnLocationChange;
    THttpCommandEvent OnCommand;
    THttpDataEvent OnDocData;
    THttpRequestDone OnRequestDone;

    // Fetches URL; returns when the request has ended. Raises EHttpException
    // for a status of 400 or more (the reason phrase, the status as code) and
    // "HTTP component is busy" (code 1) while a request is in progress.
    void Get();
    // Starts fetching URL and returns at once; OnRequestDone tells when the
    // request has ended (the client is Idle again by then). Raises "HTTP
    // component is busy" as Get does. A request that cannot even start (a
    // host name that cannot be looked up) is wound down before the error is
    // raised, and OnRequestDone still follows.
    void GetAsync();
    // As Get and GetAsync, sending SendBody with POST. A redirection other
    // than 307 or 308 is followed with a GET without the body.
    void Post();
    void PostAsync();
    // Ends the request in progress at once; on an idle client closes the
    // socket if it is open.
    void Abort();

    // Run-time state.
    THttpState State() const { return state_; }
    THttpRequest RequestType() const { return requestType_; }
    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    long long ContentLength() const { return contentLength_; }
    const std::string& ContentType() const { return contentType_; }
    const std::vector<std::string>& AuthorizationRequest() const { return authRequests_; }
    const std::vector<std::string>& RcvdHeader() const { return rcvdHeader_; }
    const std::string& DocName() const { return docName_; }
    long long RcvdCount() const { return rcvdCount_; }
    const std::string& HostName() const { return hostName_; }
    const std::string& Path() const { return path_; }
    bool Connected() const { return connected_; }
    // The response body did not arrive whole (shorter than its
    // Content-Length, or the connection was reset) or could not be written
    // to the receive stream. Get then fails; whatever reached the stream is
    // a fragment, not the document.
    bool BodyFailed() const { return bodyFailed_; }
    // Whether the request (or its last redirection) goes over TLS.
    bool Secure() const { return secure_; }
    // The request failed in TLS: the handshake, the certificate, or a
    // record; the reason phrase names it.
    bool TlsFailed() const { return tlsFailed_; }
    // The server broke the protocol: a header past the bounds, a status
    // line without a code, too many redirections. The reason phrase names it.
    bool ProtocolFailed() const { return protocolFailed_; }
    // Whatever arrived is not the document: any of the three above.
    bool Failed() const { return bodyFailed_ || tlsFailed_ || protocolFailed_; }
    // The last request went over a connection kept from an earlier one.
    bool ReusedConnection() const { return reused_; }
    TWSocket& CtrlSocket() { return *socket_; }

private:
    void SetState(THttpState s);
    void Run(THttpRequest type);
    void RunAsync(THttpRequest type);
    void StartRequest(THttpRequest type);
    void StartLookup();
    void BindSocket();
    void SendOnKeptConnection();
    bool RetryOnNewConnection();
    HttpConnectionPool& ConnectionPool();
    void HandleMessage(int msg, uintptr_t wParam);
    void SocketDnsLookupDone(uint16_t error);
    void SocketSessionConnected(uint16_t error);
    void SocketDataAvailable();
    void SocketSessionClosed(uint16_t error);
    void LocationSessionClosed(uint16_t error);
    void ConnectionClosed();
    void SendRequest();
    void SplitHeaderLines();
    void HeaderLine(const std::string& line);
    void HeaderEnded();
    void LocationChange(const std::string& value);
    void BodyData(const char* data, int len);
    // Body bytes as they arrive: framing, then content decoding (HttpProtFraming.cpp).
    void StartBody();
    void BodyBytes(const char* data, int len);
    bool DecodedBytes(const char* data, size_t len);
    void BodyComplete(bool extraBytes);
    bool BodyStillWanted(uint64_t request) const;
    bool CheckFramedEnd(uint16_t error);
    void FailOnLongLine();
    void FailHeader(const std::string& reason);
    void FailBody(const std::string& reason);
    void CheckBodyEnd(uint16_t error);
    void StartResponse();
    void ResetResponse();
    void WaitUntilIdle(DeferredErrors& errors, const std::shared_ptr<bool>& alive);
    std::string ProxyTarget(const std::string& proto) const;
    std::string CurrentScheme() const { return secure_ ? "https" : "http"; }
    // TLS and the proxy tunnel (HttpProtTls.cpp).
    void BeginSecureSession();
    void SendTunnelRequest();
    void TunnelDataAvailable();
    void TunnelHeaderEnded(int status, const std::string& reason, bool extraBytes);
    void SocketTlsDone(uint16_t error);
    void FailSecure(int status, const std::string& reason, bool tls);

    std::unique_ptr<TWSocket> socket_ = std::make_unique<TWSocket>();
    MessageWindow window_;
    std::shared_ptr<HttpConnectionPool> ownPool_;
    std::vector<std::unique_ptr<TWSocket>> spentSockets_; // closed in their own events; destroyed later
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool multiThreaded_ = false;

    THttpState state_ = THttpState::Idle;
    THttpRequest requestType_ = THttpRequest::None;
    uint64_t serial_ = 0; // counts requests and restarts, to drop stale messages
    int statusCode_ = 0;
    std::string reasonPhrase_;
    long long contentLength_ = 0;
    bool contentLengthGiven_ = false; // this response carried a Content-Length
    bool bodyFailed_ = false;
    std::string contentType_;
    std::vector<std::string> authRequests_;
    std::vector<std::string> rcvdHeader_;
    std::string docName_;
    long long rcvdCount_ = 0;

    std::string hostName_; // sent in "Host: "
    std::string targetPort_; // the URL's own port, kept in proxy request lines
    std::string connectHost_, connectPort_;
    std::string path_; // what follows the method in the request line
    std::string method_ = "GET"; // of the request as it is sent now
    bool sendBody_ = false; // SendBody goes with the request now
    bool secure_ = false; // the current target is an https URL
    // Where a secure connection stands before the request is sent.
    enum class TlsPhase {
        None, // plain connection, or TLS is up
        Tunnel, // CONNECT sent to the proxy, reading its answer
        Handshake, // TLS handshake running
    };
    TlsPhase tlsPhase_ = TlsPhase::None;
    bool tlsFailed_ = false;
    int tunnelStatus_ = 0;
    std::string tunnelReason_;
    bool locationFlag_ = false;
    bool connected_ = false;
    bool closedHandled_ = false; // ConnectionClosed ran for this request
    uint16_t requestDoneError_ = 0;

    std::array<char, kRcvBufSize> rcvBuf_ {};
    int rcvdFill_ = 0;
    int headerLineCount_ = 0;
    int responseLines_ = 0; // header lines of the current response
    long long responseHeaderBytes_ = 0; // their bytes, line ends included
    int bodyDataCount_ = 0;

    // HTTP/1.1: how the body is framed and coded, and the connection's fate.
    enum class Framing {
        UntilClose, // the connection's close ends the body
        Length, // Content-Length bytes
        Chunked, // chunks up to the last one
    };
    Framing framing_ = Framing::UntilClose;
    long long bodyLeft_ = 0; // Length: bytes still to come
    std::unique_ptr<ChunkedDecoder> chunked_;
    std::unique_ptr<ContentDecoder> decoder_;
    std::string contentLengthText_; // the digits as sent, for messages
    std::string transferEncoding_, contentEncoding_, connectionHeader_;
    bool response11_ = false;
    bool bodyComplete_ = false;
    bool protocolFailed_ = false;
    std::string poolKey_; // empty: this connection is not kept
    bool reused_ = false; // the connection came from the pool
    bool retried_ = false; // sent again once on a new connection
    bool noReuse_ = false; // this attempt opens a new connection
    long long answerBytes_ = 0; // bytes of the answer on this connection
    int redirects_ = 0;
    int interimResponses_ = 0;
    std::string redirectError_; // a Location that cannot be followed
    std::string currentUrl_; // of the request as it goes now, for relative redirections
};

} // namespace orv
