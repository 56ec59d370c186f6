// The receiving side of THttpCli: the receive buffer and its line splitting,
// the response header, the body pieces and redirections.
#include "net/HttpProt.h"

#include "core/Text.h"
#include "net/ChunkedDecoder.h"
#include "net/ContentDecoder.h"
#include "net/HttpHeader.h"
#include "net/HttpUrl.h"
#include "net/UrlReference.h"

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
    const int n = socket_->Receive(rcvBuf_.data() + rcvdFill_, room);
    if (n <= 0)
        return;
    answerBytes_ += n;
    rcvdFill_ += n;
    rcvBuf_[static_cast<size_t>(rcvdFill_)] = 0;
    if (state_ == THttpState::AwaitingBody) {
        const int len = rcvdFill_;
        rcvdFill_ = 0;
        BodyBytes(rcvBuf_.data(), len);
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
    contentLengthText_.clear();
    transferEncoding_.clear();
    contentEncoding_.clear();
    connectionHeader_.clear();
    response11_ = false;
    bodyComplete_ = false;
    framing_ = Framing::UntilClose;
    chunked_.reset();
    decoder_.reset();
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
            if (state_ == THttpState::AwaitingBody && serial_ == request) {
                // Bytes after the empty line are the first body piece.
                const std::string rest(rcvBuf_.data() + start, static_cast<size_t>(rcvdFill_ - start));
                rcvdFill_ = 0;
                if (framing_ == Framing::Length && bodyLeft_ == 0)
                    BodyComplete(!rest.empty()); // nothing to wait for
                else
                    BodyBytes(rest.data(), static_cast<int>(rest.size()));
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
    protocolFailed_ = true;
    rcvdFill_ = 0;
    statusCode_ = 400;
    reasonPhrase_ = reason;
    socket_->Close();
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
        if (!StatusLineHasCode(line))
            return FailHeader("Status line without a status code: '" + line.substr(0, 80) + "'");
        response11_ = line.compare(0, 8, "HTTP/1.1") == 0;
    } else if (SplitHeaderField(line, name, value)) {
        if (name == "location") {
            locationFlag_ = true;
            LocationChange(value);
        } else if (name == "content-length") {
            contentLength_ = HeaderNumber(value);
            const std::string digits = Trim(value);
            contentLengthGiven_ = !digits.empty() && digits[0] >= '0' && digits[0] <= '9';
            contentLengthText_ = digits.substr(0, std::min<size_t>(digits.find_first_not_of("0123456789"), 40));
        } else if (name == "transfer-encoding") {
            transferEncoding_ = LowerCase(Trim(value));
        } else if (name == "content-encoding") {
            contentEncoding_ = value;
        } else if (name == "connection") {
            connectionHeader_ = LowerCase(Trim(value));
        } else if (name == "content-type") {
            contentType_ = value;
        } else if (name == "www-authenticate") {
            authRequests_.push_back(value);
        }
    }
    if (OnHeaderData)
        OnHeaderData(this);
    if (statusCode_ >= 400 && state_ == THttpState::AwaitingHeader)
        socket_->Close(); // the rest of an error response is not read
}

void THttpCli::HeaderEnded()
{
    if (Http11 && statusCode_ >= 100 && statusCode_ < 200 && statusCode_ != 101) {
        // An interim answer (100 Continue, 103 Early Hints): the final one follows.
        if (++interimResponses_ > kMaxInterimResponses)
            return FailHeader("More than " + IntToStr(kMaxInterimResponses) + " interim responses");
        const long long headerBytes = responseHeaderBytes_;
        StartResponse();
        responseHeaderBytes_ = headerBytes; // the bound covers them all
        statusCode_ = 0;
        reasonPhrase_.clear();
        headerLineCount_ = 0;
        rcvdHeader_.clear();
        locationFlag_ = false;
        return;
    }
    if (locationFlag_ && ++redirects_ > kMaxRedirects)
        return FailHeader("too many redirects");
    if (locationFlag_ && !redirectError_.empty())
        return FailHeader(redirectError_);
    if (locationFlag_) {
        socket_->OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { LocationSessionClosed(e); };
        socket_->Close();
        return;
    }
    docName_ = RenameExeDocument(docName_, contentType_);
    StartBody();
    SetState(THttpState::AwaitingBody);
    if (OnHeaderEnd)
        OnHeaderEnd(this);
}

// A location is resolved against the address of the request; it may lead
// to another host and scheme (http to https and back).
void THttpCli::LocationChange(const std::string& value)
{
    const std::string resolved = ResolveReference(currentUrl_, value);
    const std::string target = resolved.substr(0, resolved.find('#'));
    const TUrlParts loc = ParseURL(target);
    const std::string scheme = LowerCase(loc.proto);
    if ((scheme != "http" && scheme != "https") || loc.host.empty()) {
        redirectError_ = "Redirection to an address that cannot be fetched: '" + value.substr(0, 200) + "'";
        return;
    }
    redirectError_.clear();
    currentUrl_ = target;
    const std::string pathAndQuery = loc.path.empty() ? std::string(1, '/') : loc.path;
    hostName_ = loc.host;
    targetPort_ = loc.port;
    secure_ = IsSecureScheme(scheme);
    if (!Proxy.empty()) {
        // Plain requests name the whole URL to the proxy; https ones go
        // through a tunnel to the target, which takes the path alone.
        path_ = RequestTarget(secure_ ? pathAndQuery : ProxyTarget(scheme) + pathAndQuery);
        return;
    }
    path_ = RequestTarget(pathAndQuery);
    connectHost_ = loc.host;
    // A URL naming a host without a port means its scheme's default port.
    connectPort_ = loc.port.empty() ? DefaultPort(scheme) : loc.port;
}

void THttpCli::LocationSessionClosed(uint16_t)
{
    connected_ = false;
    locationFlag_ = false;
    socket_->OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { SocketSessionClosed(e); };
    if (state_ == THttpState::Aborting)
        return ConnectionClosed();
    if (statusCode_ != 307 && statusCode_ != 308) {
        // As browsers do: the body is for the first address only.
        method_ = "GET";
        sendBody_ = false;
    }
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
