// The HTTP client against peers that try to hang, flood or fool it: a body
// sent without pause, endless header lines, a body cut short, a receive
// stream that cannot be written.
#include "HttpCliFixture.h"

#include <QElapsedTimer>

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

} // namespace
} // namespace orv
