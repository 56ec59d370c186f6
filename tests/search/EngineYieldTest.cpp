// The engine yield: which engine brought which URL, and the counts that
// must add up for a user to trust them.
#include "search/EngineYield.h"
#include "search/UrlList.h"
#include "search/UrlRecord.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

// Offers links the way a search run does: into a master list, recording
// whether each was new.
struct SearchScenario {
    UrlList master;
    EngineYield yield;

    void offer(Engine e, const std::string& url)
    {
        const bool added = master.add(makeMasterRecord(url)).added;
        yield.linkTaken(e, url, added);
    }
};

TEST(EngineYield, CountsAddUpOverOverlappingEngines)
{
    SearchScenario s;
    s.yield.startSearch();
    s.yield.engineAsked(Engine::Excite);
    s.yield.engineAsked(Engine::Infoseek);
    s.yield.engineAsked(Engine::Snap); // asked, but brought nothing
    s.yield.reportLine(Engine::Infoseek, "InfoSeek found\t\t\t1234 urls");
    s.yield.pageFetched(Engine::Infoseek);
    s.offer(Engine::Infoseek, "http://a.example/one");
    s.offer(Engine::Infoseek, "http://b.example/two");
    s.offer(Engine::Infoseek, "http://a.example/one"); // the same engine twice: a link, not new
    s.yield.pageFetched(Engine::Excite);
    s.offer(Engine::Excite, "http://A.EXAMPLE/ONE"); // a letter-case variant is the same URL
    s.offer(Engine::Excite, "http://c.example/three");

    const auto rows = s.yield.rows();
    ASSERT_EQ(rows.size(), 3u); // in search order: Infoseek, Excite, Snap
    EXPECT_EQ(rows[0].engine, Engine::Infoseek);
    EXPECT_EQ(rows[1].engine, Engine::Excite);
    EXPECT_EQ(rows[2].engine, Engine::Snap);
    EXPECT_EQ(rows[0].claimed, "1234");
    EXPECT_EQ(rows[1].claimed, "");
    EXPECT_EQ(rows[0].links, 3);
    EXPECT_EQ(rows[0].newUrls, 2);
    EXPECT_EQ(rows[1].links, 2);
    EXPECT_EQ(rows[1].newUrls, 1);
    int allNew = 0;
    for (const auto& row : rows) {
        EXPECT_LE(row.newUrls, row.links);
        allNew += row.newUrls;
    }
    EXPECT_EQ(allNew, s.master.count());

    EXPECT_EQ(s.yield.enginesOf("http://a.example/one"), (std::vector<Engine> { Engine::Infoseek, Engine::Excite }));
    EXPECT_EQ(s.yield.enginesOf("http://c.example/three"), (std::vector<Engine> { Engine::Excite }));
    EXPECT_TRUE(s.yield.enginesOf("http://pasted.example/").empty());

    // Outcomes are recounted, not added: a second count gives the same.
    const std::vector<RecordOutcome> outcomes { { "http://a.example/one", true, true },
        { "http://b.example/two", true, false }, { "http://c.example/three", false, false } };
    s.yield.countOutcomes(outcomes);
    s.yield.countOutcomes(outcomes);
    const auto counted = s.yield.rows();
    EXPECT_EQ(counted[0].verified, 2);
    EXPECT_EQ(counted[0].approved, 1);
    EXPECT_EQ(counted[1].verified, 1);
    EXPECT_EQ(counted[1].approved, 1);
    EXPECT_EQ(counted[2].verified, 0);

    s.yield.clear();
    EXPECT_FALSE(s.yield.searched());
    EXPECT_TRUE(s.yield.rows().empty());
    EXPECT_TRUE(s.yield.enginesOf("http://a.example/one").empty());
}

TEST(EngineYield, ClaimedCountIsWhatTheReportLineShows)
{
    EXPECT_EQ(claimedCountText("AltaVista found\t\t\t1234 urls"), "1234");
    EXPECT_EQ(claimedCountText("Webcrawler found\t\t\t1 url"), "1");
    EXPECT_EQ(claimedCountText("Thunderstone found\t\t1,234 urls"), "1,234");
    EXPECT_EQ(claimedCountText("PlanetSearch found\t\t                77 urls"), "77");
    EXPECT_EQ(claimedCountText("Magellan found\t\t\tabout 12 urls"), "about 12");
    EXPECT_EQ(claimedCountValue("1,234"), 1234);
    EXPECT_EQ(claimedCountValue("0"), 0);
    EXPECT_FALSE(claimedCountValue("about 12"));
    EXPECT_FALSE(claimedCountValue(""));
    EXPECT_FALSE(claimedCountValue("99999999999999999999"));
}

} // namespace
} // namespace orv
