#include "search/UrlList.h"
#include "core/Errors.h"
#include "core/Text.h"
#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>

using namespace orv;

namespace
{

const LocaleCollation& root()
{
    static const LocaleCollation collation("");
    return collation;
}

std::vector<std::string> inOrder(std::initializer_list<const char*> offered, const LocaleCollation& c = root())
{
    UrlList list(c);
    for (const char* r : offered)
        list.add(r);
    return list.records();
}

using Records = std::vector<std::string>;

TEST(UrlListOrder, IgnoresLetterCaseAndKeepsTheFirstOffered)
{
    EXPECT_EQ(inOrder({ "http://B.com", "http://a.com", "http://b.COM", "http://A.com" }),
        (Records { "http://a.com", "http://B.com" }));
    // Windows-1252 letters outside ASCII have case too: S/s with caron, A/a umlaut.
    EXPECT_EQ(inOrder({ "\x8A"
                        "a",
                  "\x9A"
                  "A",
                  "\xC4x", "\xE4X" }),
        (Records { "\xC4x",
            "\x8A"
            "a" }));
}

// Lists hold UTF-8, whose letters of any script have case.
TEST(UrlListOrder, Utf8LettersOfAnyScriptHaveCase)
{
    EXPECT_EQ(
        inOrder({ "x/\xCE\xA9\xCE\x9C", "x/\xCF\x89\xCE\xBC", "x/\xD0\x96", "x/\xD0\xB6", "x/\xC3\xA9", "x/\xC3\x89" }),
        (Records { "x/\xC3\xA9", "x/\xCE\xA9\xCE\x9C", "x/\xD0\x96" }));
}

TEST(UrlListOrder, DigitsAndAccentsMakeDifferentRecords)
{
    EXPECT_EQ(inOrder({ "http://a.com,,,,,0,,,,,0", "http://a.com,,,,,1,,,,,1", "http://A.com,,,,,0,,,,,0" }),
        (Records { "http://a.com,,,,,0,,,,,0", "http://a.com,,,,,1,,,,,1" }));
    EXPECT_EQ(inOrder({ "caf\xE9", "cafe", "CAF\xC9" }), (Records { "cafe", "caf\xE9" }));
    // Sharp s is not a letter-case variant of "ss".
    EXPECT_EQ(inOrder({ "stra\xDF"
                        "e",
                          "strasse" })
                  .size(),
        2u);
}

TEST(UrlListOrder, TextsTheCollationCallsEqualAreToldApartByBytes)
{
    // Control characters are ignored by the collation; the two texts are not
    // letter-case variants, so both stay, the lower byte first.
    EXPECT_EQ(root().compare("ab\x01"
                             "c",
                  "abc")
            < 0,
        true);
    EXPECT_EQ(inOrder({ "abc",
                  "ab\x01"
                  "c",
                  "AB\x01"
                  "C" }),
        (Records { "ab\x01"
                   "c",
            "abc" }));
}

TEST(UrlListOrder, FollowsTheLocale)
{
    const LocaleCollation swedish("sv_SE.UTF-8");
    const LocaleCollation german("de_DE");
    EXPECT_EQ(inOrder({ "\xE4pple", "zebra", "apple" }, swedish), (Records { "apple", "zebra", "\xE4pple" }));
    EXPECT_EQ(inOrder({ "\xE4pple", "zebra", "apple" }, german), (Records { "apple", "\xE4pple", "zebra" }));
    // Letters before case: "a" sorts before "B" although 'B' < 'a' in bytes.
    EXPECT_EQ(inOrder({ "B", "a", "C" }), (Records { "a", "B", "C" }));
}

TEST(UrlListOrder, CAndPosixLocalesTakeTheRootOrder)
{
    EXPECT_EQ(LocaleCollation("C").localeName(), "");
    EXPECT_EQ(LocaleCollation("POSIX").localeName(), "");
    EXPECT_EQ(LocaleCollation("C.UTF-8").localeName(), "");
    EXPECT_EQ(LocaleCollation("de_DE.UTF-8@euro").localeName(), "de_DE");
    // The root order still ignores case, unlike a code-point order.
    EXPECT_EQ(LocaleCollation("C.UTF-8").compare("a", "A"), 0);
}

TEST(UrlList, ReportsWhereARecordWentAndDuplicates)
{
    UrlList list(root());
    EXPECT_EQ(list.add("m").index, 0);
    const auto a = list.add("a");
    EXPECT_TRUE(a.added);
    EXPECT_EQ(a.index, 0);
    const auto z = list.add("z");
    EXPECT_EQ(z.index, 2);
    const auto dup = list.add("M");
    EXPECT_FALSE(dup.added);
    EXPECT_EQ(dup.index, 1);
    EXPECT_EQ(list.at(1), "m");
    EXPECT_EQ(list.indexOf("Z"), 2);
    EXPECT_EQ(list.indexOf("q"), -1);

    list.removeAt(1);
    EXPECT_EQ(list.records(), (Records { "a", "z" }));
    EXPECT_THROW(list.at(2), Exception);
    EXPECT_THROW(list.removeAt(-1), Exception);
    try {
        list.at(5);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.add("b").index, 0);
}

// Many records, offered in random order and letter case, across many blocks:
// the list must stay sorted, hold exactly one record per case-folded text,
// keep the first spelling offered, and answer positions that match at().
TEST(UrlList, StaysSortedAndDuplicateFreeAcrossManyRecords)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> len(1, 6), letter(0, 25), upper(0, 3);
    std::map<std::string, std::string> firstSpelling; // lowered -> first offered
    UrlList list(root());
    for (int i = 0; i < 6000; ++i) {
        std::string s = "http://";
        const int n = len(rng);
        for (int k = 0; k < n; ++k)
            s += static_cast<char>((upper(rng) == 0 ? 'A' : 'a') + letter(rng));
        const auto result = list.add(s);
        const bool fresh = firstSpelling.emplace(LowerCase(s), s).second;
        ASSERT_EQ(result.added, fresh) << s;
        ASSERT_EQ(list.at(result.index), firstSpelling[LowerCase(s)]);
        if (i % 7 == 0 && list.count() > 10) {
            const int victim = static_cast<int>(rng() % static_cast<unsigned>(list.count()));
            firstSpelling.erase(LowerCase(list.at(victim)));
            list.removeAt(victim);
        }
    }
    ASSERT_EQ(list.count(), static_cast<int>(firstSpelling.size()));
    const Records records = list.records();
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i], list.at(static_cast<int>(i)));
        EXPECT_EQ(list.indexOf(records[i]), static_cast<int>(i));
        if (i > 0) {
            EXPECT_LT(root().compare(records[i - 1], records[i]), 0) << records[i - 1] << " " << records[i];
        }
        EXPECT_EQ(firstSpelling[LowerCase(records[i])], records[i]);
    }
}

} // namespace

