// The text rules under HTTP/1.1: chunk decoding with its bounds, references
// resolved as RFC 3986 lays down, request targets, and the connection pool's
// bounds.
#include "NetTestSupport.h"
#include "net/ChunkedDecoder.h"
#include "net/HttpConnectionPool.h"
#include "net/HttpUrl.h"
#include "net/UrlReference.h"
#include "net/WSocket.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

namespace orv
{
namespace
{

struct ChunkCase {
    const char* name;
    std::string input;
    ChunkedDecoder::Result result;
    std::string body; // for More and Done
    size_t rest = 0; // bytes left after Done
    std::string error; // part of Error()
};

class ChunkedDecoderTest : public ::testing::TestWithParam<ChunkCase>
{
};

// Every case is fed whole and one byte at a time, with the same outcome.
TEST_P(ChunkedDecoderTest, DecodesOrRefuses)
{
    const ChunkCase& c = GetParam();
    for (const size_t step : { c.input.size(), size_t(1) }) {
        ChunkedDecoder d;
        std::string body;
        size_t taken = 0;
        ChunkedDecoder::Result r = ChunkedDecoder::Result::More;
        for (size_t at = 0; at < c.input.size() && r == ChunkedDecoder::Result::More; at += step) {
            size_t used = 0;
            r = d.Feed(c.input.data() + at, std::min(step, c.input.size() - at), used,
                [&](const char* p, size_t n) { body.append(p, n); });
            taken += used;
        }
        EXPECT_EQ(r, c.result) << "step " << step;
        if (r == ChunkedDecoder::Result::Error) {
            EXPECT_NE(d.Error().find(c.error), std::string::npos) << d.Error();
        } else {
            EXPECT_EQ(body, c.body) << "step " << step;
        }
        if (r == ChunkedDecoder::Result::Done) {
            EXPECT_EQ(c.input.size() - taken, c.rest);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bodies, ChunkedDecoderTest,
    ::testing::Values(ChunkCase { "Trailers", "3\r\nabc\r\n2;name=\"v\"\r\nde\r\n0\r\nA: 1\r\nB: 2\r\n\r\nNEXT",
                          ChunkedDecoder::Result::Done, "abcde", 4, "" },
        ChunkCase { "BareLineFeeds", "3\nabc\n0\n\n", ChunkedDecoder::Result::Done, "abc", 0, "" },
        ChunkCase { "SizeOverflows", "10000000000000000\r\n", ChunkedDecoder::Result::Error, "", 0, "overflows" },
        ChunkCase { "JunkAfterSize", "5x\r\n", ChunkedDecoder::Result::Error, "", 0, "followed by 'x'" },
        ChunkCase { "DataWithoutCrLf", "3\r\nabcd", ChunkedDecoder::Result::Error, "", 0, "no CR LF" },
        ChunkCase { "LongExtension", "1;" + std::string(5000, 'e') + "\r\n", ChunkedDecoder::Result::Error, "", 0,
            "size line longer" },
        ChunkCase { "LongTrailer", "0\r\nX: " + std::string(70000, 't'), ChunkedDecoder::Result::Error, "", 0,
            "trailer line longer" },
        ChunkCase { "EndlessTrailer",
            "0\r\n" +
                [] {
                    std::string lines;
                    for (int i = 0; i < 2000; ++i)
                        lines += "X-Line: " + std::string(30, 'v') + "\r\n";
                    return lines;
                }(),
            ChunkedDecoder::Result::Error, "", 0, "trailer longer" }),
    [](const auto& info) { return std::string(info.param.name); });

// RFC 3986 section 5.4, and the references servers send.
TEST(UrlReference, ResolvesAgainstTheRequest)
{
    const std::string base = "http://a/b/c/d;p?q";
    const std::pair<const char*, const char*> cases[] = { { "g:h", "g:h" }, { "g", "http://a/b/c/g" },
        { "./g", "http://a/b/c/g" }, { "g/", "http://a/b/c/g/" }, { "/g", "http://a/g" }, { "//g", "http://g" },
        { "?y", "http://a/b/c/d;p?y" }, { "g?y", "http://a/b/c/g?y" }, { "#s", "http://a/b/c/d;p?q#s" },
        { "g#s", "http://a/b/c/g#s" }, { ";x", "http://a/b/c/;x" }, { "", "http://a/b/c/d;p?q" },
        { ".", "http://a/b/c/" }, { "..", "http://a/b/" }, { "../g", "http://a/b/g" }, { "../..", "http://a/" },
        { "../../../g", "http://a/g" }, { "/../g", "http://a/g" }, { "./../g", "http://a/b/g" },
        { "g/../h", "http://a/b/c/h" }, { "ok/rel", "http://a/b/c/ok/rel" },
        { "HTTPS://Other:8443/x", "HTTPS://Other:8443/x" } };
    for (const auto& [reference, expected] : cases)
        EXPECT_EQ(ResolveReference(base, reference), expected) << "'" << reference << "'";
    EXPECT_EQ(ResolveReference("http://h:81", "x"), "http://h:81/x");
}

TEST(UrlReference, RequestTargetDropsTheFragmentAndEncodesWhatMayNotStand)
{
    EXPECT_EQ(RequestTarget("/a b/\"c\"<d>?q=x y#frag ment"), "/a%20b/%22c%22%3Cd%3E?q=x%20y");
    EXPECT_EQ(RequestTarget("/caf\xc3\xa9/%41{|}^`\\\t"), "/caf%C3%A9/%41%7B%7C%7D%5E%60%5C%09");
    EXPECT_EQ(RequestTarget("/ok/-._~!$&'()*+,;=:@?/"), "/ok/-._~!$&'()*+,;=:@?/");
    EXPECT_EQ(ParseURL("http://u:p@[fe80::1]/").host, "[fe80::1]");
}

// A socket on one end of a socket pair, connected as far as it knows.
std::unique_ptr<TWSocket> pairedSocket(std::vector<int>& peers)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return nullptr;
    peers.push_back(ends[1]);
    auto s = std::make_unique<TWSocket>();
    s->OpenConnectedHandle = [fd = ends[0]] { return fd; };
    s->SetAddr("127.0.0.1");
    s->SetPort("80");
    s->Connect();
    TWSocket* raw = s.get();
    test::waitFor([raw] { return raw->State() == TSocketState::wsConnected; });
    return s;
}

TEST(HttpConnectionPool, BoundedPerHostAndInAllAndNeverHandsOutAClosedOne)
{
    std::vector<int> peers;
    {
        HttpConnectionPool pool(2, 3);
        for (int i = 0; i < 3; ++i)
            pool.Put("http://a:80", pairedSocket(peers));
        EXPECT_EQ(pool.Idle("http://a:80"), 2);
        pool.Put("http://b:80", pairedSocket(peers));
        pool.Put("http://b:80", pairedSocket(peers));
        EXPECT_EQ(pool.Idle(), 3);
        EXPECT_EQ(pool.Idle("http://a:80"), 1);
        ::close(peers[4]); // the newest of b is closed by its server
        ASSERT_TRUE(test::waitFor([&] { return pool.Idle("http://b:80") == 1; }));
        std::unique_ptr<TWSocket> taken = pool.Take("http://b:80");
        ASSERT_TRUE(taken);
        EXPECT_TRUE(taken->IdleAndOpen());
        EXPECT_FALSE(pool.Take("http://b:80"));
        ASSERT_EQ(::write(peers[2], "x", 1), 1); // bytes nobody asked for
        EXPECT_FALSE(pool.Take("http://a:80"));
        EXPECT_EQ(pool.Idle(), 0);
    }
    for (int fd : peers)
        ::close(fd);
}

} // namespace
} // namespace orv
