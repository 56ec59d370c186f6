// The approved URL list and its descriptions stay paired by position.
#include "verify/ApprovedList.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

struct Step {
    std::string url;
    std::string description;
};

struct PairingCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> urls; // the approved list afterwards
    std::vector<std::string> descriptions; // the descriptions afterwards
};

class ApprovedPairingTest : public ::testing::TestWithParam<PairingCase>
{
};

TEST_P(ApprovedPairingTest, DescriptionTakesThePlaceOfItsUrl)
{
    UrlList urls;
    std::vector<std::string> descriptions;
    for (const Step& s : GetParam().steps)
        AddApprovedUrl(urls, descriptions, s.url, s.description);
    EXPECT_EQ(urls.records(), GetParam().urls);
    EXPECT_EQ(descriptions, GetParam().descriptions);
}

INSTANTIATE_TEST_SUITE_P(Approved, ApprovedPairingTest,
    ::testing::Values(PairingCase { "InSortedOrder", { { "http://a.test", "A" }, { "http://b.test", "B" } },
                          { "http://a.test", "http://b.test" }, { "A", "B" } },
        // Appending would have given c's description to a.
        PairingCase { "ApprovedOutOfOrder",
            { { "http://c.test", "C" }, { "http://a.test", "A" }, { "http://b.test", "B" } },
            { "http://a.test", "http://b.test", "http://c.test" }, { "A", "B", "C" } },
        PairingCase { "AlreadyPresentAddsNothing",
            { { "http://a.test", "A" }, { "http://b.test", "B" }, { "http://a.test", "A again" } },
            { "http://a.test", "http://b.test" }, { "A", "B" } },
        PairingCase { "LetterCaseVariantIsTheSameUrl",
            { { "http://a.test/X", "first" }, { "http://A.TEST/x", "second" } }, { "http://a.test/X" }, { "first" } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApprovedPairing, ShortDescriptionListIsFilledUpBeforeInserting)
{
    // Two URLs pasted without descriptions, then a page approved after them.
    UrlList urls;
    urls.add("http://a.test");
    urls.add("http://b.test");
    std::vector<std::string> descriptions;
    const UrlList::AddResult r = AddApprovedUrl(urls, descriptions, "http://c.test", "C");
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.index, 2);
    EXPECT_EQ(descriptions, (std::vector<std::string> { "No Description", "No Description", "C" }));
}

} // namespace
} // namespace orv
