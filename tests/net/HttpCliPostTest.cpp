// POST with a body and extra request headers, as defined engines send them.
#include "HttpCliFixture.h"

namespace orv
{
namespace
{

using test::closeConn;
using test::send;

class HttpCliPostTest : public test::HttpCliFixture
{
};

TEST_F(HttpCliPostTest, SendsBodyAfterHeadersAndFollowsSeeOtherWithGet)
{
    server.add({ send("HTTP/1.0 303 See Other\r\nLocation: /done\r\n\r\n"), closeConn() });
    server.add({ send("HTTP/1.0 200 OK\r\n\r\nok"), closeConn() });
    http.URL = url("/search");
    http.SendBody = "q=a+b";
    http.ExtraHeaders = { { "Accept", "application/json" }, { "X-Token", "t1" } };
    http.Post();
    ASSERT_EQ(server.requests.size(), 2u);
    EXPECT_EQ(server.requests[0],
        "POST /search HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
        "Content-Length: 5\r\nAccept: application/json\r\nX-Token: t1\r\n\r\nq=a+b");
    EXPECT_EQ(
        server.requests[1], "GET /done HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: application/json\r\nX-Token: t1\r\n\r\n");
    EXPECT_EQ(bodyText(), "ok");
    EXPECT_EQ(http.RequestType(), THttpRequest::Post);
}

TEST_F(HttpCliPostTest, RefusesAHeaderThatWouldSplitTheRequest)
{
    http.URL = url("/");
    for (const auto& header : { std::pair<std::string, std::string> { "X-A", "v\r\nHost: evil" },
             std::pair<std::string, std::string> { "Bad Name", "v" },
             std::pair<std::string, std::string> { "", "v" } }) {
        http.ExtraHeaders = { header };
        EXPECT_NE(get(), "") << header.first;
    }
    EXPECT_EQ(server.connections, 0);
    EXPECT_EQ(http.State(), THttpState::Idle);
}

} // namespace
} // namespace orv
