// https against real peers on 127.0.0.1: nginx with certificates from the
// test's own authority (good, untrusted, expired, wrong name), tinyproxy
// tunnelling with CONNECT, and scripted TLS servers that go silent, hang up
// in the handshake or cut the body.
#include "HttpCliFixture.h"
#include "TlsPeers.h"
#include "support/EngineSim.h"

#include <QElapsedTimer>
#include <QProcess>

#include <filesystem>
#include <random>

namespace orv
{
namespace
{

class TlsRealPeers : public test::HttpCliFixture
{
protected:
    static void SetUpTestSuite()
    {
        if (!test::Nginx::available() || !test::TinyProxy::available())
            return;
        folder_ = new test::TempFolder;
        std::filesystem::create_directories(folder_->file("www"));
        folder_->write("www/index.html", "<html><title>Home</title></html>\r\n");
        std::string big(20 * 1024 * 1024, '\0');
        std::mt19937 rng(15);
        for (char& c : big)
            c = static_cast<char>(rng());
        folder_->write("www/big.bin", big);
        nginx_ = new test::TlsNginx;
        proxy_ = new test::TinyProxy;
        startError_.clear();
        if (!nginx_->start(*folder_, startError_))
            return;
        // CONNECT is allowed to the good TLS port only.
        proxy_->start(*folder_, startError_, "ConnectPort " + std::to_string(nginx_->tlsPort()) + "\n");
    }
    static void TearDownTestSuite()
    {
        delete proxy_;
        delete nginx_;
        delete folder_;
        proxy_ = nullptr;
        nginx_ = nullptr;
        folder_ = nullptr;
    }
    void SetUp() override
    {
        if (!test::Nginx::available() || !test::TinyProxy::available())
            GTEST_SKIP() << "nginx or tinyproxy is not installed";
        ASSERT_TRUE(startError_.empty()) << startError_;
        HttpCliFixture::SetUp();
    }
    static std::string https(int port, const std::string& path, const std::string& host = "127.0.0.1")
    {
        return "https://" + host + ":" + std::to_string(port) + path;
    }

    static test::TempFolder* folder_;
    static test::TlsNginx* nginx_;
    static test::TinyProxy* proxy_;
    static std::string startError_;
};

test::TempFolder* TlsRealPeers::folder_ = nullptr;
test::TlsNginx* TlsRealPeers::nginx_ = nullptr;
test::TinyProxy* TlsRealPeers::proxy_ = nullptr;
std::string TlsRealPeers::startError_;

// Each new connection resumes the session of the one before (nginx logs
// "r"); over HTTP/1.1 the next request goes over the same connection.
TEST_F(TlsRealPeers, NewConnectionsResumeAndKeptOnesCarryTheNextRequest)
{
    http.URL = https(nginx_->tlsPort(), "/index.html");
    EXPECT_EQ(get(), "");
    const size_t before = folder_->read("reuse.log").size();
    EXPECT_EQ(get(), "");
    http.Http11 = true;
    EXPECT_EQ(get(), "");
    EXPECT_EQ(get(), "");
    EXPECT_TRUE(http.ReusedConnection());
    ASSERT_TRUE(test::waitFor([&] { return folder_->read("reuse.log").size() >= before + 12; }));
    EXPECT_EQ(folder_->read("reuse.log").substr(before), "r 1\nr 1\nr 2\n");
}

TEST_F(TlsRealPeers, TwentyMegabytesByteForByte)
{
    http.URL = https(nginx_->tlsPort(), "/big.bin");
    EXPECT_EQ(get(), "");
    EXPECT_TRUE(http.Secure());
    EXPECT_EQ(http.StatusCode(), 200);
    EXPECT_EQ(http.RcvdCount(), 20 * 1024 * 1024);
    ASSERT_EQ(bodyText().size(), 20u * 1024 * 1024);
    EXPECT_TRUE(bodyText() == folder_->read("www/big.bin")) << "the body differs from the file";
    EXPECT_EQ(count("DocBegin"), 1);
    EXPECT_EQ(count("DocEnd"), 1);
}

TEST_F(TlsRealPeers, RedirectsToHttpsAndBack)
{
    http.URL = "http://127.0.0.1:" + std::to_string(nginx_->port()) + "/to-https";
    EXPECT_EQ(get(), "");
    EXPECT_EQ(count("LocationChange"), 2);
    EXPECT_FALSE(http.Secure());
    EXPECT_EQ(bodyText(), "<html><title>Home</title></html>\r\n");
}

TEST_F(TlsRealPeers, NotFoundOverTls)
{
    http.URL = https(nginx_->tlsPort(), "/missing.html");
    EXPECT_EQ(get(), "Not Found");
    EXPECT_EQ(errorCode, 404);
    EXPECT_FALSE(http.TlsFailed());
    EXPECT_EQ(count("Doc"), 0);
}

TEST_F(TlsRealPeers, HostNameIsCheckedAsADnsName)
{
    http.URL = https(nginx_->tlsPort(), "/index.html", "localhost");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(bodyText(), "<html><title>Home</title></html>\r\n");
}

TEST_F(TlsRealPeers, PageThroughTinyproxyTunnel)
{
    http.Proxy = "127.0.0.1:" + std::to_string(proxy_->port());
    http.URL = https(nginx_->tlsPort(), "/index.html");
    std::vector<std::string> sent;
    http.OnCommand = [&](THttpCli*, const std::string& line) { sent.push_back(line); };
    EXPECT_EQ(get(), "");
    EXPECT_EQ(bodyText(), "<html><title>Home</title></html>\r\n");
    // The tunnel is asked for first; inside it the request line is the path.
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[0], "CONNECT 127.0.0.1:" + std::to_string(nginx_->tlsPort()) + " HTTP/1.0");
    EXPECT_EQ(sent[3], "GET /index.html HTTP/1.0");

