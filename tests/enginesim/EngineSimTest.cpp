// The engine simulator as the search and retrieval tests rely on it: pages
// follow the start value of each engine's query, slow pages are slow, fault
// paths fail as named, and the log keeps targets byte for byte.
#include "support/EngineSim.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using orv::test::EngineSim;

namespace
{

struct Reply {
    bool reset = false;
    std::string bytes;
};

// A blocking GET over a plain socket, bounded by `ms`.
Reply fetch(const EngineSim& sim, const std::string& target, int ms = 10000, bool hostHeader = true)
{
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", static_cast<quint16>(sim.port()));
    EXPECT_TRUE(socket.waitForConnected(ms));
    const std::string request =
        "GET " + target + " HTTP/1.0\r\n" + (hostHeader ? "Host: 127.0.0.1\r\n" : "") + "\r\n";
    socket.write(request.data(), static_cast<qint64>(request.size()));
    socket.waitForBytesWritten(ms);
    Reply reply;
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < ms) {
        if (socket.waitForReadyRead(static_cast<int>(ms - clock.elapsed())))
            reply.bytes += socket.readAll().toStdString();
    }
    reply.bytes += socket.readAll().toStdString();
    reply.reset = socket.error() == QAbstractSocket::RemoteHostClosedError && reply.bytes.empty();
    return reply;
}

int countOf(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

struct PagingCase {
    const char* engine;
    std::string target;
    int links; // result links the page carries
};

class EngineSimPaging : public ::testing::TestWithParam<PagingCase>
{
};

TEST_P(EngineSimPaging, PageHoldsTheEnginesPageSizeFromItsStartValue)
{
    EngineSim::Options options;
    options.resultsPerEngine = 45;
    EngineSim sim(options);
    const auto& c = GetParam();
    const Reply reply = fetch(sim, c.target);
    ASSERT_EQ(reply.bytes.rfind("HTTP/1.0 200 OK\r\n", 0), 0u);
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].what, c.engine);
    EXPECT_EQ(requests[0].target, c.target);
    EXPECT_EQ(static_cast<int>(requests[0].links.size()), c.links);
    for (const auto& link : requests[0].links)
        EXPECT_NE(reply.bytes.find(link), std::string::npos) << link;
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineSimPaging,
    ::testing::Values(PagingCase { "Excite", "/search.gw?c=web&s=a+b&showSummary=false&start=20&perPage=20", 20 },
        PagingCase { "Excite", "/search.gw?c=web&s=a+b&showSummary=false&start=40&perPage=20", 5 },
        PagingCase { "Webcrawler", "/cgi-bin/WebQuery?search=a&showSummary=false&start=25&perPage=25", 20 },
        PagingCase { "AltaVista", "/cgi-bin/query?pg=q&q=a&stq=40&c9k", 5 },
        PagingCase { "Yahoo", "/bin/query?p=%2Ba&b=41&hc=0&hs=0", 5 },
        PagingCase { "Infoseek", "/Titles?sv=IS&lk=noframes&nh=20&ud4=0&st=0&qt=%22a%22&col=WW&sf=1", 20 },
        PagingCase { "Snap",
            "/search/web/results/1,33,home-0,00.html?keyword=a&category=0%2D0%2DWW&numHit=20&rfr="
            "&fail=0&dh=0&start=20&tag=st.sn.sr.5.pg",
            20 },
        PagingCase { "Thunderstone", "/texis/websearch/?c=&sn=40&q=a", 5 },
        PagingCase { "PlanetSearch", "/?a=1&flags=7&count=30&index=1&text=a", 30 },
        PagingCase { "Magellan", "/search.gw?c=web&look=magellan&search=a", 10 },
        PagingCase { "Magellan", "/search.gw?next=Next+Results&search=a&look=magellan&start=40&collection=web ", 5 },
        PagingCase { "Netfind.Aol",
            "/search.gw?lk=excite_netfind2_us&c=web&start=10&showSummary=true&s=a&perPage=10&next="
            "next&nrm=aol&pri=on&xls=b&xll=65 ",
            10 }));

TEST(EngineSim, SameSeedGivesSameLinksAndPagesDoNotRepeatEachOther)
{
    EngineSim one;
    EngineSim two;
    fetch(one, "/cgi-bin/query?pg=q&q=a&stq=0&c9k");
    fetch(one, "/cgi-bin/query?pg=q&q=a&stq=10&c9k");
    // A request without any header line is answered too.
    fetch(two, "/cgi-bin/query?pg=q&q=a&stq=0&c9k", 10000, false);
    const auto a = one.requests();
    const auto b = two.requests();
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(a[0].links.size(), 10u);
    // Same corpus on another port: compare the paths only.
    for (size_t i = 0; i < a[0].links.size(); ++i)
        EXPECT_EQ(a[0].links[i].substr(a[0].links[i].find("/", 7)), b[0].links[i].substr(b[0].links[i].find("/", 7)));
    EXPECT_NE(a[0].links, a[1].links);
}

TEST(EngineSim, SlowPageAnswersOnlyAfterTheDelayAndOthersAtOnce)
{
    EngineSim::Options options;
    options.slow = "Infoseek:2";
    options.slowMs = 800;
    EngineSim sim(options);
    QElapsedTimer clock;
    clock.start();
    fetch(sim, "/Titles?sv=IS&st=0&qt=a");
    EXPECT_LT(clock.elapsed(), 700);
    clock.restart();
    const Reply slow = fetch(sim, "/Titles?sv=IS&st=20&qt=a");
    EXPECT_GE(clock.elapsed(), 750);
    EXPECT_NE(slow.bytes.find("RESULTS 21 - 40"), std::string::npos);
}

TEST(EngineSim, FaultPathsFailAsNamed)
{
    EngineSim sim;
    EXPECT_EQ(fetch(sim, "/fault/404/0003.html").bytes.rfind("HTTP/1.0 404", 0), 0u);
    const Reply redirect = fetch(sim, "/fault/redirect/0004.html");
    EXPECT_NE(redirect.bytes.find("Location: " + sim.url("/site/0004.html") + "\r\n"), std::string::npos);
    const Reply empty = fetch(sim, "/fault/empty/0005.html");
    EXPECT_NE(empty.bytes.find("Content-Length: 0\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(fetch(sim, "/fault/reset/0002.html").reset);
    const Reply site = fetch(sim, "/site/0007.html");
    EXPECT_EQ(countOf(site.bytes, "<title>"), 1);
    EXPECT_EQ(fetch(sim, "/nowhere").bytes.rfind("HTTP/1.0 404", 0), 0u);
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[3].status, "RST");
}

TEST(EngineSim, EnginesTextNamesEveryEngineOnItsPort)
{
    EngineSim sim;
    const std::string text = sim.enginesText();
    EXPECT_EQ(countOf(text, "=" + sim.host() + "\r\n"), 10);
    EXPECT_EQ(text.rfind("AltaVista=127.0.0.1:", 0), 0u);
    EXPECT_NE(text.find("\r\nNetfind.Aol="), std::string::npos);
}

} // namespace
