// TLS over the socket's connection: the handshake is advanced by the same
// readiness events as plain reading, records are read from the connection
// only when the session needs more, and encrypted output goes through the
// ordinary send queue. Nothing here blocks or waits.
#include "net/WSocket.h"

#include "net/TlsSession.h"
#include "net/WinSockErrors.h"

#include <cerrno>
#include <sys/socket.h>

namespace orv
{
namespace
{

// Raw bytes read per recv, a little over one TLS record.
constexpr size_t kRawChunk = 17 * 1024;
// Reads per call before the event loop gets its turn again; bounds the work
// a peer that never stops sending can cause in one event.
constexpr int kMaxRawReads = 64;

} // namespace

void TCustomWSocket::StartTls(const std::string& host)
{
    if (state_ != TSocketState::wsConnected || hSocket_ == INVALID_SOCKET)
        return RaiseException("StartTls: Socket is not connected");
    if (tls_)
        return RaiseException("StartTls: TLS already started");
    tls_ = std::make_unique<TlsSession>(host, host + ":" + portStr_);
    tlsHandshaking_ = true;
    tlsStarved_ = false;
    tlsError_.clear();
    // The first step (sending the hello, or reporting a session that could
    // not be set up) runs from the event loop, never inside this call.
    PostSocketEvent(FD_TLS_STEP, 0);
}

void TCustomWSocket::TlsFlush()
{
    if (!tls_ || !tls_->HasOutput())
        return;
    std::string out;
    tls_->TakeOutput(out);
    QueueBytes(out.data(), static_cast<int>(out.size()));
    TryToSend();
}

void TCustomWSocket::TlsStep()
{
    bool peerClosed = false;
    int rawError = 0;
    std::string raw(kRawChunk, '\0');
    for (int i = 0; i < kMaxRawReads; ++i) {
        const ssize_t r = ::recv(hSocket_, raw.data(), raw.size(), 0);
        if (r > 0) {
            tls_->Feed(raw.data(), static_cast<size_t>(r));
            continue;
        }
        if (r == 0)
            peerClosed = true;
        else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            rawError = winSockErrorFromErrno(errno);
        break;
    }
    TlsSession::Step step = tls_->Handshake();
    TlsFlush(); // the next flight, or the alert telling why we stop
    if (!tls_)
        return; // sending failed and closed the connection
    if (step == TlsSession::Step::NeedInput) {
        if (rawError == 0 && !peerClosed) {
            WatchRead(true);
            return;
        }
        step = TlsSession::Step::Failed;
        if (rawError != 0)
            tlsError_
                = "TLS handshake failed: " + WSocketErrorDesc(rawError) + " (Error #" + std::to_string(rawError) + ")";
        else
            tls_->FailClosedDuringHandshake();
    }
    tlsHandshaking_ = false;
    const uint64_t conn = connection_;
    if (step == TlsSession::Step::Failed) {
        if (tlsError_.empty())
            tlsError_ = tls_->Failure();
        lastError_ = wsa::TLS_FAILED_;
        if (OnTlsDone)
            OnTlsDone(this, wsa::TLS_FAILED_);
        if (hSocket_ != INVALID_SOCKET && connection_ == conn && state_ != TSocketState::wsClosed)
            Close();
        return;
    }
    if (OnTlsDone)
        OnTlsDone(this, 0);
    if (hSocket_ != INVALID_SOCKET && connection_ == conn && state_ == TSocketState::wsConnected)
        RearmRead();
}

// A failure after the handshake (a forged or damaged record, a write the
// session refuses) ends the connection as an error, never as a normal close.
void TCustomWSocket::TlsFailed(const std::string& reason)
{
    tlsError_ = reason;
    lastError_ = wsa::TLS_FAILED_;
    PostSocketEvent(FD_CLOSE, wsa::TLS_FAILED_);
}

int TCustomWSocket::TlsReceive(char* buffer, int size)
{
    if (tlsHandshaking_) {
        lastError_ = wsa::EWOULDBLOCK_;
        return -1;
    }
    std::string raw;
    for (int reads = 0;;) {
        const int n = tls_->Read(buffer, size);
        TlsFlush(); // reading may have produced a reply (a key update)
        if (!tls_)
            return 0;
        if (n > 0) {
            readCount_ += n;
            return n;
        }
        if (n == 0)
            return 0; // the peer ended the session
        if (n == TlsSession::kFailed) {
            if (tlsError_.empty())
                TlsFailed(tls_->Failure());
            lastError_ = wsa::TLS_FAILED_;
            return -1;
        }
        if (reads++ == kMaxRawReads) {
            lastError_ = wsa::EWOULDBLOCK_;
            return -1;
        }
        if (raw.empty())
            raw.resize(kRawChunk);
        const ssize_t r = ::recv(hSocket_, raw.data(), raw.size(), 0);
        if (r > 0) {
            tlsStarved_ = false;
            tls_->Feed(raw.data(), static_cast<size_t>(r));
            continue;
        }
        if (r == 0)
            return 0; // the connection closed
        lastError_ = winSockErrorFromErrno(errno);
        if (lastError_ == wsa::EWOULDBLOCK_)
            tlsStarved_ = true;
        return -1;
    }
}

} // namespace orv
