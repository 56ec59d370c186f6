// The receiving side of THttpCli: the receive buffer and its line splitting,
// the response header, the body pieces and redirections.
#include "net/HttpProt.h"

#include "core/Text.h"
#include "net/HttpHeader.h"
#include "net/HttpUrl.h"

#include <QIODevice>

#include <cstring>

namespace orv
{
namespace
{

constexpr int WM_HTTP_RESTART = WM_USER + 3;

} // namespace

void THttpCli::SocketDataAvailable()
{
    if (state_ == THttpState::Connecting && tlsPhase_ == TlsPhase::Tunnel)
        return TunnelDataAvailable();
    const int room = kRcvBufSize - 1 - rcvdFill_;
    if (room <= 0)
        return FailOnLongLine();
    const int n = socket_.Receive(rcvBuf_.data() + rcvdFill_, room);
    if (n <= 0)
        return;
    rcvdFill_ += n;
    rcvBuf_[static_cast<size_t>(rcvdFill_)] = 0;
    if (state_ == THttpState::AwaitingBody) {
        const int len = rcvdFill_;
        rcvdFill_ = 0;
        BodyData(rcvBuf_.data(), len);
        return;
    }
    if (state_ != THttpState::AwaitingHeader) {
        rcvdFill_ = 0; // aborting: the rest is of no interest
        return;
    }
    SplitHeaderLines();
}

// A new connection: the next bytes begin a response of their own.
void THttpCli::StartResponse()
{
    rcvdFill_ = 0;
    responseLines_ = 0;
    responseHeaderBytes_ = 0;
    contentLengthGiven_ = false;
}

void THttpCli::SplitHeaderLines()
{
    const uint64_t request = serial_;
    int start = 0;
    for (;;) {
        const char* from = rcvBuf_.data() + start;
        const auto* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(rcvdFill_ - start)));
        if (!lf)
            break;
        int len = static_cast<int>(lf - from);
        const int next = start + len + 1;
        if (len > 0 && from[len - 1] == '\r')
            --len;
        responseHeaderBytes_ += next - start;
        if (len > 0 && ++responseLines_ > kMaxHeaderLines)
            return FailHeader("Response header longer than " + IntToStr(kMaxHeaderLines) + " lines");
        if (responseHeaderBytes_ > kMaxHeaderBytes)
            return FailHeader("Response header longer than " + IntToStr(kMaxHeaderBytes) + " bytes");
        const std::string line(from, static_cast<size_t>(len));
        start = next;
        HeaderLine(line);
        if (serial_ != request || !connected_ || state_ != THttpState::AwaitingHeader) {
            if (state_ == THttpState::AwaitingBody && serial_ == request && start < rcvdFill_) {
                // Bytes after the empty line are the first body piece.
                const std::string rest(rcvBuf_.data() + start, static_cast<size_t>(rcvdFill_ - start));
                rcvdFill_ = 0;
                BodyData(rest.data(), static_cast<int>(rest.size()));
            } else if (serial_ == request) {
                rcvdFill_ = 0;
            }
            return;
        }
    }
    if (start > 0) {
        std::memmove(rcvBuf_.data(), rcvBuf_.data() + start, static_cast<size_t>(rcvdFill_ - start));
        rcvdFill_ -= start;
        rcvBuf_[static_cast<size_t>(rcvdFill_)] = 0;
    }
    if (rcvdFill_ >= kRcvBufSize - 1)
        FailOnLongLine();
}

// A header line that fills the whole receive buffer can never be completed;
// the request ends as a failure instead of waiting for a line end forever.
void THttpCli::FailOnLongLine()
{
    FailHeader("Response header line longer than " + IntToStr(kRcvBufSize - 1) + " bytes");
}

// A header that cannot be taken in ends the request as a failure; the rest of
// the response is not read.
void THttpCli::FailHeader(const std::string& reason)
{
    rcvdFill_ = 0;
    statusCode_ = 400;
    reasonPhrase_ = reason;
    socket_.Close();
    ConnectionClosed();
}