    // httpget does the same with --proxy.
    test::TempFolder out;
    QProcess tool;
    tool.start(QStringLiteral(ORVALEN_BIN_DIR "/httpget"),
        { "--proxy", QString::fromStdString(http.Proxy), QString::fromStdString(http.URL),
            QString::fromStdString(out.file("page.html")) });
    ASSERT_TRUE(tool.waitForFinished(15000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(out.read("page.html"), "<html><title>Home</title></html>\r\n");
}

TEST_F(TlsRealPeers, RefusedTunnelFailsWithTheProxysStatus)
{
    http.Proxy = "127.0.0.1:" + std::to_string(proxy_->port());
    http.URL = https(nginx_->untrustedPort(), "/index.html");
    const std::string error = get();
    EXPECT_EQ(errorCode, 403);
    EXPECT_EQ(error, http.ReasonPhrase());
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(http.TlsFailed());
    EXPECT_EQ(count("Doc"), 0);
}

struct TrustCase {
    const char* name;
    int (test::TlsNginx::*port)() const;
    const char* reason;
};

class TrustFailures : public TlsRealPeers, public ::testing::WithParamInterface<TrustCase>
{
};

// Each failure fails the request with its reason and writes no file; run
// through httpget, which fetches https like the program does.
TEST_P(TrustFailures, FailWithTheirReasonAndNoFile)
{
    const TrustCase& c = GetParam();
    const std::string url = https((nginx_->*c.port)(), "/index.html");
    http.URL = url;
    EXPECT_EQ(get(), c.reason);
    EXPECT_TRUE(http.TlsFailed());
    EXPECT_EQ(count("Doc"), 0);

    test::TempFolder out;
    QProcess tool;
    tool.start(QStringLiteral(ORVALEN_BIN_DIR "/httpget"),
        { QString::fromStdString(url), QString::fromStdString(out.file("page.html")) });
    ASSERT_TRUE(tool.waitForFinished(15000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_EQ(tool.readAllStandardError().toStdString(), std::string(c.reason) + "\n");
    EXPECT_FALSE(std::filesystem::exists(out.file("page.html")));
}

INSTANTIATE_TEST_SUITE_P(Certificates, TrustFailures,
    ::testing::Values(TrustCase { "UntrustedIssuer", &test::TlsNginx::untrustedPort,
                          "certificate verify failed: unable to get local issuer certificate" },
        TrustCase { "Expired", &test::TlsNginx::expiredPort, "certificate verify failed: certificate has expired" },
        TrustCase { "WrongName", &test::TlsNginx::wrongNamePort, "certificate verify failed: IP address mismatch" }),
    [](const auto& info) { return std::string(info.param.name); });

class ScriptedTls : public test::HttpCliFixture
{
};

// Abort (the program's time-out calls it too) ends a handshake that never
// progresses, within a second of being due.
TEST_F(ScriptedTls, SilentServerIsAbortedOnTime)
{
    test::TlsTestServer server(test::TlsTestServer::Mode::Silent);
    http.URL = server.url("/page.html");
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(300, [this] { http.Abort(); });
    EXPECT_EQ(get(), "Connection aborted on request");
    EXPECT_LT(clock.elapsed(), 300 + 1000);
    EXPECT_FALSE(http.TlsFailed());
    EXPECT_EQ(http.State(), THttpState::Idle);
}

TEST_F(ScriptedTls, CloseInTheHandshakeFails)
{
    test::TlsTestServer server(test::TlsTestServer::Mode::CloseInHandshake);
    http.URL = server.url("/page.html");
    EXPECT_EQ(get(), "TLS handshake failed: the server closed the connection");
    EXPECT_EQ(errorCode, 404);
    EXPECT_TRUE(http.TlsFailed());
    EXPECT_EQ(count("Doc"), 0);
}

TEST_F(ScriptedTls, WholeReplyOverTls)
{
    test::TlsTestServer server(test::TlsTestServer::Mode::Reply, "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    http.URL = server.url("/page.html");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(bodyText(), "hello");
}

// A body that ends short of its Content-Length is cut off, over TLS as over
// a plain connection, even when the server ends the session in order.
TEST_F(ScriptedTls, BodyCutShortFails)
{
    test::TlsTestServer server(test::TlsTestServer::Mode::Reply, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nhello");
    http.URL = server.url("/page.html");
    EXPECT_NE(get(), "");
    EXPECT_GE(http.StatusCode(), 400);
}

// Bytes that are not a TLS record, once the session is up, fail the request
// as a TLS failure instead of passing for the response or a normal close.
TEST_F(ScriptedTls, BytesOutsideTheSessionFail)
{
    test::TlsTestServer server(
        test::TlsTestServer::Mode::PlainAfterHandshake, "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    http.URL = server.url("/page.html");
    const std::string error = get();
    EXPECT_EQ(error.rfind("TLS error: ", 0), 0u) << error;
    EXPECT_TRUE(http.TlsFailed());
    EXPECT_EQ(count("Doc"), 0);
}

// The tunnel request's exact bytes, and a refusal that carries the proxy's
// own status and reason.
TEST_F(ScriptedTls, ProxyRefusingConnect)
{
    server.add({ test::send("HTTP/1.0 407 Proxy Authentication Required\r\n\r\n"), test::closeConn() });
    http.Proxy = "127.0.0.1:" + std::to_string(server.port());
    http.URL = "https://www.example.com:8443/secret/page.html";
    EXPECT_EQ(get(), "Proxy Authentication Required");
    EXPECT_EQ(errorCode, 407);
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0], "CONNECT www.example.com:8443 HTTP/1.0\r\nHost: www.example.com:8443\r\n\r\n");
}

// The simulator over TLS: an engine asked at the TLS port still links to
// plain http sites, and a moved site redirects to its page over https.
TEST_F(ScriptedTls, SimulatorServesEnginesAndSitesOverTls)
{
    test::EngineSim::Options options;
    options.tls = true;
    options.resultsPerEngine = 20;
    test::EngineSim sim(options);
    http.URL = sim.httpsUrl("/search.gw?c=web&s=fox&showSummary=false&start=0&perPage=20");
    EXPECT_EQ(get(), "");
    const auto engine = sim.requestsOf("Excite");
    ASSERT_EQ(engine.size(), 1u);
    ASSERT_FALSE(engine[0].links.empty());
    for (const std::string& link : engine[0].links) {
        EXPECT_EQ(link.rfind(sim.url("/"), 0), 0u) << link;
        EXPECT_NE(bodyText().find(link), std::string::npos) << link;
    }

    events.clear();
    bodyBytes.clear();
    http.URL = sim.url("/secure/0031.html");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(count("LocationChange"), 1);
    EXPECT_TRUE(http.Secure());
    const std::string moved = bodyText();
    events.clear();
    bodyBytes.clear();
    http.URL = sim.url("/site/0031.html");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(moved, bodyText());
    EXPECT_EQ(sim.requestsOf("secure").size(), 1u);
}

} // namespace
} // namespace orv
