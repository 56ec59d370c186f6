// The secure side of THttpCli: https requests run TLS over the connection
// before the request is sent, and through a proxy they first open a tunnel
// with CONNECT. The request, the response and every event stay those of a
// plain request; only the way to the server differs.
#include "net/HttpProt.h"

#include "core/Text.h"
#include "net/HttpHeader.h"
#include "net/HttpUrl.h"
#include "net/UrlReference.h"

#include <cstring>

namespace orv
{

void THttpCli::FailSecure(int status, const std::string& reason, bool tls)
{
    statusCode_ = status;
    reasonPhrase_ = reason;
    tlsFailed_ = tls;
}

void THttpCli::BeginSecureSession()
{
    if (Proxy.empty()) {
        tlsPhase_ = TlsPhase::Handshake;
        socket_->StartTls(ConnectableHost(hostName_));
        return;
    }
    tlsPhase_ = TlsPhase::Tunnel;
    tunnelStatus_ = 0;
    tunnelReason_.clear();
    SendTunnelRequest();
}

void THttpCli::SendTunnelRequest()
{
    const std::string target = hostName_ + ":" + (targetPort_.empty() ? DefaultPort("https") : targetPort_);
    std::vector<std::string> lines = { "CONNECT " + target + " HTTP/1.0", "Host: " + target };
    if (!ProxyUsername.empty())
        lines.push_back("Proxy-Authorization: Basic " + Base64Encode(ProxyUsername + ":" + ProxyPassword));
    lines.emplace_back();
    std::string request;
    for (const std::string& line : lines) {
        if (OnCommand)
            OnCommand(this, line);
        request += line + "\r\n";
    }
    if (state_ == THttpState::Connecting && socket_->State() == TSocketState::wsConnected)
        socket_->SendStr(request);
}

// Reads the proxy's answer to CONNECT line by line, in the receive buffer.
void THttpCli::TunnelDataAvailable()
{
    const int room = kRcvBufSize - 1 - rcvdFill_;
    if (room <= 0)
        return FailOnLongLine();
    const int n = socket_->Receive(rcvBuf_.data() + rcvdFill_, room);
    if (n <= 0)
        return;
    rcvdFill_ += n;
    int start = 0;
    for (;;) {
        const char* from = rcvBuf_.data() + start;
        const auto* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(rcvdFill_ - start)));
        if (!lf)
            break;
        int len = static_cast<int>(lf - from);
        if (len > 0 && from[len - 1] == '\r')
            --len;
        const std::string line(from, static_cast<size_t>(len));
        const int next = start + static_cast<int>(lf - from) + 1;
        // The proxy's answer is bounded like a response header.
        responseHeaderBytes_ += next - start;
        start = next;
        if (len > 0 && ++responseLines_ > kMaxHeaderLines)
            return FailHeader("Response header longer than " + IntToStr(kMaxHeaderLines) + " lines");
        if (responseHeaderBytes_ > kMaxHeaderBytes)
            return FailHeader("Response header longer than " + IntToStr(kMaxHeaderBytes) + " bytes");
        if (tunnelStatus_ == 0) {
            if (!ParseStatusLine(line, tunnelStatus_, tunnelReason_) || tunnelStatus_ <= 0) {
                rcvdFill_ = 0;
                FailSecure(502, "The proxy gave no status line for CONNECT", false);
                socket_->Close();
                return ConnectionClosed();
            }
        } else if (line.empty()) {
            return TunnelHeaderEnded(tunnelStatus_, tunnelReason_, start < rcvdFill_);
        }
    }
    std::memmove(rcvBuf_.data(), rcvBuf_.data() + start, static_cast<size_t>(rcvdFill_ - start));
    rcvdFill_ -= start;
    if (rcvdFill_ >= kRcvBufSize - 1)
        FailOnLongLine();
}

void THttpCli::TunnelHeaderEnded(int status, const std::string& reason, bool extraBytes)
{
    rcvdFill_ = 0;
    if (status >= 200 && status < 300 && !extraBytes) {
        tlsPhase_ = TlsPhase::Handshake;
        socket_->StartTls(ConnectableHost(hostName_));
        return;
    }
    // Nothing may come before the server's TLS answer to our hello: bytes
    // after the proxy's header would be taken for the session's.
    if (extraBytes && status >= 200 && status < 300)
        FailSecure(502, "The proxy sent data before the TLS handshake", false);
    else if (status >= 400)
        FailSecure(status, reason, false);
    else
        FailSecure(502, "The proxy refused the tunnel: " + IntToStr(status) + " " + reason, false);
    socket_->Close();
    ConnectionClosed();
}

void THttpCli::SocketTlsDone(uint16_t error)
{
    if (state_ != THttpState::Connecting || tlsPhase_ != TlsPhase::Handshake)
        return;
    if (error != 0) {
        requestDoneError_ = error;
        FailSecure(404, socket_->TlsError(), true);
        socket_->Close();
        return ConnectionClosed();
    }
    tlsPhase_ = TlsPhase::None;
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

} // namespace orv
