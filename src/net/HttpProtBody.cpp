// How a response body ends: whole, or as a fragment that fails the request.
#include "net/HttpProt.h"

#include "core/Text.h"
#include "net/WinSockErrors.h"

#include <QFileDevice>

namespace orv
{
namespace
{

// Responses that carry no body whatever their Content-Length says.
bool hasNoBody(int statusCode)
{
    return (statusCode >= 100 && statusCode < 200) || statusCode == 204 || statusCode == 304;
}

} // namespace

// Called when the connection ends while the body is being read. Without a
// Content-Length an orderly close is the body's end; with one, fewer bytes
// than it promised are a cut-off document. A reset before the body is
// complete fails the request either way. A whole body must also have
// reached the receive stream: a buffered file reports a full disk only when
// it is flushed.
void THttpCli::CheckBodyEnd(uint16_t error)
{
    const bool promisedMore = contentLengthGiven_ && !hasNoBody(statusCode_) && rcvdCount_ < contentLength_;
    if (promisedMore) {
        const std::string how = error != 0 ? WSocketErrorDesc(error) + " (Error #" + IntToStr(error) + ")"
                                           : std::string("Connection closed");
        return FailBody(
            how + " after " + IntToStr(rcvdCount_) + " of " + contentLengthText_ + " bytes of the document");
    }
    if (error != 0 && !contentLengthGiven_) {
        return FailBody(WSocketErrorDesc(error) + " (Error #" + IntToStr(error) + ") after " + IntToStr(rcvdCount_)
            + " bytes of the document");
    }
    if (auto* file = qobject_cast<QFileDevice*>(RcvdStream); file && file->isOpen() && !file->flush())
        FailBody("Cannot write the document: " + file->errorString().toStdString());
}

// Marks the request as failed. The connection is closed when it is still
// open; the document events still close what OnDocBegin opened.
void THttpCli::FailBody(const std::string& reason)
{
    bodyFailed_ = true;
    statusCode_ = 404;
    reasonPhrase_ = reason;
    if (socket_->State() != TSocketState::wsClosed)
        socket_->Close(); // leads to ConnectionClosed through OnSessionClosed
    ConnectionClosed();
}

} // namespace orv
