#include "core/Errors.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>

using namespace orv;

TEST(Text, PositionsCountFromOneAndFailureIsZero)
{
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosFrom("a", "abca", 2), 4);
    EXPECT_EQ(PosFrom("a", "abca", 5), 0);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(CopyFrom("abcdef", 4), "def");
    EXPECT_EQ(CharAt("abc", 3), 'c');
    EXPECT_EQ(CharAt("abc", 4), '\0');
    std::string s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 9, 2);
    EXPECT_EQ(s, "adef");
}

struct IntCase {
    const char* text;
    bool ok;
    int value;
};

void PrintTo(const IntCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class StrToIntCases : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToIntCases, ConvertsOrFailsWithExactText)
{
    const IntCase& c = GetParam();
    if (c.ok) {
        EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
        try {
            StrToInt(c.text);
            FAIL() << "accepted " << c.text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + c.text + "' is not a valid integer value");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StrToIntCases,
                         ::testing::Values(IntCase{"200", true, 200}, IntCase{"  42", true, 42},
                                           IntCase{"-7", true, -7}, IntCase{"+7", true, 7},
                                           IntCase{"$1F", true, 31}, IntCase{"$ff", true, 255},
                                           IntCase{"2147483647", true, INT_MAX},
                                           IntCase{"-2147483648", true, INT_MIN}, IntCase{"", false, 0},
                                           IntCase{" ", false, 0}, IntCase{"12 ", false, 0},
                                           IntCase{"1,000", false, 0}, IntCase{"abc", false, 0},
                                           IntCase{"2147483648", false, 0}, IntCase{"-", false, 0},
                                           IntCase{"$", false, 0}, IntCase{"\t5", false, 0}));

TEST(Text, LowersOnlyAsciiCapitals)
{
    EXPECT_EQ(LowerCase("AbC\xC4Z"), "abc\xC4z");
    EXPECT_EQ(UpperCase("abc\xE4z"), "ABC\xE4Z");
}

TEST(Lines, SplitsAtCrLfAndCrLfAndStopsAtNul)
{
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines(std::string("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Lines, SavesWithCrLfAndReportsFailures)
{
    test::TempFolder dir;
    SaveLines(dir.file("x.txt"), {"one", "two"});
    EXPECT_EQ(dir.read("x.txt"), "one\r\ntwo\r\n");
    EXPECT_EQ(LoadLines(dir.file("x.txt")), (Lines{"one", "two"}));
    try {
        LoadLines(dir.file("missing.txt"));
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    try {
        SaveLines(dir.file("nofolder/x.txt"), {});
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Invalid filename");
    }
}
