#pragma once
// TWSocket: a non-blocking TCP socket that reports every outcome (name
// lookup, connection, data, closing) as an event raised from the event loop
// on the user-interface thread. Readiness of the BSD socket underneath is
// turned into socket messages posted to the socket's hidden message window,
// so handlers never run inside the call that caused them.
#include "core/Errors.h"
#include "net/MessageWindow.h"
#include "net/WSockbuf.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include <netinet/in.h>

class QSocketNotifier;

namespace orv
{

class TlsSession;

class ESocketException : public Exception
{
public:
    using Exception::Exception;
};

enum class TSocketState {
    wsInvalidState, // never used by a live socket
    wsOpened, // handle created, not yet connecting
    wsBound, // bound to a local address (server side, unused)
    wsConnecting, // connection started, waiting for its outcome
    wsConnected, // connection established
    wsAccepting, // server side, unused
    wsListening, // server side, unused
    wsClosed, // no connection; the state of a fresh socket
};

// The window messages of the hidden window.
constexpr int WM_ASYNCSELECT = WM_USER + 1; // socket events
constexpr int WM_ASYNCGETHOSTBYNAME = WM_USER + 2; // name lookup done
constexpr int WM_ASYNCGETHOSTBYADDR = WM_USER + 3; // address lookup done

// Socket event bits of a WM_ASYNCSELECT message (low word of lParam).
constexpr int FD_READ = 0x01;
constexpr int FD_WRITE = 0x02;
constexpr int FD_OOB = 0x04;
constexpr int FD_ACCEPT = 0x08;
constexpr int FD_CONNECT = 0x10;
constexpr int FD_CLOSE = 0x20;
constexpr int FD_TLS_STEP = 0x40; // advance the TLS handshake

constexpr int INVALID_SOCKET = -1;

class TCustomWSocket;
using TSessionEvent = std::function<void(TCustomWSocket* sender, uint16_t error)>;
using TChangeStateEvent = std::function<void(TCustomWSocket* sender, TSocketState oldState, TSocketState newState)>;
using TSocketNotifyEvent = std::function<void(TCustomWSocket* sender)>;

class TCustomWSocket
{
public:
    // Bytes read at most per read event before the event loop runs again.
    static constexpr long long kMaxReadPerEvent = 256 * 1024;

    TCustomWSocket();
    virtual ~TCustomWSocket();
    TCustomWSocket(const TCustomWSocket&) = delete;
    TCustomWSocket& operator=(const TCustomWSocket&) = delete;

    // Remote host, port and protocol; may be set only while closed. Blanks
    // around a value are removed; an empty value marks it as not assigned.
    const std::string& Addr() const { return addrStr_; }
    void SetAddr(const std::string& value);
    const std::string& Port() const { return portStr_; }
    void SetPort(const std::string& value);
    const std::string& Proto() const { return protoStr_; }
    void SetProto(const std::string& value);

    const std::string& DnsResult() const { return dnsResult_; }
    const std::vector<std::string>& DnsResultList() const { return dnsResultList_; }
    TSocketState State() const { return state_; }
    // Bytes received since the socket was last reset to its defaults.
    long long ReadCount() const { return readCount_; }
    // Bytes waiting to be read; -1 on error.
    int RcvdCount() const;
    int LastError() const { return lastError_; }
    int HSocket() const { return hSocket_; }
    bool AllSent() const { return allSent_; }

    bool MultiThreaded = false;

    TSessionEvent OnDataAvailable;
    TSessionEvent OnDataSent;
    TSessionEvent OnSessionClosed;
    TSessionEvent OnSessionConnected;
    TSessionEvent OnDnsLookupDone;
    // The TLS handshake begun by StartTls ended: error 0, or wsa::TLS_FAILED_
    // with TlsError() naming the reason.
    TSessionEvent OnTlsDone;
    TChangeStateEvent OnChangeState;
    // When set, errors are reported through it instead of being raised.
    TSocketNotifyEvent OnError;
    // When set, Connect takes the connection's handle from it instead of
    // opening a TCP connection: an already connected, non-blocking stream
    // socket (tests and fuzzing hand over one end of a socket pair), or -1
    // with errno set. Everything after the connection is the same.
    std::function<int()> OpenConnectedHandle;

