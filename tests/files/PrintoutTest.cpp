#include "files/Printout.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(PrintoutLines, BlocksByChoice)
{
    const Lines master = { "http://a,,,,,0,,,,,0", "http://b,,,,,1,,,,,1" };
    const Lines approved = { "http://b" };
    const Lines raw = { "UnVerified Search Engine Returns", master[0], master[1], "", "2 total Urls", "" };
    const Lines filtered = { "Verified Search Engine Returns", "http://b", "", "1 total Urls" };
    Lines both = raw;
    both.insert(both.end(), filtered.begin(), filtered.end());
    EXPECT_EQ(printoutLines(PrintChoice::Raw, master, approved), raw);
    EXPECT_EQ(printoutLines(PrintChoice::Filtered, master, approved), filtered);
    EXPECT_EQ(printoutLines(PrintChoice::Both, master, approved), both);
    EXPECT_EQ(printoutLines(PrintChoice::Filtered, master, {}),
        (Lines { "Verified Search Engine Returns", "", "0 total Urls" }));
}

namespace
{

// Ten units per character.
int fixedWidth(std::string_view text)
{
    return static_cast<int>(text.size()) * 10;
}

std::vector<std::vector<std::pair<std::string, int>>> flatten(const std::vector<PrintedPage>& pages)
{
    std::vector<std::vector<std::pair<std::string, int>>> out;
    for (const auto& page : pages) {
        out.emplace_back();
        for (const auto& line : page)
            out.back().emplace_back(line.text, line.y);
    }
    return out;
}

} // namespace

TEST(PrintoutLayout, BreaksThePageWhenTwoMoreLinesWouldNotFit)
{
    // Lines are 12 high (10 + 2). After the line at y=36 the position is 48,
    // which lies below 70 - 24 = 46: the next line starts a page.
    const PageMetrics m { 10, 70, 1000 };
    const auto pages = flatten(layOutPrintout({ "a", "b", "c", "d", "e" }, m, fixedWidth));
    using P = std::vector<std::pair<std::string, int>>;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], (P { { "a", 0 }, { "b", 12 }, { "c", 24 }, { "d", 36 } }));
    EXPECT_EQ(pages[1], (P { { "e", 0 } }));
}

TEST(PrintoutLayout, EmptyLinesMoveByTheTextHeightAndBreakOnlyPastThePage)
{
    const PageMetrics m { 10, 30, 1000 };
    // "a" at 0 -> 12 (12 > 30-24=6: break). Page 2: "" at 0 -> 10, "" at 10 -> 20,
    // "" at 20 -> 30 (not past 30), "" at 30 -> 40 > 30: break. Page 3: "b".
    const auto pages = flatten(layOutPrintout({ "a", "", "", "", "", "b" }, m, fixedWidth));
    using P = std::vector<std::pair<std::string, int>>;
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], (P { { "a", 0 } }));
    EXPECT_EQ(pages[1], (P { { "", 0 }, { "", 10 }, { "", 20 }, { "", 30 } }));
    EXPECT_EQ(pages[2], (P { { "b", 0 } }));
}

TEST(PrintoutLayout, NoBlankSheetAfterTheLastLine)
{
    const PageMetrics m { 10, 20, 1000 };
    EXPECT_EQ(layOutPrintout({ "a" }, m, fixedWidth).size(), 1u);
    EXPECT_TRUE(layOutPrintout({}, m, fixedWidth).empty());
}

TEST(PrintoutLayout, WideLineContinuesAfterTheLastCharacterThatFits)
{
    const PageMetrics m { 10, 1000, 35 };
    const auto pages = flatten(layOutPrintout({ "abcdefgh", "ij" }, m, fixedWidth));
    using P = std::vector<std::pair<std::string, int>>;
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], (P { { "abc", 0 }, { "def", 12 }, { "gh", 24 }, { "ij", 36 } }));
}

TEST(PrintoutLayout, PageNarrowerThanOneCharacterStillProgresses)
{
    const PageMetrics m { 10, 1000, 5 };
    const auto pages = layOutPrintout({ "abc" }, m, fixedWidth);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].size(), 3u);
}
