// Where a response body ends and what it holds: a Content-Length counted
// exactly, chunks, or the connection's close; then gzip or deflate undone
// on the way to the document events. A body that ends by its own framing
// leaves the connection to the pool when it may carry the next request.
#include "net/HttpProt.h"

#include "core/Text.h"
#include "net/ChunkedDecoder.h"
#include "net/ContentDecoder.h"
#include "net/HttpConnectionPool.h"
#include "net/HttpReuse.h"
#include "net/WinSockErrors.h"

#include <QFileDevice>

#include <algorithm>

namespace orv
{
namespace
{

bool hasNoBody(int statusCode)
{
    return (statusCode >= 100 && statusCode < 200) || statusCode == 204 || statusCode == 304;
}

} // namespace

void THttpCli::StartBody()
{
    bodyLeft_ = 0;
    bodyComplete_ = false;
    chunked_.reset();
    decoder_.reset();
    framing_ = Framing::UntilClose;
    if (hasNoBody(statusCode_)) {
        if (Http11)
            framing_ = Framing::Length; // nothing follows the header
    } else if (Http11 && transferEncoding_ == "chunked") {
        framing_ = Framing::Chunked;
        chunked_ = std::make_unique<ChunkedDecoder>();
    } else if (Http11 && !transferEncoding_.empty()) {
        // Another transfer coding: only the close can tell where it ends.
    } else if (contentLengthGiven_) {
        // Bytes past the Content-Length are not part of the document.
        framing_ = Framing::Length;
        bodyLeft_ = contentLength_;
    }
    if (Http11) {
        const ContentDecoder::Coding coding = ContentDecoder::CodingOf(contentEncoding_);
        if (coding != ContentDecoder::Coding::Identity)
            decoder_ = std::make_unique<ContentDecoder>(coding);
    }
}

bool THttpCli::BodyStillWanted(uint64_t request) const
{
    return serial_ == request && state_ == THttpState::AwaitingBody && !bodyFailed_ && !bodyComplete_;
}

void THttpCli::BodyBytes(const char* data, int len)
{
    const uint64_t request = serial_;
    if (bodyComplete_ || len <= 0)
        return;
    switch (framing_) {
    case Framing::UntilClose:
        DecodedBytes(data, static_cast<size_t>(len));
        return;
    case Framing::Length: {
        const long long n = std::min<long long>(len, bodyLeft_);
        bodyLeft_ -= n;
        if (n > 0 && !DecodedBytes(data, static_cast<size_t>(n)))
            return;
        if (BodyStillWanted(request) && bodyLeft_ == 0)
            BodyComplete(n < len);
        return;
    }
    case Framing::Chunked: {
        bool wanted = true;
        size_t used = 0;
        const ChunkedDecoder::Result r = chunked_->Feed(data, static_cast<size_t>(len), used,
            [&](const char* piece, size_t n) { wanted = wanted && DecodedBytes(piece, n); });
        if (!wanted || !BodyStillWanted(request))
            return;
        if (r == ChunkedDecoder::Result::Error)
            return FailBody(chunked_->Error());
        if (r == ChunkedDecoder::Result::Done)
            BodyComplete(used < static_cast<size_t>(len));
        return;
    }
    }
}

// Hands decoded bytes to the document events; false once the body is no
// longer wanted (a handler aborted, the stream is corrupt).
bool THttpCli::DecodedBytes(const char* data, size_t len)
{
    const uint64_t request = serial_;
    if (!decoder_) {
        BodyData(data, static_cast<int>(len));
        return BodyStillWanted(request);
    }
    const bool ok = decoder_->Feed(data, len, [&](const char* piece, size_t n) {
        BodyData(piece, static_cast<int>(n));
        return BodyStillWanted(request);
    });
    if (!ok && decoder_->Failed() && BodyStillWanted(request))
        FailBody(decoder_->Error());
    return ok && BodyStillWanted(request);
}

void THttpCli::BodyComplete(bool extraBytes)
{
    if (decoder_ && !decoder_->Finish())
        return FailBody(decoder_->Error());
    if (auto* file = qobject_cast<QFileDevice*>(RcvdStream); file && file->isOpen() && !file->flush())
        return FailBody("Cannot write the document: " + file->errorString().toStdString());
    bodyComplete_ = true;
    TReuseFacts facts;
    facts.http11Request = Http11 && !poolKey_.empty();
    facts.viaProxy = !Proxy.empty();
    facts.http11Response = response11_;
    facts.connectionClose = connectionHeader_.find("close") != std::string::npos;
    facts.keepAlive = connectionHeader_.find("keep-alive") != std::string::npos;
    facts.bodyComplete = true;
    facts.extraBytes = extraBytes || rcvdFill_ > 0;
    facts.failed = bodyFailed_ || tlsFailed_ || protocolFailed_;
    connected_ = false;
    if (MayKeepConnection(facts) && socket_->State() == TSocketState::wsConnected) {
        std::unique_ptr<TWSocket> kept = std::move(socket_);
        socket_ = std::make_unique<TWSocket>();
        socket_->OpenConnectedHandle = kept->OpenConnectedHandle;
        BindSocket();
        ConnectionPool().Put(poolKey_, std::move(kept));
    } else if (socket_->State() != TSocketState::wsClosed) {
        socket_->Close(); // leads to ConnectionClosed through OnSessionClosed
    }
    ConnectionClosed();
}

// The connection closed before the body ended by its own framing: whether
// what arrived may still count as the whole document.
bool THttpCli::CheckFramedEnd(uint16_t error)
{
    const std::string how
        = error != 0 ? WSocketErrorDesc(error) + " (Error #" + IntToStr(error) + ")" : std::string("Connection closed");
    if (framing_ == Framing::Chunked) {
        FailBody(how + " in the middle of a chunked body, after " + IntToStr(rcvdCount_) + " bytes");
        return false;
    }
    if (framing_ == Framing::Length && bodyLeft_ > 0) {
        FailBody(how + " after " + IntToStr(contentLength_ - bodyLeft_) + " of " + contentLengthText_
            + " bytes of the document");
        return false;
    }
    if (decoder_ && !decoder_->Finish()) {
        FailBody(decoder_->Error());
        return false;
    }
    return true;
}

} // namespace orv
