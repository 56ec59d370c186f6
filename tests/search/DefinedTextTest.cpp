// The text rules around engines defined as data: URLs moved by engines.txt
// and resolved against an answer, the report line, the settings file.
#include "files/DefinedEngineSettings.h"
#include "search/DefinedEngineRun.h"
#include "search/EngineHosts.h"
#include "search/SearchCatalogue.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

TEST(DefinedText, UrlsMoveToAnotherOriginAndResolveAgainstTheAnswer)
{
    const struct {
        const char* url;
        const char* origin;
        const char* expected;
    } moves[] = {
        { "https://html.duckduckgo.com/html/", "http://127.0.1.1:80", "http://127.0.1.1:80/html/" },
        { "https://www.bing.com/search?q=a&first=11", "http://h:1", "http://h:1/search?q=a&first=11" },
        { "https://wiby.me?q=a", "http://h:1", "http://h:1?q=a" },
        { "https://wiby.me", "http://h:1", "http://h:1/" },
        { "https://wiby.me/json/", "", "https://wiby.me/json/" },
    };
    for (const auto& m : moves)
        EXPECT_EQ(RehostUrl(m.url, m.origin), m.expected) << m.url;

    const struct {
        const char* location;
        const char* expected;
    } resolved[] = {
        { "https://other.example/x", "https://other.example/x" },
        { "//cdn.example/y", "http://cdn.example/y" },
        { "/captcha?x=1", "http://h:1/captcha?x=1" },
        { "next.html", "http://h:1/a/next.html" },
    };
    for (const auto& r : resolved)
        EXPECT_EQ(ResolveAgainst("http://h:1/a/b.html?q=1", r.location), r.expected) << r.location;
}

TEST(DefinedText, ReportLinesTellFoundBlockedOrFailed)
{
    DefinedOutcome outcome;
    outcome.pages = 2;
    outcome.links.resize(1);
    EXPECT_EQ(DefinedReportLine("Wiby", outcome), "Wiby found\t\t\t1 url") << "no count claimed: the links";
    outcome.claimed = 0;
    EXPECT_EQ(DefinedReportLine("SearXNG", outcome), "SearXNG found\t\t\t1 url") << "a claim of none beside a link";
    outcome.links.clear();
    EXPECT_EQ(DefinedReportLine("SearXNG", outcome), "SearXNG found\t\t\t0 urls");
    outcome.claimed = 38500;
    EXPECT_EQ(DefinedReportLine("Bing", outcome), "Bing found\t\t\t38500 urls");
    outcome.failure = "timed out after 30 s";
    EXPECT_EQ(DefinedReportLine("Bing", outcome), "Bing found\t\t\t38500 urls") << "pages were read";
    outcome.pages = 0;
    EXPECT_EQ(DefinedReportLine("Bing", outcome), "Bing failed\t\t\ttimed out after 30 s");
    outcome.blocked = true;
    outcome.reason = "challenge page";
    EXPECT_EQ(DefinedReportLine("Bing", outcome), "Bing blocked\t\t\tchallenge page");
}

TEST(DefinedText, SettingsFileKeepsChoicesAndSkipsWhatItCannotRead)
{
    const auto read = DefinedSettingsFromLines({ "Bing=true,30", "Hacker News=false,500", "Wiby=true,x",
        "Mojeek=TRUE,20", "=true,5", "no equals", "A=b=true,0" });
    ASSERT_EQ(read.size(), 4u);
    EXPECT_TRUE(read.at("bing").asked);
    EXPECT_EQ(read.at("bing").maximum, 30);
    EXPECT_EQ(read.at("hacker news").maximum, 200) << "kept within its bounds";
    EXPECT_EQ(read.at("wiby").maximum, kDefinedMaxDefault) << "not a number";
    EXPECT_EQ(read.at("a=b").maximum, 1) << "the name may hold =";
    EXPECT_EQ(read.count("mojeek"), 0u) << "flags are exactly true or false";
    EXPECT_EQ(DefinedSettingsToLines({ { "Hacker News", true, 40 } }), (Lines { "Hacker News=true,40" }));

    EXPECT_TRUE(DefaultDefinedSetting("Bing", false, true).asked) << "a new user's folder asks it";
    EXPECT_FALSE(DefaultDefinedSetting("SearXNG", true, true).asked) << "off until its URL is set";
    EXPECT_FALSE(DefaultDefinedSetting("Bing", false, false).asked) << "an existing folder keeps its choices";
}

TEST(DefinedText, TheCatalogueListsDrawnEnginesFirstAndRefusesTheirNames)
{
    DefinedEngines defined;
    defined.engines.resize(3);
    defined.engines[0].name = "Bing";
    defined.engines[1].name = "excite";
    defined.engines[1].file = "mine.yml";
    defined.engines[1].line = 4;
    defined.engines[2].name = "Wiby";
    const SearchCatalogue catalogue(defined);
    ASSERT_EQ(catalogue.entries().size(), 12u);
    EXPECT_EQ(catalogue.entries()[0].name, "Infoseek") << "search order";
    EXPECT_EQ(catalogue.entries()[10].name, "Bing");
    EXPECT_EQ(catalogue.entries()[11].id, definedEngineId(1));
    EXPECT_EQ(catalogue.find("WIBY")->name, "Wiby");
    EXPECT_TRUE(catalogue.find("excite")->drawn);
    ASSERT_EQ(catalogue.problems().size(), 1u);
    EXPECT_EQ(catalogue.problems()[0].line, 4);
    EXPECT_EQ(CatalogueListLine("Bing", false, true, "https://www.bing.com", "/x/bing.yml"),
        "Bing\tdefined\tasked\thttps://www.bing.com\t/x/bing.yml");
    EXPECT_EQ(UrlOrigin("https://www.bing.com/search?q={query}"), "https://www.bing.com");
}

} // namespace
} // namespace orv
