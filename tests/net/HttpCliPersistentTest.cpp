// HTTP/1.1 in the client: kept connections, the ways a body is framed and
// coded, interim answers; and POST with a body and extra request headers,
// as defined engines send them.
#include "HttpCliFixture.h"
#include "net/HttpConnectionPool.h"

#include <zlib.h>

namespace orv
{
namespace
{

using test::awaitRequest;
using test::closeConn;
using test::hold;
using test::send;

std::string compressed(const std::string& text, int windowBits)
{
    z_stream zs {};
    deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, text.size()) + 64, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    zs.avail_in = static_cast<uInt>(text.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

std::string withLength(const std::string& head, const std::string& body)
{
    return head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class PersistentFixture : public test::HttpCliFixture
{
protected:
    std::shared_ptr<HttpConnectionPool> pool = std::make_shared<HttpConnectionPool>();
    void SetUp() override
    {
        HttpCliFixture::SetUp();
        http.Http11 = true;
        http.Pool = pool;
    }
};

struct FramingCase {
    const char* name;
    std::string answer; // all the server sends, then it holds the connection open
    std::string body; // what reaches the document
    std::string error; // part of the error text; empty: the request succeeds
    bool kept; // the connection waits in the pool afterwards
};

class FramingTest : public PersistentFixture, public ::testing::WithParamInterface<FramingCase>
{
};

TEST_P(FramingTest, BodyEndsWhereItsFramingSays)
{
    const FramingCase& c = GetParam();
    // Cases named "Http10..." are faults the HTTP/1.0 client once had.
    http.Http11 = std::string(c.name).rfind("Http10", 0) != 0;
    server.add({ send(c.answer), c.kept ? hold() : closeConn() });
    http.URL = url("/p");
    const std::string error = get();
    if (c.error.empty()) {
        EXPECT_EQ(error, "");
    } else {
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(http.Failed());
    }
    if (c.error.empty() || !c.body.empty()) {
        EXPECT_EQ(bodyText(), c.body);
    }
    EXPECT_EQ(pool->Idle(), c.kept ? 1 : 0);
}

const std::string k11 = "HTTP/1.1 200 OK\r\n";
const std::string kCookies = [] {
    std::string lines;
    for (int i = 0; i < 5000; ++i)
        lines += "Set-Cookie: c" + std::to_string(i) + "=1\r\n";
    return lines;
}();
const std::string kPage = std::string(40000, 'a') + "<title>t</title>" + std::string(30000, 'b');

INSTANTIATE_TEST_SUITE_P(Answers, FramingTest,
    ::testing::Values(FramingCase { "LengthExactly", withLength(k11, "hello") + "EXTRA", "hello", "", false },
        FramingCase { "ChunksWithTrailer",
            k11 + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6;x=1\r\n world\r\n0\r\nX-Sum: 1\r\n\r\n",
            "hello world", "", true },

        FramingCase { "ChunksCutByClose", k11 + "Transfer-Encoding: chunked\r\n\r\n5\r\nhel", "hel",
            "in the middle of a chunked body", false },
        FramingCase {
            "ContinueSkipped", "HTTP/1.1 100 Continue\r\n\r\n" + withLength(k11, "final"), "final", "", true },
        FramingCase { "CloseDelimited", k11 + "\r\nall of it", "all of it", "", false },
        FramingCase { "Gzip", withLength(k11 + "Content-Encoding: gzip\r\n", compressed(kPage, 16 + MAX_WBITS)), kPage,
            "", true },
        FramingCase { "RawDeflate", withLength(k11 + "Content-Encoding: deflate\r\n", compressed(kPage, -MAX_WBITS)),
            kPage, "", true },
        FramingCase { "CorruptGzip", withLength(k11 + "Content-Encoding: gzip\r\n", "\x1f\x8b\x08\x00garbage-garbage"),
            "", "Corrupt gzip content", false },
        FramingCase { "GzipCutShort",
            withLength(k11 + "Content-Encoding: gzip\r\n", compressed(kPage, 16 + MAX_WBITS).substr(0, 60)), "",
            "Corrupt gzip content", false },
        FramingCase { "ServerSaysClose", withLength(k11 + "Connection: close\r\n", "x"), "x", "", false },
        FramingCase {
            "Http10BytesPastLength", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello and more", "hello", "", false },
        FramingCase { "Http10HugeLength",
            "HTTP/1.0 200 OK\r\nContent-Length: 123456789012345678901234567890\r\n\r\nabc", "abc",
            "after 3 of 123456789012345678901234567890 bytes", false },
        FramingCase { "Http10TooManyHeaderLines", "HTTP/1.0 200 OK\r\n" + kCookies + "\r\n", "",
            "Response header longer than 1000 lines", false },
        FramingCase {
            "Http10StatusWithoutCode", "HTTP/1.0\r\n\r\nno code", "", "Status line without a status code", false }),
    [](const auto& info) { return std::string(info.param.name); });

// An IPv6 literal is connected to; the fragment stays home and a blank in
// the path goes encoded.
TEST_F(PersistentFixture, Http10ToAnIpv6LiteralWithoutTheFragment)
{
    http.Http11 = false;
    test::ScriptedServer v6(true);
    v6.add({ send("HTTP/1.0 200 OK\r\n\r\nsix"), closeConn() });
    http.URL = "http://[::1]:" + std::to_string(v6.port()) + "/a page.htm#part";
    EXPECT_EQ(get(), "");
    EXPECT_EQ(bodyText(), "six");
    EXPECT_EQ(v6.requests.at(0), "GET /a%20page.htm HTTP/1.0\r\nHost: [::1]\r\n\r\n");
}

TEST_F(PersistentFixture, SecondRequestGoesOverTheKeptConnection)
{
    server.add({ send(withLength(k11, "one")), awaitRequest(), send(withLength(k11, "two")), hold() });
    http.URL = url("/a");
    EXPECT_EQ(get(), "");
    EXPECT_FALSE(http.ReusedConnection());
    http.URL = url("/b");
    EXPECT_EQ(get(), "");
    EXPECT_TRUE(http.ReusedConnection());
    EXPECT_EQ(bodyText(), "two");
    EXPECT_EQ(server.connections, 1);
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    EXPECT_EQ(server.requests.at(0),
        "GET /a HTTP/1.1\r\n" + host + "Accept-Encoding: gzip, deflate\r\n\r\nGET /b HTTP/1.1\r\n" + host
            + "Accept-Encoding: gzip, deflate\r\n\r\n");
}

TEST_F(PersistentFixture, KeptConnectionClosedBeforeTheAnswerIsTriedOnceMore)
{
    // The server takes the second request and closes without a word: the
    // GET goes again on a new connection, a POST fails.
    server.add({ send(withLength(k11, "one")), awaitRequest(), closeConn() });
    server.add({ send(withLength(k11, "two")), awaitRequest(), closeConn() });
    http.URL = url("/a");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(bodyText(), "two");
    EXPECT_EQ(server.connections, 2);
    http.SendBody = "q=1";
    test::Watchdog dog([this] { http.Abort(); });
    EXPECT_THROW(http.Post(), EHttpException);
    EXPECT_EQ(server.connections, 2);
}

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

// A value with a line end would add headers of its own choosing.
TEST_F(HttpCliPostTest, RefusesAHeaderThatWouldSplitTheRequest)
{
    http.URL = url("/");
    http.ExtraHeaders = { { "X-A", "v\r\nHost: evil" } };
    EXPECT_EQ(get(), "Invalid request header 'X-A'");
    EXPECT_EQ(server.connections, 0);
}

} // namespace
} // namespace orv
