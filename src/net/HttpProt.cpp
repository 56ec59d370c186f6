#include "net/HttpProt.h"

#include "core/Text.h"
#include "net/ChunkedDecoder.h"
#include "net/ContentDecoder.h"
#include "net/HttpConnectionPool.h"
#include "net/HttpUrl.h"
#include "net/UrlReference.h"
#include "net/WinSockErrors.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace orv
{
namespace
{

// The private messages of the client's hidden window.
constexpr int WM_HTTP_READY = WM_USER + 1; // the request has wound down
constexpr int WM_HTTP_REQUEST_DONE = WM_USER + 2; // raise OnRequestDone
constexpr int WM_HTTP_RESTART = WM_USER + 3; // follow a redirection
constexpr int WM_HTTP_SEND_KEPT = WM_USER + 4; // send on a connection taken from the pool

std::string errorWithNumber(int error)
{
    return WSocketErrorDesc(error) + " (Error #" + IntToStr(error) + ")";
}

} // namespace

THttpCli::THttpCli()
    : window_([this](int msg, uintptr_t wParam, intptr_t) { HandleMessage(msg, wParam); })
{
    BindSocket();
}

void THttpCli::BindSocket()
{
    socket_->MultiThreaded = multiThreaded_;
    socket_->OnDnsLookupDone = [this](TCustomWSocket*, uint16_t e) { SocketDnsLookupDone(e); };
    socket_->OnSessionConnected = [this](TCustomWSocket*, uint16_t e) { SocketSessionConnected(e); };
    socket_->OnDataAvailable = [this](TCustomWSocket*, uint16_t) { SocketDataAvailable(); };
    socket_->OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { SocketSessionClosed(e); };
    socket_->OnTlsDone = [this](TCustomWSocket*, uint16_t e) { SocketTlsDone(e); };
}

HttpConnectionPool& THttpCli::ConnectionPool()
{
    if (Pool)
        return *Pool;
    if (!ownPool_)
        ownPool_ = std::make_shared<HttpConnectionPool>(1, 4);
    return *ownPool_;
}

THttpCli::~THttpCli()
{
    *alive_ = false;
    socket_->OnDnsLookupDone = nullptr;
    socket_->OnSessionConnected = nullptr;
    socket_->OnDataAvailable = nullptr;
    socket_->OnSessionClosed = nullptr;
    socket_->OnTlsDone = nullptr;
    for (auto& spent : spentSockets_)
        spent->OnSessionClosed = nullptr;
}

void THttpCli::SetMultiThreaded(bool on)
{
    multiThreaded_ = on;
    socket_->MultiThreaded = on;
}

void THttpCli::SetState(THttpState s)
{
    if (s == state_)
        return;
    state_ = s;
    if (OnStateChange)
        OnStateChange(this);
}

std::string THttpCli::ProxyTarget(const std::string& proto) const
{
    return (proto.empty() ? "http" : proto) + "://" + hostName_ + (targetPort_.empty() ? "" : ":" + targetPort_);
}

void THttpCli::Get()
{
    Run(THttpRequest::Get);
}

void THttpCli::GetAsync()
{
    RunAsync(THttpRequest::Get);
}

void THttpCli::Post()
{
    Run(THttpRequest::Post);
}

void THttpCli::PostAsync()
{
    RunAsync(THttpRequest::Post);
}

void THttpCli::Run(THttpRequest type)
{
    if (state_ != THttpState::Idle)
        throw EHttpException("HTTP component is busy", 1);
    const std::shared_ptr<bool> alive = alive_;
    DeferredErrors errors;
    try {
        StartRequest(type);
    } catch (...) {
        DeferredErrors::Keep(std::current_exception());
    }
    WaitUntilIdle(errors, alive);
    if (!*alive)
        throw EHttpException("Connection aborted on request", 404);
    if (errors.HasError()) {
        // An error ends the wait early; wind the request down first, so that
        // the client is not left busy for the next request.
        if (state_ != THttpState::Idle) {
            DeferredErrors windDown;
            try {
                Abort();
            } catch (...) {
            }
            WaitUntilIdle(windDown, alive);
        }
        errors.RethrowIfAny();
    }
    if (statusCode_ >= 400)
        throw EHttpException(reasonPhrase_, statusCode_);
}

void THttpCli::RunAsync(THttpRequest type)
{
    if (state_ != THttpState::Idle)
        throw EHttpException("HTTP component is busy", 1);
    try {
        StartRequest(type);
    } catch (...) {
        if (state_ != THttpState::Idle && state_ != THttpState::Aborting) {
            try {
                Abort();
            } catch (...) { // the first error is the one to report
            }
        }
        throw;
    }
}

void THttpCli::WaitUntilIdle(DeferredErrors& errors, const std::shared_ptr<bool>& alive)
{
    while (*alive && state_ != THttpState::Idle && !errors.HasError())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void THttpCli::StartRequest(THttpRequest type)
{
    for (const auto& [name, value] : ExtraHeaders)
        if (!ValidHeaderField(name, value))
            throw EHttpException("Invalid request header '" + name + "'", 400);
    spentSockets_.clear();
    rcvdHeader_.clear();
    authRequests_.clear();
    requestType_ = type;
    protocolFailed_ = false;
    reused_ = false;
    retried_ = false;
    noReuse_ = false;
    redirects_ = 0;
    interimResponses_ = 0;
    redirectError_.clear();
    method_ = type == THttpRequest::Post ? "POST" : "GET";
    sendBody_ = type == THttpRequest::Post;
    requestDoneError_ = 0;
    bodyFailed_ = false;
    socket_->OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { SocketSessionClosed(e); };
    ++serial_;
    closedHandled_ = false;
    locationFlag_ = false;
    connected_ = false;
    tlsFailed_ = false;
    tlsPhase_ = TlsPhase::None;
    rcvdFill_ = 0;
    SetState(THttpState::Connecting);

    docName_.clear();
    statusCode_ = 0;
    reasonPhrase_.clear();
    contentLength_ = 0;
    contentType_.clear();
    rcvdCount_ = 0;
    headerLineCount_ = 0;
    bodyDataCount_ = 0;

    // The fragment is the reader's, never the server's.
    currentUrl_ = URL.substr(0, URL.find('#'));
    const TUrlParts url = ParseURL(currentUrl_);
    hostName_ = url.host;
    targetPort_ = url.port;
    secure_ = IsSecureScheme(url.proto);
    if (Proxy.empty() || secure_) {
        // Through a proxy, an https request goes inside a tunnel to the
        // target, so its request line is the same as without one.
        path_ = url.path;
        connectHost_ = url.host;
        connectPort_ = url.port.empty() ? DefaultPort(url.proto) : url.port;
    }
    if (!Proxy.empty()) {
        // The URL's port stays in the request line: without it the proxy
        // would fetch the same path from port 80, another resource.
        if (!secure_)
            path_ = ProxyTarget(url.proto) + url.path;
        const TUrlParts proxy = ParseURL(Proxy);
        connectHost_ = proxy.host;
        connectPort_ = proxy.port.empty() ? ProxyPort : proxy.port;
    }
    if (!url.user.empty())
        Username = url.user;
    if (!url.pass.empty())
        Password = url.pass;
    if (path_.empty())
        path_.assign(1, '/'); // not = "/": GCC 12 at -O3 warns falsely about that
    if (!TargetAsGiven)
        path_ = RequestTarget(path_);
    docName_ = DocNameFromPath(url.path);
    StartLookup();
}

void THttpCli::StartLookup()
{
    answerBytes_ = 0;
    reused_ = false;
    poolKey_ = Http11 && Proxy.empty() ? HttpConnectionPool::Key(CurrentScheme(), connectHost_, connectPort_) : "";
    if (!poolKey_.empty() && !noReuse_) {
        if (std::unique_ptr<TWSocket> kept = ConnectionPool().Take(poolKey_)) {
            if (socket_->State() != TSocketState::wsClosed)
                socket_->Close();
            kept->OpenConnectedHandle = socket_->OpenConnectedHandle;
            socket_ = std::move(kept);
            BindSocket();
            reused_ = true;
            SetState(THttpState::Connecting);
            // Sent from the event loop, as a new connection's request is.
            window_.PostMessage(WM_HTTP_SEND_KEPT, static_cast<uintptr_t>(serial_), 0);
            return;
        }
    }
    noReuse_ = false;
    SetState(THttpState::Resolving);
    if (state_ == THttpState::Resolving) // an OnStateChange handler may have aborted
        socket_->DnsLookup(ConnectableHost(connectHost_));
}

void THttpCli::SendOnKeptConnection()
{
    connected_ = true;
    StartResponse();
    SetState(THttpState::AwaitingHeader);
    if (state_ != THttpState::AwaitingHeader)
        return; // an OnStateChange handler aborted
    try {
        SendRequest();
    } catch (...) {
        socket_->Close();
        throw;
    }
}

// A kept connection that the server closed before answering: the request
// goes again, once, on a new connection. Only a GET, which may be repeated.
bool THttpCli::RetryOnNewConnection()
{
    if (!reused_ || retried_ || answerBytes_ > 0 || method_ != "GET" || state_ == THttpState::Aborting
        || (state_ != THttpState::AwaitingHeader && state_ != THttpState::Connecting))
        return false;
    retried_ = true;
    noReuse_ = true;
    connected_ = false;
    // This socket's own event is running: it is destroyed later.
    std::unique_ptr<TWSocket> fresh = std::make_unique<TWSocket>();
    fresh->OpenConnectedHandle = socket_->OpenConnectedHandle;
    spentSockets_.push_back(std::move(socket_));
    socket_ = std::move(fresh);
    BindSocket();
    window_.PostMessage(WM_HTTP_RESTART, static_cast<uintptr_t>(serial_), 0);
    return true;
}

void THttpCli::SocketDnsLookupDone(uint16_t error)
{
    if (state_ != THttpState::Resolving)
        return; // aborted: Abort winds the request down itself
    if (error != 0) {
        statusCode_ = 404;
        reasonPhrase_ = "can't resolve hostname to IP address";
        ConnectionClosed();
        return;
    }
    SetState(THttpState::Connecting);
    try {
        socket_->SetAddr(socket_->DnsResult());
        socket_->SetPort(connectPort_);
        socket_->SetProto("tcp");
        socket_->Connect();
    } catch (const ESocketException&) {
        const int code = socket_->LastError();
        requestDoneError_ = static_cast<uint16_t>(code);
        statusCode_ = 404;
        reasonPhrase_ = "can't connect: " + errorWithNumber(code);
        socket_->Close();
        ConnectionClosed();
    }
}

void THttpCli::SocketSessionConnected(uint16_t error)
{
    if (state_ != THttpState::Connecting)
        return;
    if (error != 0) {
        requestDoneError_ = error;
        statusCode_ = 404;
        reasonPhrase_ = errorWithNumber(error);
        ConnectionClosed();
        return;
    }
    connected_ = true;
    StartResponse();
    if (secure_)
        return BeginSecureSession();
    SetState(THttpState::AwaitingHeader);
    try {
        SendRequest();
    } catch (...) {
        socket_->Close();
        throw;
    }
}

void THttpCli::SendRequest()
{
    TRequestFields f;
    f.path = path_;
    f.hostName = hostName_;
    f.sender = Sender;
    f.reference = Reference;
    f.agent = Agent;
    f.username = Username;
    f.password = Password;
    f.useProxy = !Proxy.empty();
    f.proxyUsername = ProxyUsername;
    f.proxyPassword = ProxyPassword;
    f.noCache = NoCache;
    if (ModifiedSince.isValid()) {
        const QDate d = ModifiedSince.date();
        const QTime t = ModifiedSince.time();
        f.modifiedSince
            = HttpDateText({ d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), d.dayOfWeek() });
    }
    f.cookie = Cookie;
    f.method = method_;
    f.http11 = Http11;
    f.acceptEncoding = Http11;
    if (Http11 && !targetPort_.empty() && targetPort_ != DefaultPort(CurrentScheme()))
        f.hostName = hostName_ + ":" + targetPort_; // HTTP/1.1 names the port of another than the default
    f.extraHeaders = ExtraHeaders;
    if (sendBody_) {
        f.bodyLength = static_cast<long long>(SendBody.size());
        f.contentType = ContentTypePost;
    }

    const std::vector<std::string> lines = BuildRequestLines(f);
    std::string request;
    if (OnHeaderBegin)
        OnHeaderBegin(this);
    for (const std::string& line : lines) {
        if (line.empty() && OnHeaderEnd)
            OnHeaderEnd(this);
        if (OnCommand)
            OnCommand(this, line);
        request += line;
        request += "\r\n";
    }
    if (sendBody_)
        request += SendBody;
    if (state_ == THttpState::AwaitingHeader && socket_->State() == TSocketState::wsConnected)
        socket_->SendStr(request);
}

void THttpCli::SocketSessionClosed(uint16_t error)
{
    if (RetryOnNewConnection())
        return;
    // A connection that ends before the response header is complete is a
    // failure, not an empty success.
    if (error == wsa::TLS_FAILED_ && statusCode_ < 400 && state_ != THttpState::Aborting) {
        // A record that fails in the body leaves a fragment, not the document.
        if (state_ == THttpState::AwaitingBody)
            bodyFailed_ = true;
        FailSecure(404, socket_->TlsError(), true);
    } else if (state_ == THttpState::Connecting && tlsPhase_ != TlsPhase::None && statusCode_ < 400) {
        // The proxy or the server hung up before the secure session was up.
        FailSecure(404,
            tlsPhase_ == TlsPhase::Tunnel ? "The proxy closed the connection before the tunnel was open"
                                          : "TLS handshake failed: the server closed the connection",
            tlsPhase_ == TlsPhase::Handshake);
    } else if (state_ == THttpState::AwaitingHeader && statusCode_ < 400) {
        statusCode_ = 404;
        reasonPhrase_
            = error != 0 ? errorWithNumber(error) : "Connection closed before the response header was complete";
    } else if (state_ == THttpState::AwaitingBody && !bodyFailed_ && !bodyComplete_) {
        if (CheckFramedEnd(error))
            CheckBodyEnd(error);
    }
    ConnectionClosed();
}

void THttpCli::ConnectionClosed()
{
    connected_ = false;
    if (closedHandled_)
        return; // a failure may be reported both directly and by the socket
    closedHandled_ = true;
    if (bodyDataCount_ > 0 && OnDocEnd)
        OnDocEnd(this);
    window_.PostMessage(WM_HTTP_READY, static_cast<uintptr_t>(serial_), 0);
}

void THttpCli::HandleMessage(int msg, uintptr_t wParam)
{
    if (wParam != static_cast<uintptr_t>(serial_))
        return; // meant for a request that has ended
    switch (msg) {
    case WM_HTTP_READY:
        if (state_ == THttpState::Idle)
            return;
        SetState(THttpState::Idle);
        window_.PostMessage(WM_HTTP_REQUEST_DONE, wParam, 0);
        break;
    case WM_HTTP_REQUEST_DONE:
        if (OnRequestDone)
            OnRequestDone(this, requestType_, requestDoneError_);
        break;
    case WM_HTTP_SEND_KEPT:
        if (state_ == THttpState::Connecting)
            SendOnKeptConnection();
        break;
    case WM_HTTP_RESTART:
        if (state_ == THttpState::Aborting || state_ == THttpState::Idle)
            return;
        ++serial_;
        closedHandled_ = false;
        rcvdFill_ = 0;
        tlsPhase_ = TlsPhase::None;
        StartLookup();
        break;
    default:
        break;
    }
}

void THttpCli::Abort()
{
    if (state_ == THttpState::Idle) {
        if (socket_->State() != TSocketState::wsClosed)
            socket_->Close();
        return;
    }
    const THttpState was = state_;
    SetState(THttpState::Aborting);
    if (was == THttpState::Resolving) {
        try {
            socket_->CancelDnsLookup();
        } catch (...) { // a failed cancel changes nothing here
        }
    }
    statusCode_ = 404;
    reasonPhrase_ = "Connection aborted on request";
    requestDoneError_ = 3;
    if (was != THttpState::Resolving && socket_->State() != TSocketState::wsClosed)
        socket_->Close(); // leads to ConnectionClosed through OnSessionClosed
    ConnectionClosed(); // in case the socket had already closed
}

} // namespace orv