void THttpCli::HeaderLine(const std::string& line)
{
    if (headerLineCount_ == 0 && OnHeaderBegin)
        OnHeaderBegin(this);
    ++headerLineCount_;
    if (line.empty())
        return HeaderEnded();

    rcvdHeader_.push_back(line);
    std::string name, value;
    if (ParseStatusLine(line, statusCode_, reasonPhrase_)) {
        // the status line
    } else if (SplitHeaderField(line, name, value)) {
        if (name == "location") {
            locationFlag_ = true;
            LocationChange(value);
        } else if (name == "content-length") {
            contentLength_ = HeaderNumber(value);
            const std::string digits = Trim(value);
            contentLengthGiven_ = !digits.empty() && digits[0] >= '0' && digits[0] <= '9';
        } else if (name == "content-type") {
            contentType_ = value;
        } else if (name == "www-authenticate") {
            authRequests_.push_back(value);
        }
    }
    if (OnHeaderData)
        OnHeaderData(this);
    if (statusCode_ >= 400 && state_ == THttpState::AwaitingHeader)
        socket_.Close(); // the rest of an error response is not read
}

void THttpCli::HeaderEnded()
{
    if (locationFlag_) {
        socket_.OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { LocationSessionClosed(e); };
        socket_.Close();
        return;
    }
    docName_ = RenameExeDocument(docName_, contentType_);
    SetState(THttpState::AwaitingBody);
    if (OnHeaderEnd)
        OnHeaderEnd(this);
}

// A location on another host may change the scheme (http to https and
// back); any other location keeps the current scheme, host and port.
void THttpCli::LocationChange(const std::string& value)
{
    const TUrlParts loc = ParseURL(value);
    const bool newHost = !StartsWith(value, "/") && !loc.path.empty() && !loc.host.empty();
    const std::string proto = newHost ? (loc.proto.empty() ? "http" : loc.proto) : CurrentScheme();
    if (!Proxy.empty()) {
        if (newHost && (secure_ || IsSecureScheme(proto))) {
            // To or from a tunnel: the target itself changes.
            secure_ = IsSecureScheme(proto);
            hostName_ = loc.host;
            targetPort_ = loc.port;
            path_ = secure_ ? loc.path : value;
        } else if (loc.path.empty())
            path_ = (secure_ ? "" : ProxyTarget(proto)) + "/" + loc.host;
        else if (newHost)
            path_ = value;
        else
            path_ = (secure_ ? "" : ProxyTarget(proto)) + loc.path;
        return;
    }
    if (StartsWith(value, "/")) {
        path_ = value;
        return;
    }
    const std::string oldHost = connectHost_;
    path_ = loc.path;
    connectHost_ = loc.host;
    if (!loc.port.empty())
        connectPort_ = loc.port;
    if (loc.path.empty()) {
        // A bare file name: fetched from the server's root.
        path_ = proto + "://" + hostName_ + "/" + loc.host;
        connectHost_ = oldHost;
    } else if (newHost) {
        // A URL naming a host without a port means its scheme's default
        // port, not the port of the server that sent the redirection.
        hostName_ = loc.host;
        secure_ = IsSecureScheme(proto);
        connectPort_ = loc.port.empty() ? DefaultPort(proto) : loc.port;
    } else {
        path_ = proto + "://" + hostName_ + loc.path;
        connectHost_ = oldHost;
    }
}

void THttpCli::LocationSessionClosed(uint16_t)
{
    connected_ = false;
    locationFlag_ = false;
    socket_.OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { SocketSessionClosed(e); };
    if (state_ == THttpState::Aborting)
        return ConnectionClosed();
    if (OnLocationChange)
        OnLocationChange(this);
    window_.PostMessage(WM_HTTP_RESTART, static_cast<uintptr_t>(serial_), 0);
}

void THttpCli::BodyData(const char* data, int len)
{
    if (bodyDataCount_++ == 0 && OnDocBegin)
        OnDocBegin(this);
    rcvdCount_ += len;
    if (OnDocData)
        OnDocData(this, data, len);
    // A piece the stream does not take leaves a fragment, not the document.
    if (RcvdStream && RcvdStream->write(data, len) != len && state_ == THttpState::AwaitingBody)
        FailBody("Cannot write the document: " + RcvdStream->errorString().toStdString());
}

} // namespace orv
