// engines.txt overrides the built-in hosts line by line.
#include "search/EngineHosts.h"
#include "search/EngineCatalogue.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace orv;

namespace
{

TEST(EngineHosts, MissingFileGivesBuiltInHosts)
{
    test::TempFolder folder;
    const EngineHosts hosts = EngineHosts::load(folder.path());
    const EngineHosts builtIn;
    for (Engine e : kAllEngines) {
        EXPECT_EQ(hosts.host(e), builtIn.host(e));
        EXPECT_FALSE(hosts.host(e).empty());
    }
}

TEST(EngineHosts, FileLinesOverrideTheirEngineOnly)
{
    test::TempFolder folder;
    folder.write("engines.txt",
        "Infoseek=127.0.0.1:8123\r\n"
        "Netfind.Aol= 10.0.0.2 \r\n"
        "netfind.aol=wrong.case\r\n"
        "Excite=\r\n"
        "Snap=bad host\r\n"
        "Yahoo=host/path\r\n"
        "no equals sign\r\n"
        "Unknown=1.2.3.4\n"
        "Magellan=m.example:81=x");
    const EngineHosts hosts = EngineHosts::load(folder.path());
    const EngineHosts builtIn;
    EXPECT_EQ(hosts.host(Engine::Infoseek), "127.0.0.1:8123");
    EXPECT_EQ(hosts.host(Engine::NetfindAol), "10.0.0.2");
    EXPECT_EQ(hosts.host(Engine::Magellan), "m.example:81=x");
    for (Engine e : { Engine::Excite, Engine::Snap, Engine::Yahoo, Engine::AltaVista, Engine::Thunderstone })
        EXPECT_EQ(hosts.host(e), builtIn.host(e)) << engineCaption(e);
}

TEST(EngineHosts, HttpsLinesAskTheEngineOverTls)
{
    const EngineHosts hosts = EngineHosts::fromLines({ "Webcrawler=https://127.0.0.1:8443",
        "PlanetSearch=HTTPS://p.example", "Snap=http://s.example:81", "Thunderstone=https://t.example/path" });
    EXPECT_EQ(hosts.host(Engine::Webcrawler), "https://127.0.0.1:8443");
    EXPECT_EQ(hosts.host(Engine::PlanetSearch), "https://p.example");
    EXPECT_EQ(hosts.host(Engine::Snap), "s.example:81");
    EXPECT_EQ(hosts.host(Engine::Thunderstone), EngineHosts().host(Engine::Thunderstone));
    EngineQuery query;
    query.queryText = "fox";
    EXPECT_EQ(engineQueryUrl(Engine::Webcrawler, hosts.host(Engine::Webcrawler), query),
        "https://127.0.0.1:8443" + engineQueryPath(Engine::Webcrawler, query));
    EXPECT_EQ(engineQueryUrl(Engine::Snap, hosts.host(Engine::Snap), query),
        "http://s.example:81" + engineQueryPath(Engine::Snap, query));
}

} // namespace
