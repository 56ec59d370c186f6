#include "net/WSocket.h"

#include "core/Text.h"
#include "net/TlsSession.h"
#include "net/WinSockErrors.h"

#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv
{
namespace
{

// The sockets layer needs no start-up here, but the count of live sockets is
// kept so that the last one to go is known, as the layer's users expect.
int liveSockets = 0;

int lastErrno()
{
    return winSockErrorFromErrno(errno);
}

} // namespace

TCustomWSocket::TCustomWSocket()
    : window_(std::make_unique<MessageWindow>(
        [this](int msg, uintptr_t wParam, intptr_t lParam) { HandleMessage(msg, wParam, lParam); }))
{
    ++liveSockets;
    sin_.sin_family = AF_INET;
    ResetDefaults();
}

TCustomWSocket::~TCustomWSocket()
{
    destroying_ = true;
    try {
        CancelDnsLookup();
        Close();
    } catch (...) { // a destructor reports nothing
    }
    CloseHandleOnly();
    --liveSockets;
}

void TCustomWSocket::ResetDefaults()
{
    portAssigned_ = addrAssigned_ = addrResolved_ = false;
    addrStr_.clear();
    portStr_.clear();
    protoStr_ = "tcp";
    protoAssigned_ = true;
    sockType_ = SOCK_STREAM;
    protoNumber_ = IPPROTO_TCP;
    lingerOnOff_ = true;
    lingerTimeout_ = 0;
    allSent_ = true;
    closeInvoked_ = false;
    readCount_ = 0;
    tls_.reset();
    tlsHandshaking_ = false;
    tlsStarved_ = false;
}

void TCustomWSocket::ChangeState(TSocketState newState)
{
    const TSocketState old = state_;
    state_ = newState;
    if (old != newState && OnChangeState)
        OnChangeState(this, old, newState);
}

void TCustomWSocket::RaiseException(const std::string& message)
{
    if (OnError)
        OnError(this);
    else
        throw ESocketException(message);
}

void TCustomWSocket::SocketError(const std::string& operation)
{
    SocketErrorCode(operation, lastErrno());
}

void TCustomWSocket::SocketErrorCode(const std::string& operation, int code)
{
    const std::string text = "Error " + IntToStr(code) + " in function " + operation + "\r\n" + WSocketErrorDesc(code);
    if (code == wsa::ECONNRESET_ || code == wsa::ENOTCONN_) {
        CloseHandleOnly();
        ChangeState(TSocketState::wsClosed);
    }
    lastError_ = code;
    RaiseException(text);
}

void TCustomWSocket::SetAddr(const std::string& value)
{
    if (state_ != TSocketState::wsClosed) {
        RaiseException("Cannot change Addr if not closed");
        return;
    }
    addrStr_ = Trim(value);
    addrAssigned_ = !addrStr_.empty();
    addrResolved_ = false;
}

void TCustomWSocket::SetPort(const std::string& value)
{
    if (state_ != TSocketState::wsClosed) {
        RaiseException("Cannot change Port if not closed");
        return;
    }
    const std::string v = Trim(value);
    portStr_ = v;
    portAssigned_ = false;
    if (v.empty())
        return;
    if (v[0] >= '0' && v[0] <= '9') {
        unsigned n = 0;
        for (size_t i = 0; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
            n = (n * 10 + static_cast<unsigned>(v[i] - '0')) & 0xFFFFu;
        sin_.sin_port = htons(static_cast<uint16_t>(n));
    } else {
        const servent* se = getservbyname(v.c_str(), protoStr_.c_str());
        if (!se) {
            SocketErrorCode("SetPort: Cannot convert port '" + v + "'", wsa::NO_DATA_);
            return;
        }
        sin_.sin_port = static_cast<in_port_t>(se->s_port);
    }
    portAssigned_ = true;
}

void TCustomWSocket::SetProto(const std::string& value)
{
    if (state_ != TSocketState::wsClosed) {
        RaiseException("Cannot change Proto if not closed");
        return;
    }
    const std::string v = Trim(value);
    protoStr_ = v;
    protoAssigned_ = false;
    if (v.empty())
        return;
    if (v[0] >= '0' && v[0] <= '9') {
        protoNumber_ = StrToIntDef(v, 0);
    } else {
        const protoent* pe = getprotobyname(v.c_str());
        if (!pe) {
            SocketErrorCode("SetProto: Cannot convert protocol '" + v + "'", wsa::NO_DATA_);
            return;
        }
        protoNumber_ = pe->p_proto;
    }
    sockType_ = protoNumber_ == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
    protoAssigned_ = true;
}

int TCustomWSocket::RcvdCount() const
{
    if (hSocket_ == INVALID_SOCKET)
        return -1;
    int n = 0;
    if (ioctl(hSocket_, FIONREAD, &n) < 0)
        return -1;
    if (tls_ && !tlsHandshaking_)
        n += static_cast<int>(tls_->BufferedPlain() + tls_->BufferedInput());
    return n;
}

bool TCustomWSocket::ResolveAddr()
{
    in_addr a {};
    ipv6_ = inet_pton(AF_INET6, addrStr_.c_str(), &sin6_.sin6_addr) == 1;
    if (ipv6_) {
        sin6_.sin6_family = AF_INET6;
        addrResolved_ = true;
        return true;
    }
    if (inet_aton(addrStr_.c_str(), &a) == 0) {
        addrinfo hints {};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* res = nullptr;
        if (getaddrinfo(addrStr_.c_str(), nullptr, &hints, &res) != 0 || !res) {
            SocketErrorCode("SetAddr: Cannot convert host address '" + addrStr_ + "'", wsa::HOST_NOT_FOUND_);
            return false;
        }
        a = reinterpret_cast<const sockaddr_in*>(res->ai_addr)->sin_addr;
        freeaddrinfo(res);
    }
    sin_.sin_addr = a;
    addrResolved_ = true;
    return true;
}

void TCustomWSocket::Connect()
{
    if (hSocket_ != INVALID_SOCKET && state_ != TSocketState::wsClosed)
        return RaiseException("Connect: Socket already in use");
    if (!portAssigned_)
        return RaiseException("Connect: No Port Specified");
    if (!addrAssigned_)
        return RaiseException("Connect: No IP Address Specified");
    if (!protoAssigned_)
        return RaiseException("Connect: No Protocol Specified");
    if (!addrResolved_ && !ResolveAddr())
        return;

    sendQueue_.clear();
    tlsError_.clear();
    CloseHandleOnly();
    hSocket_ = OpenConnectedHandle
        ? OpenConnectedHandle()
        : ::socket(ipv6_ ? AF_INET6 : AF_INET, sockType_ | SOCK_NONBLOCK | SOCK_CLOEXEC, protoNumber_);
    if (hSocket_ == INVALID_SOCKET)
        return SocketError("Connect (socket)");
    ++connection_;
    ChangeState(TSocketState::wsOpened);

    const linger lg { lingerOnOff_ ? 1 : 0, lingerTimeout_ };
    if (setsockopt(hSocket_, SOL_SOCKET, SO_LINGER, &lg, sizeof lg) < 0)
        return SocketError("setsockopt(SO_LINGER)");
    const int on = 1;
    if (setsockopt(hSocket_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) < 0)
        return SocketError("setsockopt(SO_KEEPALIVE)");
    if (setsockopt(hSocket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) < 0)
        return SocketError("setsockopt(SO_REUSEADDR)");

    readNotifier_ = std::make_unique<QSocketNotifier>(hSocket_, QSocketNotifier::Read);
    readNotifier_->setEnabled(false);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, window_.get(), [this] { ReadReady(); });
    writeNotifier_ = std::make_unique<QSocketNotifier>(hSocket_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, window_.get(), [this] { WriteReady(); });

    sin6_.sin6_port = sin_.sin_port;
    const auto* to = ipv6_ ? reinterpret_cast<const sockaddr*>(&sin6_) : reinterpret_cast<const sockaddr*>(&sin_);
    const socklen_t toLen = ipv6_ ? sizeof sin6_ : sizeof sin_;
    if (OpenConnectedHandle || ::connect(hSocket_, to, toLen) == 0) {
        ChangeState(TSocketState::wsConnecting);
        PostSocketEvent(FD_CONNECT, 0);
        return;
    }
    if (errno != EINPROGRESS && errno != EWOULDBLOCK) {
        lastError_ = lastErrno();
        return SocketErrorCode("Connect", lastError_);
    }
    ChangeState(TSocketState::wsConnecting);
    WatchWrite(true);
}

int TCustomWSocket::Send(const void* data, int len)
{
    if (state_ != TSocketState::wsConnected) {
        SocketErrorCode("Send", wsa::ENOTCONN_);
        return -1;
    }
    if (tls_) {
        if (tlsHandshaking_) {
            RaiseException("Send: the TLS handshake is not complete");
            return -1;
        }
        if (!tls_->Write(static_cast<const char*>(data), len)) {
            TlsFailed(tls_->Failure());
            return -1;
        }
        TlsFlush();
    } else {
        QueueBytes(static_cast<const char*>(data), len);
        TryToSend();
    }
    if (allSent_)
        PostSocketEvent(FD_WRITE, 0);
    return len;
}

void TCustomWSocket::QueueBytes(const char* data, int len)
{
    if (len <= 0)
        return;
    allSent_ = false;
    while (len > 0) {
        if (sendQueue_.empty() || sendQueue_.back().Full())
            sendQueue_.emplace_back(bufSize_);
        const int n = sendQueue_.back().Write(data, len);
        data += n;
        len -= n;
    }
}

void TCustomWSocket::TryToSend()
{
    while (hSocket_ != INVALID_SOCKET && !sendQueue_.empty()) {
        int len = 0;
        const char* p = sendQueue_.front().Peek(len);
        if (len > 0) {
            const ssize_t sent = ::send(hSocket_, p, static_cast<size_t>(len), MSG_NOSIGNAL);
            if (sent < 0) {
                const int code = lastErrno();
                if (code == wsa::EWOULDBLOCK_) {
                    WatchWrite(true);
                    return;
                }
                if (code == wsa::ECONNRESET_ || code == wsa::ENOTSOCK_ || code == wsa::ENOTCONN_
                    || code == wsa::EINVAL_) {
                    closeInvoked_ = true;
                    Close();
                    if (OnSessionClosed)
                        OnSessionClosed(this, static_cast<uint16_t>(code));
                    return;
                }
                lastError_ = code;
                return SocketErrorCode("TryToSend failed", code);
            }
            sendQueue_.front().Remove(static_cast<int>(sent));
            if (sent < len) {
                WatchWrite(true);
                return;
            }
        }
        if (sendQueue_.size() > 1)
            sendQueue_.pop_front();
        else {
            allSent_ = true;
            return;
        }
    }
    if (sendQueue_.empty())
        allSent_ = true;
}

int TCustomWSocket::Receive(void* buffer, int size)
{
    if (hSocket_ == INVALID_SOCKET) {
        lastError_ = wsa::ENOTSOCK_;
        return -1;
    }
    if (tls_)
        return TlsReceive(static_cast<char*>(buffer), size);
    const ssize_t n = ::recv(hSocket_, buffer, static_cast<size_t>(std::max(size, 0)), 0);
    if (n < 0) {
        lastError_ = lastErrno();
        return -1;
    }
    readCount_ += n;
    return static_cast<int>(n);
}

void TCustomWSocket::CloseHandleOnly()
{
    readNotifier_.reset();
    writeNotifier_.reset();
    if (hSocket_ != INVALID_SOCKET) {
        ::close(hSocket_);
        hSocket_ = INVALID_SOCKET;
    }
}

void TCustomWSocket::Close()
{
    if (hSocket_ != INVALID_SOCKET && state_ != TSocketState::wsClosed) {
        ::shutdown(hSocket_, SHUT_RDWR);
        readNotifier_.reset();
        writeNotifier_.reset();
        const int rc = ::close(hSocket_);
        hSocket_ = INVALID_SOCKET;
        ChangeState(TSocketState::wsClosed);
        if (rc < 0 && errno != EINTR) {
            ResetDefaults();
            return SocketError("Disconnect (closesocket)");
        }
        if (!destroying_ && OnSessionClosed && !closeInvoked_) {
            closeInvoked_ = true;
            OnSessionClosed(this, 0);
        }
        ResetDefaults();
    } else if (state_ != TSocketState::wsClosed) {
        ChangeState(TSocketState::wsClosed);
        ResetDefaults();
    }
}

void TCustomWSocket::WatchRead(bool on)
{
    if (readNotifier_)
        readNotifier_->setEnabled(on);
}

// Waits for the next readable event. Plaintext that TLS has already taken in
// raises no readiness of the socket, so it is announced by a posted event.
void TCustomWSocket::RearmRead()
{
    if (tls_ && !tlsHandshaking_ && (tls_->BufferedPlain() > 0 || (tls_->BufferedInput() > 0 && !tlsStarved_)))
        PostSocketEvent(FD_READ, 0);
    else
        WatchRead(true);
}

void TCustomWSocket::WatchWrite(bool on)
{
    if (writeNotifier_)
        writeNotifier_->setEnabled(on);
}

void TCustomWSocket::PostSocketEvent(int events, int error)
{
    window_->PostMessage(WM_ASYNCSELECT, static_cast<uintptr_t>(hSocket_), (error << 16) | events, connection_);
}

// Readable: data waiting is a read event; nothing waiting means the peer has
// closed (or reset) the connection. The notifier stays off until the posted
// event has been handled, so one readiness gives one message.
void TCustomWSocket::ReadReady()
{
    WatchRead(false);
    int n = 0;
    if (ioctl(hSocket_, FIONREAD, &n) == 0 && n > 0)
        return PostSocketEvent(FD_READ, 0);
    char c;
    const ssize_t r = ::recv(hSocket_, &c, 1, MSG_PEEK);
    if (r > 0)
        PostSocketEvent(FD_READ, 0);
    else if (r == 0)
        PostSocketEvent(FD_CLOSE, 0);
    else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        WatchRead(true);
    else
        PostSocketEvent(FD_CLOSE, lastErrno());
}

void TCustomWSocket::WriteReady()
{
    WatchWrite(false);
    if (state_ == TSocketState::wsConnecting) {
        int err = 0;
        socklen_t len = sizeof err;
        if (getsockopt(hSocket_, SOL_SOCKET, SO_ERROR, &err, &len) < 0)
            err = errno;
        return PostSocketEvent(FD_CONNECT, winSockErrorFromErrno(err));
    }
    PostSocketEvent(FD_WRITE, 0);
}

void TCustomWSocket::HandleMessage(int msg, uintptr_t wParam, intptr_t lParam)
{
    const int error = static_cast<int>((lParam >> 16) & 0xFFFF);
    if (msg == WM_ASYNCSELECT) {
        if (hSocket_ == INVALID_SOCKET || wParam != static_cast<uintptr_t>(hSocket_)
            || window_->CurrentTag() != connection_)
            return; // meant for an earlier connection
        HandleSocketEvent(static_cast<int>(lParam & 0xFFFF), error);
    } else if (msg == WM_ASYNCGETHOSTBYNAME) {
        HandleDnsDone(wParam, error);
    }
}

void TCustomWSocket::HandleSocketEvent(int events, int error)
{
    const uint64_t conn = connection_;
    const auto same = [&] { return hSocket_ != INVALID_SOCKET && connection_ == conn; };
    if (events & FD_CONNECT) {
        ChangeState(TSocketState::wsConnected);
        if (OnSessionConnected)
            OnSessionConnected(this, static_cast<uint16_t>(error));
        if (error != 0 && state_ != TSocketState::wsClosed)
            Close();
        else if (error == 0 && same() && state_ == TSocketState::wsConnected && !tlsHandshaking_)
            WatchRead(true);
    }
    if (tlsHandshaking_ && same() && (events & (FD_TLS_STEP | FD_READ | FD_CLOSE))) {
        // The handshake reads the connection itself; the owner sees nothing
        // until it has ended.
        TlsStep();
        events &= ~(FD_READ | FD_CLOSE);
    }
    if ((events & FD_READ) && same()) {
        DrainReadable(error, kMaxReadPerEvent);
        if (same() && state_ == TSocketState::wsConnected)
            RearmRead();
    }
    if ((events & FD_WRITE) && same()) {
        TryToSend();
        if (sendQueue_.empty() || allSent_) {
            if (OnDataSent)
                OnDataSent(this, static_cast<uint16_t>(error));
        }
    }
    if ((events & FD_CLOSE) && same() && state_ != TSocketState::wsConnecting) {
        // The peer has closed: what is left is bounded by the kernel's
        // receive buffer, so it is read to the end.
        DrainReadable(error, -1);
        if (same() && OnSessionClosed && !closeInvoked_) {
            closeInvoked_ = true;
            OnSessionClosed(this, static_cast<uint16_t>(error));
        }
        if (same() && state_ != TSocketState::wsClosed)
            Close();
    }
}

// Calls the owner's handler until nothing is waiting, or until `limit` bytes
// (when not negative) have been read in this event: a peer that sends faster
// than we read must not keep the event loop from timers and the Abort
// button. A handler that reads nothing ends the loop; the notifier brings the
// rest later.
void TCustomWSocket::DrainReadable(int error, long long limit)
{
    const uint64_t conn = connection_;
    const long long start = readCount_;
    for (;;) {
        const long long before = readCount_;
        lastError_ = 0;
        if (OnDataAvailable) {
            OnDataAvailable(this, static_cast<uint16_t>(error));
        } else {
            char discard[1024];
            if (Receive(discard, sizeof discard) < 0)
                break;
        }
        if (hSocket_ == INVALID_SOCKET || connection_ != conn || readCount_ == before)
            break;
        if (limit >= 0 && readCount_ - start >= limit)
            break;
        if (RcvdCount() <= 0)
            break;
    }
}

bool TCustomWSocket::IdleAndOpen() const
{
    if (hSocket_ == INVALID_SOCKET || state_ != TSocketState::wsConnected || closeInvoked_ || !allSent_)
        return false;
    if (tls_ && (tlsHandshaking_ || tls_->BufferedPlain() > 0 || tls_->BufferedInput() > 0))
        return false;
    char probe = 0;
    const ssize_t r = ::recv(hSocket_, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    // Nothing waiting: still open. Bytes waiting belong to no request, and
    // 0 is the peer's close.
    return r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
}

} // namespace orv
