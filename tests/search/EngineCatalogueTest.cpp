// The exact query URLs, activity texts and page steps of the ten engines.
#include "search/EngineCatalogue.h"

#include <gtest/gtest.h>

using namespace orv;

namespace
{

struct UrlCase {
    Engine engine;
    EngineQuery query;
    const char* url;
};

EngineQuery first(std::string q, std::string quoted = {})
{
    EngineQuery query;
    query.queryText = std::move(q);
    query.quotedQueryText = quoted.empty() ? query.queryText : std::move(quoted);
    query.planetMaxText = "20";
    return query;
}

EngineQuery withPage(EngineQuery q, int page)
{
    q.page = page;
    return q;
}

EngineQuery nextPage(EngineQuery q, int start)
{
    q.firstPage = false;
    q.start = start;
    return q;
}

class EngineUrl : public ::testing::TestWithParam<UrlCase>
{
};

TEST_P(EngineUrl, IsExactlyTheEnginesQuery)
{
    const auto& c = GetParam();
    EXPECT_EQ(engineQueryUrl(c.engine, "h.example:81", c.query), c.url);
}

const EngineQuery kFox = first("red+fox+den");
const EngineQuery kQuoted = first("solar+panel+\"wind+turbine\"", "solar+panel+%22wind+turbine%22");

INSTANTIATE_TEST_SUITE_P(Catalogue, EngineUrl,
    ::testing::Values(UrlCase { Engine::Excite, kFox,
                          "http://h.example:81/search.gw?c=web&s=red+fox+den&showSummary=false&start=0&perPage=20" },
        UrlCase { Engine::Excite, withPage(kFox, 40),
            "http://h.example:81/search.gw?c=web&s=red+fox+den&showSummary=false&start=40&perPage=20" },
        UrlCase { Engine::Webcrawler, withPage(kFox, 25),
            "http://h.example:81/cgi-bin/WebQuery?search=red+fox+den&showSummary=false&start=25&perPage=25" },
        UrlCase {
            Engine::AltaVista, withPage(kFox, 10), "http://h.example:81/cgi-bin/query?pg=q&q=red+fox+den&stq=10&c9k" },
        UrlCase { Engine::Yahoo, withPage(kFox, 1), "http://h.example:81/bin/query?p=%2Bred+fox+den&b=1&hc=0&hs=0" },
        UrlCase { Engine::Yahoo, withPage(kQuoted, 21),
            "http://h.example:81/bin/query?p=%2Bsolar+panel+\"wind+turbine\"&b=21&hc=0&hs=0" },
        UrlCase { Engine::Infoseek, kQuoted,
            "http://h.example:81/"
            "Titles?sv=IS&lk=noframes&nh=20&ud4=0&st=0&qt=solar+panel+%22wind+turbine%22&col=WW&sf=1" },
        UrlCase { Engine::Snap, withPage(kFox, 20),
            "http://h.example:81/search/web/results/1,33,home-0,00.html?keyword=red+fox+den&category=0%2D0%2DWW"
            "&numHit=20&rfr=&fail=0&dh=0&start=20&tag=st.sn.sr.5.pg" },
        UrlCase { Engine::Thunderstone, withPage(kQuoted, 60),
            "http://h.example:81/texis/websearch/?c=&sn=60&q=solar+panel+\"wind+turbine\"" },
        UrlCase { Engine::PlanetSearch,
            [] {
                EngineQuery q = first("a&b");
                q.planetMaxText = " 2x";
                return q;
            }(),
            "http://h.example:81/?a=1&flags=7&count= 2x&index=1&text=a&b" },
        UrlCase { Engine::Magellan, kFox, "http://h.example:81/search.gw?c=web&look=magellan&search=red+fox+den" },
        UrlCase { Engine::Magellan, nextPage(kFox, 10),
            "http://h.example:81/search.gw?next=Next+Results&search=red+fox+den&look=magellan&start=10"
            "&collection=web " },
        UrlCase { Engine::NetfindAol, kFox,
            "http://h.example:81/search.gw?search=red+fox+den&Search=Find%21&look=excite_netfind2_us&sorig=rpage"
            "&nrm=aol&pri=on&xls=b&xll=65" },
        UrlCase { Engine::NetfindAol, nextPage(kFox, 0),
            "http://h.example:81/search.gw?lk=excite_netfind2_us&c=web&start=0&showSummary=true&s=red+fox+den"
            "&perPage=10&next=next&nrm=aol&pri=on&xls=b&xll=65 " }));

TEST(EngineCatalogue, ActivityTexts)
{
    const std::pair<Engine, const char*> cases[] = {
        { Engine::AltaVista, "Searching AltaVista..." },
        { Engine::Infoseek, "Searching Infoseek..." },
        { Engine::Excite, "Searching Excite..." },
        { Engine::Yahoo, "Searching Yahoo..." },
        { Engine::NetfindAol, "Searching Netfind.Aol..." },
        { Engine::Webcrawler, "Searching Webcrawler..." },
        { Engine::Snap, "Searching Snap ..." },
        { Engine::Magellan, "Searching Magellan..." },
        { Engine::PlanetSearch, "Searching PlanetSearch..." },
        { Engine::Thunderstone, "Searching Thunderstone..." },
    };
    for (const auto& [engine, text] : cases)
        EXPECT_EQ(engineActivityText(engine), text);
}

TEST(EngineCatalogue, FurtherPageValuesStepByEachEnginesPageSize)
{
    EXPECT_EQ(furtherPageValue(Engine::Infoseek, 1), 20);
    EXPECT_EQ(furtherPageValue(Engine::Excite, 2), 40);
    EXPECT_EQ(furtherPageValue(Engine::Snap, 3), 60);
    EXPECT_EQ(furtherPageValue(Engine::Thunderstone, 1), 20);
    EXPECT_EQ(furtherPageValue(Engine::Webcrawler, 2), 50);
    EXPECT_EQ(furtherPageValue(Engine::AltaVista, 3), 30);
    EXPECT_EQ(furtherPageValue(Engine::Yahoo, 1), 21);
    EXPECT_EQ(furtherPageValue(Engine::Yahoo, 2), 41);
    EXPECT_EQ(enginePaging(Engine::PlanetSearch), PagingKind::SinglePage);
    EXPECT_EQ(enginePaging(Engine::Magellan), PagingKind::StartOffset);
    EXPECT_EQ(enginePaging(Engine::NetfindAol), PagingKind::StartOffset);
    EXPECT_EQ(enginePaging(Engine::Yahoo), PagingKind::PageValue);
}

TEST(EngineCatalogue, NextPageRequestsFromTheResultCount)
{
    const std::pair<int, int> cases[]
        = { { 0, -1 }, { 1, 1 }, { 5, 1 }, { 10, 0 }, { 11, 1 }, { 20, 1 }, { 25, 2 }, { 200, 19 } };
    for (const auto& [count, requests] : cases)
        EXPECT_EQ(nextPageRequests(count), requests) << count;
}

TEST(EngineCatalogue, OnlyPlanetSearchAndThunderstoneHaveFixedDataFiles)
{
    for (Engine e : kAllEngines) {
        const auto name = fixedDataFileName(e);
        if (e == Engine::PlanetSearch)
            EXPECT_EQ(name, "planetsearch");
        else if (e == Engine::Thunderstone)
            EXPECT_EQ(name, "thunderstone");
        else
            EXPECT_FALSE(name);
    }
}

} // namespace
