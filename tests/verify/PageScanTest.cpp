// The three scans, the matching rule and the description capture.
#include "verify/PageScan.h"

#include "core/Errors.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

using namespace std::string_literals;

PageText page(std::string_view bytes)
{
    return PageText::fromBytes(bytes);
}

struct MatchCase {
    const char* name;
    std::string criterion; // as typed in the box
    std::string pageBytes;
    bool primaryFound; // quotes removed before matching
    bool secondaryFound; // quotes kept
};

class MatchRuleTest : public ::testing::TestWithParam<MatchCase>
{
};

TEST_P(MatchRuleTest, PrimaryAndSecondaryAgreeWithTheRule)
{
    const MatchCase& c = GetParam();
    const PageText p = page(c.pageBytes);
    EXPECT_EQ(ScanPrimary(p, { c.criterion }, MatchMode::Any), c.primaryFound);
    EXPECT_EQ(ScanSecondary(p, { c.criterion }, MatchMode::Any), c.secondaryFound);
    EXPECT_EQ(ScanForExclusion(p, { c.criterion }), c.secondaryFound);
}

INSTANTIATE_TEST_SUITE_P(PageScan, MatchRuleTest,
    ::testing::Values(MatchCase { "QuotedPhraseFoundByPrimaryOnly", "\"red apple\"", "Red Apple pie", true, false },
        MatchCase { "QuotedPhraseWithQuotesInPage", "\"red apple\"", "say \"RED apple\" now", true, true },
        MatchCase { "NoWordBoundaries", "cat", "CONCATENATE", true, true },
        MatchCase { "PhraseSplitOverLines", "red apple", "red\r\napple", false, false },
        MatchCase { "PhraseSplitOverCrOnly", "red apple", "red\rapple", false, false },
        MatchCase { "MarkupIsSearched", "href", "<a HREF=\"x\">y</a>", true, true },
        MatchCase { "BlanksCountLiterally", "red  apple", "red apple", false, false },
        MatchCase { "NulEndsThePage", "later", "first\0later"s, false, false },
        MatchCase { "TextBeforeNulIsKept", "first", "first\0later"s, true, true },
        MatchCase { "OnlyAsciiIsLowered", "\xC9t\xE9", "\xE9T\xE9", false, false },
        MatchCase { "HighBytesMatchThemselves", "\xC9t\xE9", "x\xC9T\xE9y", true, true },
        MatchCase { "OnlyQuotesIsEmptyForPrimary", "\"\"", "a \"\" b", false, true },
        MatchCase { "BlankCriterionIsAText", " ", "a b", true, true }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageScan, EmptyCriterionIsNeverFound)
{
    const PageText p = page("anything\n\nmore");
    EXPECT_FALSE(CriterionFound("", p));
    EXPECT_FALSE(ScanForExclusion(p, {}));
}

struct ModeCase {
    const char* name;
    Lines criteria;
    MatchMode mode;
    bool primaryPass;
    bool secondaryPass;
};

class ModeTest : public ::testing::TestWithParam<ModeCase>
{
};

TEST_P(ModeTest, AnyAndAll)
{
    const ModeCase& c = GetParam();
    const PageText p = page("<html><body>\nalpha beta\ngamma\n</body></html>\n");
    EXPECT_EQ(ScanPrimary(p, c.criteria, c.mode), c.primaryPass);
    EXPECT_EQ(ScanSecondary(p, c.criteria, c.mode), c.secondaryPass);
}

INSTANTIATE_TEST_SUITE_P(PageScan, ModeTest,
    ::testing::Values(ModeCase { "AnyOneFound", { "zeta", "gamma" }, MatchMode::Any, true, true },
        ModeCase { "AnyNoneFound", { "zeta", "omega" }, MatchMode::Any, false, false },
        ModeCase { "AllEveryFound", { "alpha", "gamma" }, MatchMode::All, true, true },
        ModeCase { "AllOneMissing", { "alpha", "zeta" }, MatchMode::All, false, false },
        ModeCase { "AllSameLineTwiceCountsTwice", { "beta", "beta" }, MatchMode::All, true, true },
        ModeCase { "AllEmptyLineFailsEveryPage", { "alpha", "", "gamma" }, MatchMode::All, false, false },
        ModeCase { "AnyEmptyLineChangesNothing", { "alpha", "", "gamma" }, MatchMode::Any, true, true },
        ModeCase { "EmptyListAny", {}, MatchMode::Any, false, true },
        ModeCase { "EmptyListAll", {}, MatchMode::All, false, true },
        ModeCase { "OnlyAnEmptyLine", { "" }, MatchMode::Any, false, false }),
    [](const auto& info) { return std::string(info.param.name); });

struct CaptureCase {
    const char* name;
    std::string pageBytes;
    std::optional<std::string> description;
};

class CaptureTest : public ::testing::TestWithParam<CaptureCase>
{
};

TEST_P(CaptureTest, StoresTitleOrMetaDescription)
{
    EXPECT_EQ(CaptureDescription(page(GetParam().pageBytes)), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(PageScan, CaptureTest,
    ::testing::Values(CaptureCase { "TitleInCapitals", "<HTML>\n<TITLE>Acme Tools</TITLE>\n", "Acme Tools" },
        CaptureCase { "TitleKeepsLetterCase", "<head><title>MiXed CaSe</title></head>", "MiXed CaSe" },
        CaptureCase { "TitleClosedOnNextLine", "<title>Acme Tools\n</title>", "" },
        CaptureCase { "OnlyFirstTitleLineCounts", "<title>open\n<title>Second</title>", "" },
        CaptureCase { "TitleWithAttributesKeepsTheTagRest", "<title lang=en>Hi</title>", "lang=en>Hi" },
        CaptureCase { "NoTitleNoMeta", "<p>plain</p>", std::nullopt },
        // The content used to lose its last real character ("Fine tool").
        CaptureCase { "MetaEndsAtItsClosingQuote",
            "<title>Acme</title>\n<meta name=\"description\" content=\"Fine tools\">", "Fine tools" },
        CaptureCase { "MetaInCapitalsIsFound", "<META NAME=\"DESCRIPTION\" CONTENT=\"Fine tools\">", "Fine tools" },
        CaptureCase { "MetaBeforeMoreMarkup", "<meta name=\"description\" content=\"Fine tools\"><link x=\"y\">",
            "Fine tools" },
        CaptureCase { "MetaEmptyContent", "<title>T</title><meta name=\"description\" content=\"\">", "" },
        CaptureCase { "MetaWithoutClosingQuoteLosesLastThreeCharacters",
            "<meta name=\"description\" content=\"Fine tools, more", "Fine tools, m" },
        CaptureCase {
            "MetaWithoutQuotesIsIgnored", "<title>T</title>\n<meta name=description content=\"Fine tools\">", "T" },
        CaptureCase { "MetaTooShortStoresEmpty", "<title>T</title>\n<meta name=\"description\" content=\"ab", "" },
        CaptureCase {
            "MetaFromPositionInsideLine", "  <meta name=\"description\" content=\"Good stuff\" >", "Good stuff" },
        CaptureCase { "OnlyFirstMetaLineCounts",
            "<meta name=\"description\" content=\"A\">\n<meta name=\"description\" content=\"Longer\">", "A" }),
    [](const auto& info) { return std::string(info.param.name); });

struct VerdictCase {
    const char* name;
    std::string primary;
    std::string secondary;
    std::string exclusion;
    ScanModes modes;
    bool excluded;
    bool approved;
    bool primaryScanned;
};

class VerdictTest : public ::testing::TestWithParam<VerdictCase>
{
};

TEST_P(VerdictTest, RunsTheScansInOrder)
{
    const VerdictCase& c = GetParam();
    const PageText p = page("<title>Garden Shop</title>\nFresh apples and pears\nNo bananas today\n");
    const ScanVerdict v = ScanPage(p, BuildWordLists(c.primary, c.secondary, c.exclusion), c.modes);
    EXPECT_EQ(v.excluded, c.excluded);
    EXPECT_EQ(v.approved(), c.approved);
    EXPECT_EQ(v.primaryScanned, c.primaryScanned);
    EXPECT_EQ(v.description.has_value(), c.primaryScanned);
    if (c.primaryScanned) {
        EXPECT_EQ(*v.description, "Garden Shop");
    }
}

constexpr ScanModes kAny { MatchMode::Any, MatchMode::Any };
constexpr ScanModes kAllSecondary { MatchMode::Any, MatchMode::All };

INSTANTIATE_TEST_SUITE_P(PageScan, VerdictTest,
    ::testing::Values(VerdictCase { "PassesWithEmptySecondary", "apples", "", "", kAny, false, true, true },
        VerdictCase { "EmptySecondaryUnderAll", "apples", "", "", kAllSecondary, false, true, true },
        VerdictCase { "SecondaryFails", "apples", "cherries", "", kAny, false, false, true },
        VerdictCase { "SecondaryAllNeedsEvery", "apples", "pears\ncherries", "", kAllSecondary, false, false, true },
        VerdictCase { "PrimaryFails", "cherries", "", "", kAny, false, false, true },
        VerdictCase { "ExclusionWinsOverEverything", "apples", "pears", "banana", kAny, true, false, false },
        VerdictCase { "ExclusionNotFound", "apples", "pears", "kiwi", kAny, false, true, true }),
    [](const auto& info) { return std::string(info.param.name); });

// The page file is read line by line; its verdict must be the one the whole
// page gives, wherever the deciding lines stand.
TEST(PageScan, FileScannedLineByLineGivesTheVerdictOfTheWholePage)
{
    const std::string filler(100000, 'f');
    const std::string pages[] = {
        "<title>Garden Shop</title>\nFresh apples and pears\nNo bananas today\n",
        filler + "\r\n<TITLE>Late</TITLE>\r\napples\r" + filler + "\rpears",
        "apples\n<meta name=\"description\" content=\"Orchard\">\n" + filler + "\nbanana\n",
        "<title>T</title>\napples and pears\0banana after the end"s,
        "",
    };
    const WordLists lists[] = {
        BuildWordLists("apples", "pears", "banana"),
        BuildWordLists("apples\n\"pears\"", "", ""),
        BuildWordLists("kiwi", "", ""),
    };
    const ScanModes modes[] = { kAny, { MatchMode::All, MatchMode::All } };
    test::TempFolder folder;
    for (size_t p = 0; p < std::size(pages); ++p) {
        folder.write("page", pages[p]);
        const PageText whole = page(pages[p]);
        for (const WordLists& l : lists)
            for (const ScanModes& m : modes) {
                // The scans one after the other over the whole page, in
                // their fixed order.
                const bool excluded = ScanForExclusion(whole, l.exclusion);
                const bool primary = !excluded && ScanPrimary(whole, l.primary, m.primary);
                const bool secondary = primary && ScanSecondary(whole, l.secondary, m.secondary);
                const auto description = excluded ? std::nullopt : CaptureDescription(whole);

                const ScanVerdict got = ScanPageFile(folder.file("page"), l, m);
                EXPECT_EQ(got.excluded, excluded) << p;
                EXPECT_EQ(got.primaryPass, primary) << p;
                EXPECT_EQ(got.secondaryPass, secondary) << p;
                EXPECT_EQ(got.description, description) << p;
            }
    }
    EXPECT_THROW(ScanPageFile(folder.file("missing"), lists[0], kAny), EInOutError);
}

} // namespace
} // namespace orv
