// libFuzzer target for the response reader of the HTTP client: status line,
// header lines and fields, redirections and body framing, read through the
// socket layer's own receive path. The client's connection is one end of a
// socket pair (no network); a scripted peer on the other end writes the
// response in pieces and then ends the connection.
//
// Input: byte 0 picks how the peer ends (bits 0-1: orderly close after
// reading the request, close without reading it, which the client sees as a
// reset, or staying open until the client gives up as a time-out would make
// it) and whether the client goes through a proxy (bit 2); byte 1 seeds the
// sizes of the pieces; the rest is the response. Every connection, also
// those that follow a redirection, gets the same response; the fourth is
// refused.
//
// Besides what the sanitizers catch, the target checks that Get ends, raises
// nothing but EHttpException, leaves no descriptor open, and that a request
// reported as a success delivered exactly the bytes after the response
// header, and neither fewer bytes than its Content-Length promised nor, when
// it ended in a reset, an unframed body.
#include "core/Text.h"
#include "net/HttpHeader.h"
#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

enum class Ending { Close, Reset, StayOpen, CloseAfterAll };

constexpr int kMaxConnections = 3;
constexpr int kMaxTicks = 200000;

// Piece sizes from a small generator: mostly short pieces, some long ones.
class Pieces
{
public:
    explicit Pieces(std::uint8_t seed)
        : state_(seed * 2654435761u + 1)
    {
    }
    size_t next()
    {
        state_ = state_ * 1103515245u + 12345u;
        const std::uint32_t r = state_ >> 8;
        return 1 + (r % 4 == 0 ? r % 9000 : r % 24);
    }

private:
    std::uint32_t state_;
};

// The other end of the client's connection.
class Peer
{
public:
    Peer(orv::THttpCli& client, Ending ending, std::uint8_t seed, std::string_view response)
        : client_(client)
        , ending_(ending)
        , pieces_(seed)
        , response_(response)
    {
        client_.CtrlSocket().OpenConnectedHandle = [this] { return open(); };
        QObject::connect(&ticker_, &QTimer::timeout, [this] { tick(); });
        ticker_.start(0);
    }
    ~Peer()
    {
        client_.CtrlSocket().OpenConnectedHandle = nullptr;
        closeOwnEnd();
    }

    int connections() const { return connections_; }
    bool reset() const { return resetSent_; }
    bool gaveUp() const { return gaveUp_; }

private:
    int open()
    {
        closeOwnEnd();
        if (++connections_ > kMaxConnections) {
            errno = ECONNREFUSED;
            return -1;
        }
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
            std::abort();
        own_ = ends[1];
        client_fd_ = ends[0];
        written_ = 0;
        return client_fd_;
    }

    void closeOwnEnd()
    {
        if (own_ >= 0)
            ::close(own_);
        own_ = -1;
    }

    // Bytes the client has not read yet; -1 when it has closed its end.
    int unread() const
    {
        if (client_.CtrlSocket().HSocket() != client_fd_)
            return -1;
        int n = 0;
        return ::ioctl(client_fd_, FIONREAD, &n) == 0 ? n : -1;
    }

    void drainRequest()
    {
        char buffer[4096];
        while (::read(own_, buffer, sizeof buffer) > 0) { }
    }

    void tick()
    {
        if (++ticks_ > kMaxTicks) {
            // The client waits although the peer has done all it will do.
            std::abort();
        }
        if (own_ < 0)
            return;
        const int pending = unread();
        if (pending < 0) {
            closeOwnEnd(); // the client has dropped the connection
            return;
        }
        if (written_ < response_.size()) {
            if (pending > 0)
                return; // one piece at a time, so that reads split where the pieces do
            const size_t size = std::min(pieces_.next(), response_.size() - written_);
            const ssize_t n = ::write(own_, response_.data() + written_, size);
            if (n > 0)
                written_ += static_cast<size_t>(n);
            return;
        }
        switch (ending_) {
        case Ending::Close:
        case Ending::CloseAfterAll:
            drainRequest();
            if (ending_ == Ending::CloseAfterAll && pending > 0)
                return;
            closeOwnEnd();
            break;
        case Ending::Reset:
            // Closing with the request unread makes the client's next read,
            // once the response is read, fail with a reset.
            resetSent_ = true;
            closeOwnEnd();
            break;
        case Ending::StayOpen:
            if (pending == 0 && ++idleTicks_ > 3) {
                gaveUp_ = true;
                client_.Abort();
            }
            break;
        }
    }

