// Word lists and query texts built from the criteria boxes.
#include "verify/Criteria.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

struct QueryCase {
    const char* name;
    std::string primaryBox;
    Lines primary;
    std::string query;
    std::string quoted;
};

class QueryTextTest : public ::testing::TestWithParam<QueryCase>
{
};

TEST_P(QueryTextTest, BuildsPrimaryListAndBothQueryTexts)
{
    const QueryCase& c = GetParam();
    const WordLists lists = BuildWordLists(c.primaryBox, "", "");
    EXPECT_EQ(lists.primary, c.primary);
    EXPECT_EQ(lists.queryText, c.query);
    EXPECT_EQ(lists.quotedQueryText, c.quoted);
}

INSTANTIATE_TEST_SUITE_P(Criteria, QueryTextTest,
    ::testing::Values(
        QueryCase { "QuotedPhrase", "solar panel\n\"wind turbine\"", { "solar panel", "\"wind turbine\"" },
            "solar+panel+\"wind+turbine\"", "solar+panel+%22wind+turbine%22" },
        QueryCase { "EmptyLineGivesTwoPlusSigns", "red\n\nblue\n", { "red", "", "blue" }, "red++blue", "red++blue" },
        QueryCase { "DoubleBlankGivesTwoPlusSigns", "a  b", { "a  b" }, "a++b", "a++b" },
        QueryCase { "OnlyALineBreak", "\n", { "" }, "", "" }, QueryCase { "EmptyBox", "", {}, "", "" },
        QueryCase { "CrLfAndTrailingBreak", "one\r\ntwo\r\n", { "one", "two" }, "one+two", "one+two" },
        QueryCase { "BlankLineStays", "x\n   \ny", { "x", "   ", "y" }, "x+++++y", "x+++++y" },
        QueryCase { "NothingElseEscaped", "a&b%c+d \xE9", { "a&b%c+d \xE9" }, "a&b%c+d+\xE9", "a&b%c+d+\xE9" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaLists, SecondaryAndExclusionDropEmptyLinesButKeepBlankOnes)
{
    const WordLists lists = BuildWordLists("p", "\nfirst\n\n  \nsecond\n", "a\r\n\r\nb");
    EXPECT_EQ(lists.secondary, (Lines { "first", "  ", "second" }));
    EXPECT_EQ(lists.exclusion, (Lines { "a", "b" }));
}

TEST(CriteriaLists, DuplicatesAndOrderKept)
{
    const WordLists lists = BuildWordLists("b\na\nb", "z\ny\nz", "");
    EXPECT_EQ(lists.primary, (Lines { "b", "a", "b" }));
    EXPECT_EQ(lists.secondary, (Lines { "z", "y", "z" }));
}

TEST(CriteriaLists, LinesAreCutAtTheirLimit)
{
    const std::string longLine(kCriterionMaxLength + 10, 'q');
    const WordLists lists = BuildWordLists(longLine + "\nshort", longLine, "");
    ASSERT_EQ(lists.primary.size(), 2u);
    EXPECT_EQ(lists.primary[0].size(), kCriterionMaxLength);
    EXPECT_EQ(lists.primary[1], "short");
    ASSERT_EQ(lists.secondary.size(), 1u);
    EXPECT_EQ(lists.secondary[0].size(), kCriterionMaxLength);
}

} // namespace
} // namespace orv
