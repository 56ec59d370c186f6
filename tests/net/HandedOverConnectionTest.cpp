// A connection handed to the socket instead of opened by it: one end of a
// socket pair, as the fuzz target of the response reader uses it. The socket
// and the client must behave on it as on a TCP connection.
#include "NetTestSupport.h"
#include "net/HttpProt.h"
#include "net/WSocket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace orv
{
namespace
{

using test::waitFor;
using test::Watchdog;

// A socket pair whose first end the socket takes over; the second stays here.
struct Pair {
    int mine = -1;
    int theirs = -1;
    Pair()
    {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) == 0) {
            theirs = ends[0];
            mine = ends[1];
        }
    }
    ~Pair()
    {
        if (mine >= 0)
            ::close(mine);
    }
    std::string readAll() const
    {
        std::string out;
        char buffer[256];
        for (ssize_t n; (n = ::read(mine, buffer, sizeof buffer)) > 0;)
            out.append(buffer, static_cast<size_t>(n));
        return out;
    }
};

TEST(HandedOverConnection, CarriesTheExchangeAndThePeersCloseAsTcpDoes)
{
    Pair pair;
    ASSERT_GE(pair.mine, 0);
    TWSocket s;
    std::vector<std::string> events;
    std::string data;
    s.OnSessionConnected = [&](TCustomWSocket*, uint16_t e) { events.push_back("connected " + std::to_string(e)); };
    s.OnSessionClosed = [&](TCustomWSocket*, uint16_t e) { events.push_back("closed " + std::to_string(e)); };
    s.OnDataAvailable = [&](TCustomWSocket* sender, uint16_t) {
        char buf[4];
        const int n = sender->Receive(buf, sizeof buf);
        if (n > 0)
            data.append(buf, static_cast<size_t>(n));
    };
    s.OpenConnectedHandle = [&] { return pair.theirs; };
    Watchdog dog([&] { s.Close(); });
    s.SetAddr("127.0.0.1");
    s.SetPort("80");
    s.Connect();
    EXPECT_EQ(s.HSocket(), pair.theirs);
    ASSERT_TRUE(waitFor([&] { return !events.empty(); }));
    EXPECT_EQ(events.front(), "connected 0");
    EXPECT_EQ(s.SendStr("ping"), 4);
    ASSERT_TRUE(waitFor([&] { return pair.readAll() == "ping"; }));
    ASSERT_EQ(::write(pair.mine, "hello world", 11), 11);
    ::close(pair.mine);
    pair.mine = -1;
    ASSERT_TRUE(waitFor([&] { return events.size() == 2; }));
    EXPECT_EQ(data, "hello world");
    EXPECT_EQ(events.back(), "closed 0");
    EXPECT_EQ(s.State(), TSocketState::wsClosed);
}

TEST(HandedOverConnection, NoHandleFailsTheConnectWithTheErrorGiven)
{
    TWSocket s;
    s.OpenConnectedHandle = [] {
        errno = ECONNREFUSED;
        return -1;
    };
    s.SetAddr("127.0.0.1");
    s.SetPort("80");
    EXPECT_THROW(s.Connect(), ESocketException);
    EXPECT_EQ(s.LastError(), 10061);
}

TEST(HandedOverConnection, ClientReadsAResponseFromThePair)
{
    Pair pair;
    ASSERT_GE(pair.mine, 0);
    const std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nsolar wind";
    ASSERT_EQ(::write(pair.mine, response.data(), response.size()), static_cast<ssize_t>(response.size()));
    ::shutdown(pair.mine, SHUT_WR);
    THttpCli http;
    std::string body;
    http.OnDocData = [&](THttpCli*, const char* bytes, int len) { body.append(bytes, static_cast<size_t>(len)); };
    http.CtrlSocket().OpenConnectedHandle = [&] { return pair.theirs; };
    http.URL = "http://127.0.0.1:8080/page.html";
    Watchdog dog([&] { http.Abort(); });
    http.Get();
    EXPECT_EQ(http.StatusCode(), 200);
    EXPECT_EQ(http.ContentType(), "text/plain");
    EXPECT_EQ(body, "solar wind");
    const std::string request = pair.readAll();
    EXPECT_EQ(request.rfind("GET /page.html HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nHost: 127.0.0.1\r\n"), std::string::npos) << request;
}

} // namespace
} // namespace orv
