#include "browse/ListEditing.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(ListEditing, DeleteQuestionBySelectionSize)
{
    EXPECT_EQ(deleteQuestion(1), "Are you sure you want to delete this item?");
    EXPECT_EQ(deleteQuestion(3), "Are you sure you want to delete these 3 items?");
    EXPECT_EQ(rowAfterDelete(0), 0);
    EXPECT_EQ(rowAfterDelete(4), 3);
}

TEST(ListEditing, ClipboardUrlIsTheTextBeforeTheFirstSeparator)
{
    EXPECT_EQ(clipboardUrlOfRecord("http://a.com/x,y,,,,,1,,,,,1"), "http://a.com/x,y");
    EXPECT_EQ(clipboardUrlOfRecord(",,,,,0,,,,,0"), "");
    EXPECT_EQ(clipboardUrlOfRecord("http://a.com"), std::nullopt);
}

struct PasteCase {
    const char* name;
    const char* text;
    Lines entries;
};

void PrintTo(const PasteCase& c, std::ostream* os)
{
    *os << c.name;
}

class PastedText : public ::testing::TestWithParam<PasteCase>
{
};

TEST_P(PastedText, GivesOneEntryPerNonEmptyLine)
{
    EXPECT_EQ(pastedEntries(GetParam().text), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(All, PastedText,
    ::testing::Values(PasteCase { "OneUrl", "http://a", { "http://a" } },
        PasteCase { "CrLf", "http://a\r\nhttp://b\r\n", { "http://a", "http://b" } },
        PasteCase { "BareCrAndBlankLines", "\n\nhttp://a\r\rhttp://b\n", { "http://a", "http://b" } },
        PasteCase { "OnlyBreaks", "\r\n\n", {} }, PasteCase { "Empty", "", {} },
        PasteCase { "BlanksAreText", "  ", { "  " } }),
    [](const auto& info) { return std::string(info.param.name); });

struct FindCase {
    const char* name;
    const char* text;
    int from;
    int found;
};

void PrintTo(const FindCase& c, std::ostream* os)
{
    *os << c.name;
}

class FindEntries : public ::testing::TestWithParam<FindCase>
{
};

TEST_P(FindEntries, SearchForwardWithExactCaseAndNeverWrap)
{
    const Lines entries = { "http://Alpha,,,,,0,,,,,0", "http://beta,,,,,1,,,,,1", "http://gamma,,,,,1,,,,,0" };
    EXPECT_EQ(findEntry(entries, GetParam().text, GetParam().from), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(All, FindEntries,
    ::testing::Values(FindCase { "FromStart", "beta", 0, 1 }, FindCase { "ExactCase", "alpha", 0, -1 },
        FindCase { "SeparatorAndDigit", ",,,,,1", 0, 1 }, FindCase { "AfterSelection", ",,,,,1", 2, 2 },
        FindCase { "NoWrap", "Alpha", 1, -1 }, FindCase { "PastEnd", "http", 3, -1 },
        FindCase { "EmptyText", "", 0, -1 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListEditing, NotFoundMessage)
{
    EXPECT_EQ(notFoundMessage("xyz"), "xyz not found");
}
