// The HTTP client against peers that try to hang, flood or fool it: a body
// sent without pause, endless header lines, a body cut short, a receive
// stream that cannot be written.
#include "HttpCliFixture.h"

#include <QElapsedTimer>
#include <QFile>

#include <sys/socket.h>

namespace orv
{
namespace
{

using test::closeConn;
using test::hold;
using test::pause;
using test::resetConn;
using test::send;

using HttpCliHostilePeerTest = test::HttpCliFixture;

// Regression: the read handler drained the socket in one loop, so against a
// peer that sends faster than we read neither a timer nor Abort ever ran.
TEST_F(HttpCliHostilePeerTest, AbortFromATimerEndsGetAgainstAPeerThatNeverPauses)
{
    test::StreamingPeer peer("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n", std::string(64 * 1024, 'x'));
    long long received = 0;
    http.OnDocBegin = nullptr; // no stream: the body is only counted
    http.OnDocData = [&](THttpCli*, const char*, int len) { received += len; };
    // A deep receive buffer as well, as a busy machine's would grow to.
    http.CtrlSocket().OnChangeState = [](TCustomWSocket* s, TSocketState, TSocketState now) {
        const int deep = 8 << 20;
        if (now == TSocketState::wsOpened)
            ::setsockopt(s->HSocket(), SOL_SOCKET, SO_RCVBUF, &deep, sizeof deep);
    };
    http.URL = "http://127.0.0.1:" + std::to_string(peer.port()) + "/stream";
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(200, [this] { http.Abort(); });
    EXPECT_EQ(get(), "Connection aborted on request");
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_GT(received, 0);
    EXPECT_EQ(http.State(), THttpState::Idle);
}

// Regression: header lines were collected without end, so a peer that sent
// short header lines for a few seconds grew the client to a gigabyte.
struct HeaderFlood {
    const char* name;
    std::string line; // repeated without pause after the status line
    std::string reason;
};

class HttpCliHeaderFloodTest : public test::HttpCliFixture, public ::testing::WithParamInterface<HeaderFlood>
{
};

TEST_P(HttpCliHeaderFloodTest, FailsAtTheBoundWithItsReason)
{
    const HeaderFlood& c = GetParam();
    std::string chunk;
    while (chunk.size() < 32 * 1024)
        chunk += c.line;
    test::StreamingPeer peer("HTTP/1.0 200 OK\r\n", chunk);
    http.URL = "http://127.0.0.1:" + std::to_string(peer.port()) + "/flood";
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(get(), c.reason);
    EXPECT_EQ(errorCode, 400);
    EXPECT_LT(clock.elapsed(), 2000); // not ended by the peer giving up after 4 s
    EXPECT_LE(http.RcvdHeader().size(), static_cast<size_t>(THttpCli::kMaxHeaderLines));
    EXPECT_EQ(count("DocBegin"), 0);
    EXPECT_EQ(http.State(), THttpState::Idle);
}

INSTANTIATE_TEST_SUITE_P(Flood, HttpCliHeaderFloodTest,
    ::testing::Values(HeaderFlood { "ShortLines", "X-Flood: 1\r\n", "Response header longer than 1000 lines" },
        HeaderFlood {
            "LongLines", "X-Flood: " + std::string(6000, 'a') + "\r\n", "Response header longer than 65536 bytes" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpCliHostilePeerTest, HeaderOfExactlyTheBoundIsTakenIn)
{
    std::string head = "HTTP/1.0 200 OK\r\n";
    for (int i = 1; i < THttpCli::kMaxHeaderLines; ++i)
        head += "X-Field: " + std::to_string(i) + "\r\n";
    server.add({ send(head + "\r\nbody"), closeConn() });
    http.URL = url("/");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(http.RcvdHeader().size(), static_cast<size_t>(THttpCli::kMaxHeaderLines));
    EXPECT_EQ(bodyText(), "body");
}

// Regression: a body that ended early, by an orderly close short of its
// Content-Length or by a reset, was delivered as a complete document.
struct BodyEnd {
    const char* name;
    test::Script script;
    std::string error; // "" for success
    std::string body;
};

class HttpCliBodyEndTest : public test::HttpCliFixture, public ::testing::WithParamInterface<BodyEnd>
{
};

TEST_P(HttpCliBodyEndTest, FailsOnlyWhenTheBodyIsCutOff)
{
    const BodyEnd& c = GetParam();
    server.add(c.script);
    http.URL = url("/page.html");
    EXPECT_EQ(get(), c.error);
    EXPECT_EQ(http.BodyFailed(), !c.error.empty());
    EXPECT_EQ(bodyText(), c.body);
    // The document events still pair up, so the caller's stream is closed.
    EXPECT_EQ(count("DocBegin"), 1);
    EXPECT_EQ(count("DocEnd"), 1);
    EXPECT_FALSE(body.isOpen());
    EXPECT_EQ(http.State(), THttpState::Idle);
}

const std::string kHead40 = "HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(Body, HttpCliBodyEndTest,
    ::testing::Values(BodyEnd { "ShortOfContentLength", { send(kHead40 + "0123456789"), closeConn() },
                          "Connection closed after 10 of 40 bytes of the document", "0123456789" },
        BodyEnd { "ResetBeforeContentLength", { send(kHead40 + "0123456789"), pause(100), resetConn() },
            "Connection reset by peer (Error #10054) after 10 of 40 bytes of the document", "0123456789" },
        BodyEnd { "ResetWithoutContentLength", { send("HTTP/1.0 200 OK\r\n\r\n0123456789"), pause(100), resetConn() },
            "Connection reset by peer (Error #10054) after 10 bytes of the document", "0123456789" },
        BodyEnd { "OrderlyCloseWithoutContentLength", { send("HTTP/1.0 200 OK\r\n\r\n0123456789"), closeConn() }, "",
            "0123456789" },
        BodyEnd { "WholeContentLengthThenReset", { send(kHead40 + std::string(40, 'x')), pause(100), resetConn() }, "",
            std::string(40, 'x') }),
    [](const auto& info) { return std::string(info.param.name); });

// Regression: a receive stream on a full disk took nothing, and the request
// still ended as a success with every byte counted.
TEST_F(HttpCliHostilePeerTest, StreamThatCannotBeWrittenFailsTheRequest)
{
    for (const size_t size : { size_t { 100 }, size_t { 200 * 1024 } }) {
        SCOPED_TRACE(size);
        server.add({ send("HTTP/1.0 200 OK\r\n\r\n" + std::string(size, 'x')), closeConn() });
        QFile full(QStringLiteral("/dev/full"));
        http.OnDocBegin = [&](THttpCli* h) {
            ASSERT_TRUE(full.open(QIODevice::WriteOnly));
            h->RcvdStream = &full;
        };
        http.OnDocEnd = [&](THttpCli* h) {
            h->RcvdStream = nullptr;
            full.close();
        };
        http.URL = url("/big");
        EXPECT_EQ(get(), "Cannot write the document: No space left on device");
        EXPECT_EQ(errorCode, 404);
        EXPECT_TRUE(http.BodyFailed());
        EXPECT_FALSE(full.isOpen());
    }
}

} // namespace
} // namespace orv