    // Starts an asynchronous name lookup ending in OnDnsLookupDone. A dotted
    // address completes inside the call.
    void DnsLookup(const std::string& hostName);
    // Cancels a pending lookup, which then ends with error 10004.
    void CancelDnsLookup();
    // Starts an asynchronous connection ending in OnSessionConnected.
    void Connect();
    // Queues the bytes and sends what the network accepts now; returns the
    // length queued, or -1.
    int Send(const void* data, int len);
    int SendStr(const std::string& text) { return Send(text.data(), static_cast<int>(text.size())); }
    // Reads what is waiting, up to `size`; 0 when the peer has closed, -1 with
    // LastError set on failure.
    int Receive(void* buffer, int size);
    // Drops the connection and raises OnSessionClosed once per connection.
    void Close();
    // For a connection kept between requests: connected, nothing waiting
    // to be read and no close from the peer seen yet.
    bool IdleAndOpen() const;

    // Starts TLS on the connected socket, verifying that the peer is `host`.
    // Ends with OnTlsDone, raised from the event loop. From then on Send and
    // Receive carry plaintext, and the events report plaintext as they do
    // raw bytes on a plain connection; the session ends with the connection.
    void StartTls(const std::string& host);
    bool Tls() const { return static_cast<bool>(tls_); }
    // The reason of the last TLS failure of this socket; cleared at Connect.
    const std::string& TlsError() const { return tlsError_; }

protected:
    // Reports a socket error of `operation` from the current errno.
    void SocketError(const std::string& operation);
    void SocketErrorCode(const std::string& operation, int code);
    // Raises a plain error text through OnError or as ESocketException.
    void RaiseException(const std::string& message);

private:
    void ChangeState(TSocketState newState);
    void ResetDefaults();
    void HandleMessage(int msg, uintptr_t wParam, intptr_t lParam);
    void HandleSocketEvent(int events, int error);
    void HandleDnsDone(uintptr_t handle, int error);
    void DrainReadable(int error, long long limit);
    void TryToSend();
    void CloseHandleOnly();
    void ReadReady();
    void WriteReady();
    void WatchRead(bool on);
    void WatchWrite(bool on);
    void PostSocketEvent(int events, int error);
    bool ResolveAddr();
    void QueueBytes(const char* data, int len);
    void RearmRead();
    // TLS over the connection (WSocketTls.cpp).
    void TlsStep();
    void TlsFlush();
    int TlsReceive(char* buffer, int size);
    void TlsFailed(const std::string& reason);

    std::unique_ptr<MessageWindow> window_;
    int hSocket_ = INVALID_SOCKET;
    uint64_t connection_ = 0; // serial of the current handle, to drop stale messages
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;

    std::string addrStr_, portStr_, protoStr_;
    sockaddr_in sin_ {}; // an IPv4 address, and the port of either family
    sockaddr_in6 sin6_ {}; // the address when it is an IPv6 literal
    bool ipv6_ = false;
    bool portAssigned_ = false, addrAssigned_ = false, protoAssigned_ = false, addrResolved_ = false;
    int sockType_ = 0;
    int protoNumber_ = 0;
    bool lingerOnOff_ = true;
    int lingerTimeout_ = 0;

    TSocketState state_ = TSocketState::wsClosed;
    long long readCount_ = 0;
    int lastError_ = 0;
    std::list<TBuffer> sendQueue_;
    int bufSize_ = TBuffer::kDefaultSize;
    bool allSent_ = true;
    bool closeInvoked_ = false; // OnSessionClosed already raised for this connection
    bool destroying_ = false;

    std::unique_ptr<TlsSession> tls_; // set by StartTls, dropped at close
    bool tlsHandshaking_ = false;
    bool tlsStarved_ = false; // the bytes fed so far hold no complete record
    std::string tlsError_;

    std::string dnsResult_;
    std::vector<std::string> dnsResultList_;
    uintptr_t dnsHandle_ = 0; // pending lookup, 0 when none
    struct PendingLookup;
    std::shared_ptr<PendingLookup> lookup_;
};

class TWSocket : public TCustomWSocket
{
public:
    using TCustomWSocket::TCustomWSocket;
};

} // namespace orv
