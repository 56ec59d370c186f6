// How one URL of a retrieval run ends: the outcome table as data.
#include "verify/UrlOutcome.h"

#include "verify/Criteria.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

struct OutcomeCase {
    const char* name;
    bool skipped;
    bool timedOut;
    std::string dataFile; // before the scan
    bool aborted;
    std::string dataFileAfterScan; // only read for a Document
    UrlOutcome outcome;
    std::optional<std::string> status;
    bool tick;
    std::optional<std::string> title;
    int checkedDelta;
};

class OutcomeTest : public ::testing::TestWithParam<OutcomeCase>
{
};

TEST_P(OutcomeTest, FollowsTheOutcomeTable)
{
    const OutcomeCase& c = GetParam();
    UrlOutcome outcome = ClassifyUrlEnd(c.skipped, c.timedOut, c.dataFile, c.aborted);
    if (outcome == UrlOutcome::Document)
        outcome = AfterScan(c.dataFileAfterScan);
    EXPECT_EQ(outcome, c.outcome);
    const UrlOutcomeEffects e = EffectsOf(outcome, false);
    EXPECT_EQ(e.status, c.status);
    EXPECT_EQ(e.tick, c.tick);
    EXPECT_EQ(e.title, c.title);
    EXPECT_EQ(e.checkedDelta, c.checkedDelta);
    EXPECT_EQ(e.rawDelta, 0);
}

const std::string kPage = "/prog/data/index.html";
const std::string kMarker(kPageErrorMarker);

INSTANTIATE_TEST_SUITE_P(Retrieval, OutcomeTest,
    ::testing::Values(OutcomeCase { "TickedRowSkipped", true, false, "", false, "", UrlOutcome::Skipped, std::nullopt,
                          false, std::nullopt, 1 },
        OutcomeCase { "PageReadable", false, false, kPage, false, kPage, UrlOutcome::Verified, "Verified", true,
            "Site Verified", 1 },
        OutcomeCase { "PageUnreadable", false, false, kPage, false, kMarker, UrlOutcome::FileNotFound, "File Not Found",
            true, "File Not Found", 1 },
        OutcomeCase { "NoDocument", false, false, "", false, "", UrlOutcome::SiteNotFound, "Site Not Found", true,
            "Site Not Found", 0 },
        OutcomeCase { "TimedOutWithPartialPage", false, true, kPage, false, "", UrlOutcome::Timeout, "Timeout", false,
            "Site Timed Out", 0 },
        OutcomeCase { "TimedOutBeforeAnyByte", false, true, "", false, "", UrlOutcome::Timeout, "Timeout", false,
            "Site Timed Out", 0 },
        OutcomeCase { "AbortedAfterDocument", false, false, kPage, true, kPage, UrlOutcome::Aborted, std::nullopt,
            false, std::nullopt, 0 },
        OutcomeCase { "AbortedNoDocument", false, false, "", true, "", UrlOutcome::Aborted, std::nullopt, false,
            std::nullopt, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OutcomeSinglePage, ArrivedPageTakesOneOffTotalInsteadOfCountingChecked)
{
    for (UrlOutcome o : { UrlOutcome::Verified, UrlOutcome::FileNotFound }) {
        const UrlOutcomeEffects e = EffectsOf(o, true);
        EXPECT_EQ(e.rawDelta, -1);
        EXPECT_EQ(e.checkedDelta, 0);
        EXPECT_TRUE(e.tick);
    }
    EXPECT_EQ(EffectsOf(UrlOutcome::SiteNotFound, true).rawDelta, 0);
    EXPECT_EQ(EffectsOf(UrlOutcome::Timeout, true).rawDelta, 0);
}

// A page that did not arrive whole is thrown away and tried again next run;
// a time-out or a ticked row still decides first.
TEST(OutcomeBodyFailed, CutOffPageIsAnErrorThatStaysUnticked)
{
    EXPECT_EQ(ClassifyUrlEnd(false, false, "/prog/data/page", false, true), UrlOutcome::Error);
    EXPECT_EQ(ClassifyUrlEnd(false, false, "", false, true), UrlOutcome::Error);
    EXPECT_EQ(ClassifyUrlEnd(false, true, "/prog/data/page", false, true), UrlOutcome::Timeout);
    EXPECT_EQ(ClassifyUrlEnd(true, false, "", false, true), UrlOutcome::Skipped);
    for (const bool singlePage : { false, true }) {
        const UrlOutcomeEffects e = EffectsOf(UrlOutcome::Error, singlePage);
        EXPECT_EQ(e.status, "Error");
        EXPECT_FALSE(e.tick);
        EXPECT_EQ(e.title, "Site Error");
        EXPECT_EQ(e.checkedDelta, 0);
        EXPECT_EQ(e.rawDelta, 0);
    }
}

} // namespace
} // namespace orv
