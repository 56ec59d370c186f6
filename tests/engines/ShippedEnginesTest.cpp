// Each shipped definition reads a page of its engine's markup: the links (as
// the run keeps them), the titles, the claimed count and the next page.
#include "EngineTestData.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace orv::test
{
namespace
{

struct ShippedCase {
    const char* engine;
    const char* page;
    int pageno;
    std::vector<std::pair<std::string, std::string>> links; // url, title
    std::optional<long long> claimed;
    const char* nextUrl; // nullptr: no next page
    const char* nextBody = "";
};

std::ostream& operator<<(std::ostream& os, const ShippedCase& c)
{
    return os << c.engine << " " << c.page;
}

class ShippedEngineReads : public ::testing::TestWithParam<ShippedCase>
{
};

TEST_P(ShippedEngineReads, LinksTitlesCountAndNextPage)
{
    const ShippedCase& c = GetParam();
    const EngineDefinition& def = ShippedEngine(c.engine);
    const EngineRequest asked = PageRequest(def, "orvalen", c.pageno);
    const EngineAnswer a = ReadAnswer(def, 200, "", ReadEngineFixture(c.page), asked.url, asked, c.pageno, "orvalen");
    ASSERT_EQ(a.problem, "");
    EXPECT_FALSE(a.blocked);
    std::vector<std::pair<std::string, std::string>> got;
    for (const AnswerLink& l : a.links)
        got.emplace_back(l.url, l.title);
    EXPECT_EQ(got, c.links);
    EXPECT_EQ(a.claimed, c.claimed);
    if (!c.nextUrl) {
        EXPECT_FALSE(a.next.has_value()) << a.next->url;
        return;
    }
    ASSERT_TRUE(a.next.has_value());
    EXPECT_EQ(a.next->url, c.nextUrl);
    EXPECT_EQ(a.next->body, c.nextBody);
    EXPECT_EQ(HeaderValue(*a.next, "User-Agent"), kDefinedEngineUserAgent);
}

INSTANTIATE_TEST_SUITE_P(Engines, ShippedEngineReads,
    ::testing::Values(ShippedCase { "DuckDuckGo", "duckduckgo.html", 1,
                          { { "https://example.org/caf%C3%A9?a=1&b=2", "Café Orvalen notes" },
                              { "https://direct.example.net/page", "Direct link" } },
                          std::nullopt, "https://html.duckduckgo.com/html/",
                          "q=caf%C3%A9+orvalen&s=10&nextParams=&v=l&o=json&dc=11&api=d.js&vqd=4-123&kl=wt-wt" },
        // Page 2 has a Previous and a Next form; only Next goes on.
        ShippedCase { "DuckDuckGo", "duckduckgo-page2.html", 2, { { "https://page2.example.org/", "Second page" } },
            std::nullopt, "https://html.duckduckgo.com/html/", "q=orvalen&s=25" },
        ShippedCase { "Bing", "bing.html", 1,
            { { "https://example.org/orvalen?x=1&y=2", "Orvalen on example.org" },
                { "https://second.example.com/path", "Second & plain" } },
            38500, "https://www.bing.com/search?q=orvalen&first=11&FORM=PERE" },
        ShippedCase { "Mojeek", "mojeek.html", 1,
            { { "https://mojeek.example.org/one", "Mojeek first" }, { "http://mojeek.example.org/", "Mojeek second" } },
            5280016, "https://www.mojeek.com/search?q=orvalen&s=11" },
        ShippedCase { "Brave", "brave.html", 1,
            { { "https://brave.example.org/a", "Brave first" }, { "https://brave.example.org/b", "Brave second" } },
            std::nullopt, "https://search.brave.com/search?q=orvalen&source=web&offset=1" },
        // Brave serves ten pages at most.
        ShippedCase { "Brave", "brave.html", 10,
            { { "https://brave.example.org/a", "Brave first" }, { "https://brave.example.org/b", "Brave second" } },
            std::nullopt, nullptr },
        ShippedCase { "Wikipedia", "wikipedia.json", 1,
            { { "https://en.wikipedia.org/wiki/Meta_search_engine", "Meta search engine" },
                { "https://en.wikipedia.org/wiki/Search_engine", "Search engine" } },
            4521,
            "https://en.wikipedia.org/w/"
            "api.php?action=query&list=search&format=json&srsearch=orvalen&sroffset=20&srlimit=20" },
        // Without `continue` the search has no more pages.
        ShippedCase { "Wikipedia", "wikipedia-last.json", 2,
            { { "https://en.wikipedia.org/wiki/Last_one", "Last one" } }, 21, nullptr },
        ShippedCase { "Hacker News", "hackernews.json", 1,
            { { "https://hn.example.org/a", "Show HN: Orvalen" },
                { "https://news.ycombinator.com/item?id=222", "Ask HN: meta-search?" },
                { "https://news.ycombinator.com/item?id=333", "No url key" } },
            1587, "https://hn.algolia.com/api/v1/search?query=orvalen&page=1&hitsPerPage=20" },
        ShippedCase { "Crossref", "crossref.json", 1,
            { { "https://doi.org/10.1000/xyz1", "Searching the web" },
                { "https://doi.org/10.1000/xyz2", "Second work" } },
            98765, "https://api.crossref.org/works?query=orvalen&rows=20&offset=20" },
        ShippedCase { "arXiv", "arxiv.xml", 1,
            { { "http://arxiv.org/abs/2101.00001v1", "Meta-search over engines" },
                { "http://arxiv.org/abs/2101.00002v2", "Second paper" } },
            1234, "https://export.arxiv.org/api/query?search_query=all:orvalen&start=20&max_results=20" },
        ShippedCase { "Wiby", "wiby.json", 1,
            { { "http://wiby.example.org/", "Wiby first" }, { "https://wiby.example.org/two", "Wiby second" } },
            std::nullopt, "https://wiby.me/json/?q=orvalen&p=2" },
        ShippedCase { "SearXNG", "searxng.json", 1,
            { { "https://sx.example.org/1", "SearXNG first" }, { "https://sx.example.org/2", "SearXNG second" } }, 0,
            "http://127.0.0.1:8888/search?q=orvalen&format=json&pageno=2" }));

struct BlockedCase {
    const char* engine;
    int status;
    const char* page; // empty: no body
    const char* reason;
};

std::ostream& operator<<(std::ostream& os, const BlockedCase& c)
{
    return os << c.engine << " " << c.status;
}

class ShippedEngineBlocked : public ::testing::TestWithParam<BlockedCase>
{
};

TEST_P(ShippedEngineBlocked, SaysWhyAndKeepsNoLinks)
{
    const BlockedCase& c = GetParam();
    const EngineDefinition& def = ShippedEngine(c.engine);
    const EngineRequest asked = FirstRequest(def, "orvalen");
    const std::string body = *c.page ? ReadEngineFixture(c.page) : std::string();
    const EngineAnswer a = ReadAnswer(def, c.status, "", body, asked.url, asked, 2, "orvalen");
    EXPECT_TRUE(a.blocked);
    EXPECT_EQ(a.reason, c.reason);
    EXPECT_TRUE(a.links.empty());
    EXPECT_FALSE(a.next.has_value());
}

INSTANTIATE_TEST_SUITE_P(Engines, ShippedEngineBlocked,
    ::testing::Values(BlockedCase { "DuckDuckGo", 200, "duckduckgo-challenge.html", "challenge page" },
        BlockedCase { "Bing", 200, "bing-captcha.html", "challenge page" },
        BlockedCase { "Mojeek", 403, "mojeek.html", "HTTP 403" }, BlockedCase { "Brave", 429, "", "HTTP 429" },
        BlockedCase { "SearXNG", 403, "", "HTTP 403" }));

TEST(ShippedEngines, LoadWithoutProblemsAndOnlyTheOwnInstanceIsOff)
{
    std::string problems;
    for (const DefinitionProblem& p : Shipped().problems)
        problems += DescribeProblem(p) + "\n";
    EXPECT_EQ(problems, "");
    std::vector<std::string> off;
    for (const EngineDefinition& d : Shipped().engines)
        if (d.disabled)
            off.push_back(d.name);
    EXPECT_EQ(Shipped().engines.size(), 10u);
    EXPECT_EQ(off, std::vector<std::string> { "SearXNG" });
}

} // namespace
} // namespace orv::test