namespace
{

// Removing from the front empties block after block; positions must stay
// right throughout, and the emptied list must take records again.
TEST(UrlList, RemovingEveryRecordKeepsPositionsRight)
{
    UrlList list(root());
    Records expected;
    for (int i = 0; i < 1500; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "u%05d", i);
        expected.push_back(name);
        list.add(name);
    }
    for (size_t removed = 0; removed < expected.size(); ++removed) {
        ASSERT_EQ(list.at(0), expected[removed]);
        ASSERT_EQ(list.at(list.count() - 1), expected.back());
        list.removeAt(0);
    }
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.add("x").index, 0);
    EXPECT_EQ(list.records(), (Records { "x" }));
}

} // namespace

namespace
{

// Removing many positions at once must leave what removing them one by one
// leaves, across block boundaries and whole emptied blocks, with positions
// and later insertions still right.
TEST(UrlList, RemovingManyRowsAtOnceMatchesRemovingThemOneByOne)
{
    UrlList together(root()), oneByOne(root());
    for (int i = 0; i < 2000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "u%05d", i);
        together.add(name);
        oneByOne.add(name);
    }
    std::vector<int> rows;
    for (int i = 0; i < 2000; ++i)
        if (i % 3 == 0 || (i >= 300 && i < 700)) // scattered rows and a run covering whole blocks
            rows.push_back(i);
    rows.push_back(5000); // past the end: ignored

    together.removeRows(rows);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it < oneByOne.count())
            oneByOne.removeAt(*it);

    ASSERT_EQ(together.records(), oneByOne.records());
    EXPECT_EQ(together.count(), oneByOne.count());
    for (int i = 0; i < together.count(); i += 97)
        EXPECT_EQ(together.indexOf(together.at(i)), i);
    EXPECT_TRUE(together.add("u00300").added);
    EXPECT_EQ(together.at(together.indexOf("u00300") - 1), "u00299");
}

} // namespace