    orv::THttpCli& client_;
    Ending ending_;
    Pieces pieces_;
    std::string_view response_;
    QTimer ticker_;
    int own_ = -1;
    int client_fd_ = -1;
    size_t written_ = 0;
    int connections_ = 0;
    int ticks_ = 0;
    int idleTicks_ = 0;
    bool resetSent_ = false;
    bool gaveUp_ = false;
};

// The response as the header ends: where the body begins, after the first
// empty line (LF, CR LF), npos when the header never ends; and the last
// Content-Length field, -1 when there is none.
struct Framing {
    size_t bodyStart = std::string_view::npos;
    long long contentLength = -1;
};

Framing framingOf(std::string_view response)
{
    Framing out;
    size_t lineStart = 0;
    for (size_t lf = response.find('\n'); lf != std::string_view::npos; lf = response.find('\n', lineStart)) {
        std::string line(response.substr(lineStart, lf - lineStart));
        lineStart = lf + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty()) {
            out.bodyStart = lineStart;
            break;
        }
        int code = 0;
        std::string reason, name, value;
        if (!orv::ParseStatusLine(line, code, reason) && orv::SplitHeaderField(line, name, value)
            && name == "content-length")
            out.contentLength = orv::HeaderNumber(value);
    }
    return out;
}

// Informational, No Content and Not Modified responses have no body,
// whatever their Content-Length says.
bool carriesBody(int status)
{
    return !(status >= 100 && status < 200) && status != 204 && status != 304;
}

int lowestFreeDescriptor()
{
    const int fd = ::dup(0);
    ::close(fd);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication* app = new QCoreApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int freeBefore = lowestFreeDescriptor();
    const Ending ending = static_cast<Ending>(data[0] & 3);
    const bool viaProxy = (data[0] & 4) != 0;
    const std::string_view response(reinterpret_cast<const char*>(data + 2), size - 2);

    std::string document;
    bool succeeded = false;
    bool gaveUp = false;
    bool reset = false;
    long long reportedCount = 0;
    int status = 0;
    {
        orv::THttpCli client;
        client.URL = "http://127.0.0.1:8080/dir/page.html";
        if (viaProxy)
            client.Proxy = "127.0.0.1:3128";
        client.OnDocData = [&](orv::THttpCli*, const char* bytes, int len) {
            require(len >= 0);
            document.append(bytes, static_cast<size_t>(len));
        };
        // A redirection to a host by name would start a real lookup: the
        // request is given up instead, as a failed lookup would end it.
        client.OnStateChange = [&](orv::THttpCli* c) {
            in_addr address {};
            if (c->State() == orv::THttpState::Resolving && !viaProxy
                && inet_aton(orv::Trim(c->HostName()).c_str(), &address) == 0)
                c->Abort();
        };
        Peer peer(client, ending, data[1], response);
        try {
            client.Get();
            succeeded = true;
        } catch (const orv::EHttpException&) {
        }
        require(client.State() == orv::THttpState::Idle);
        gaveUp = peer.gaveUp();
        reset = peer.reset();
        reportedCount = client.RcvdCount();
        status = client.StatusCode();
        if (succeeded) {
            require(client.StatusCode() < 400);
            require(peer.connections() <= kMaxConnections);
        }
    }
    // Posted messages of the finished request are dropped with their windows.
    QCoreApplication::processEvents();
    require(lowestFreeDescriptor() == freeBefore);

    if (succeeded) {
        require(!gaveUp);
        const Framing framing = framingOf(response);
        require(framing.bodyStart != std::string_view::npos);
        // The document is what follows the header, up to its end: bytes
        // past a Content-Length the client took are not part of it.
        const std::string_view after = response.substr(framing.bodyStart);
        require(after.substr(0, document.size()) == document);
        require(reportedCount == static_cast<long long>(document.size()));
        // A cut-off body is no document: a success has all the bytes the
        // header promised, and a reset ends a body only where its length
        // was known.
        if (carriesBody(status) && framing.contentLength >= 0)
            require(reportedCount >= framing.contentLength);
        if (reset && carriesBody(status))
            require(framing.contentLength >= 0);
    }
    return 0;
}
