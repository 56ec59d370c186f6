// Matching on the text a reader sees, and the judges MakePageJudge gives for
// either choice.
#include "verify/PageTextJudge.h"

#include "core/Errors.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

using namespace std::string_literals;

WordLists lists(Lines primary, Lines secondary = {}, Lines exclusion = {})
{
    WordLists w;
    w.primary = std::move(primary);
    w.secondary = std::move(secondary);
    w.exclusion = std::move(exclusion);
    return w;
}

ScanVerdict judgeText(const WordLists& words, std::string_view page, ScanModes modes = {}, size_t piece = 0)
{
    PageTextJudge judge(words, false);
    if (piece == 0)
        piece = page.size() + 1;
    for (size_t at = 0; at < page.size(); at += piece)
        if (!judge.add(page.substr(at, piece)))
            break;
    return judge.verdict(modes);
}

struct TextCase {
    const char* name;
    std::string criterion; // one Primary line
    std::string page; // UTF-8
    bool found;
};

class ReaderText : public ::testing::TestWithParam<TextCase>
{
};

// Whole, and in pieces of three bytes, which cut tags, entities and UTF-8
// sequences apart.
TEST_P(ReaderText, FindsOnlyWhatAReaderSees)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(judgeText(lists({ c.criterion }), c.page).primaryPass, c.found);
    EXPECT_EQ(judgeText(lists({ c.criterion }), c.page, {}, 3).primaryPass, c.found);
}

INSTANTIATE_TEST_SUITE_P(PageTextJudge, ReaderText,
    ::testing::Values(TextCase { "VisibleWord", "theme", "<p>the Theme park</p>", true },
        TextCase { "ScriptIsNotSearched", "theme", "<script>var theme = 1;</script><p>x</p>", false },
        TextCase { "StyleIsNotSearched", "theme", "<style>.theme{}</style><p>x</p>", false },
        TextCase { "TemplateIsNotSearched", "theme", "<template><p>theme</p></template><p>x</p>", false },
        TextCase { "CommentIsNotSearched", "theme", "<!-- theme --><p>x</p>", false },
        TextCase { "AttributeIsNotSearched", "theme", "<p class=\"theme\" title='theme'>x</p>", false },
        TextCase { "TagNameIsNotSearched", "body", "<body><p>x</p></body>", false },
        TextCase { "EntitiesAreDecoded", "box<t>", "<p>Box&lt;T&#62; &amp; more</p>", true },
        TextCase { "NamedEntityBeyondAscii", "caf\xC3\xA9", "<p>caf&eacute;</p>", true },
        TextCase { "LineBreakIsABlank", "red apple", "<p>red\r\n   apple</p>", true },
        TextCase { "NoBreakSpaceIsABlank", "red apple", "<p>red&nbsp;apple</p>", true },
        TextCase { "InlineTagsDoNotBreak", "red apple", "<p><b>red</b> <i>apple</i></p>", true },
        TextCase { "ParagraphsAreBlocks", "red apple", "<p>red</p><p>apple</p>", false },
        TextCase { "CellsAreBlocks", "red apple", "<table><tr><td>red</td><td>apple</td></tr></table>", false },
        TextCase { "ListItemsAreBlocks", "red apple", "<ul><li>red<li>apple</ul>", false },
        TextCase { "BrIsABoundary", "red apple", "red<br>apple", false },
        TextCase { "GreekByCaseFolding", "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1",
            "<p>\xCE\xA9\xCE\x9C\xCE\x88\xCE\x93\xCE\x91</p>", true },
        TextCase { "Cjk", "\xE6\x9D\xB1\xE4\xBA\xAC",
            "<p>\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC</p>", true },
        TextCase { "CurlyApostrophe", "don\xE2\x80\x99t", "<p>I DON\xE2\x80\x99T know</p>", true },
        TextCase { "QuotesRemovedFromPrimary", "\"red apple\"", "<p>Red Apple pie</p>", true },
        TextCase { "EmptyCriterionNeverFound", "\"\"", "<p>a \"\" b</p>", false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageTextJudge, SecondaryAndExclusionKeepTheirQuotesAndTheModesHold)
{
    const std::string page = "<p>say \"red apple\" now</p><p>green pear</p>";
    EXPECT_TRUE(judgeText(lists({ "pear" }, { "\"red apple\"" }), page).approved());
    EXPECT_FALSE(judgeText(lists({ "pear" }, { "\"green pear\"" }), page).approved());
    EXPECT_TRUE(judgeText(lists({ "pear" }, {}, { "\"green pear\"" }), page).primaryPass);
    EXPECT_TRUE(judgeText(lists({ "pear" }, {}, { "\"red" }), page).excluded);

    const ScanModes all { MatchMode::All, MatchMode::All };
    EXPECT_TRUE(judgeText(lists({ "pear", "pear", "apple" }), page, all).primaryPass);
    EXPECT_FALSE(judgeText(lists({ "pear", "", "apple" }), page, all).primaryPass);
    EXPECT_FALSE(judgeText(lists({ "pear" }, { "apple", "plum" }), page, all).approved());
}

TEST(PageTextJudge, AnExclusionFoundEndsThePageWithoutADescription)
{
    PageTextJudge judge(lists({ "x" }, {}, { "coal" }), false);
    EXPECT_TRUE(judge.add("<title>T</title><p>clean "));
    EXPECT_FALSE(judge.add("coal</p>"));
    const ScanVerdict v = judge.verdict({});
    EXPECT_TRUE(v.excluded);
    EXPECT_FALSE(v.primaryScanned);
    EXPECT_FALSE(v.description);
}

struct DescriptionCase {
    const char* name;
    std::string head;
    std::optional<std::string> description;
};

class Description : public ::testing::TestWithParam<DescriptionCase>
{
};

TEST_P(Description, IsTheMetaDescriptionElseTheTitle)
{
    const DescriptionCase& c = GetParam();
    EXPECT_EQ(
        judgeText(lists({ "x" }), "<html><head>" + c.head + "</head><body>x</body></html>").description, c.description);
}

INSTANTIATE_TEST_SUITE_P(PageTextJudge, Description,
    ::testing::Values(
        DescriptionCase { "Meta", "<title>T</title><meta name=\"description\" content=\"Fine tools\">", "Fine tools" },
        DescriptionCase { "MetaContentFirstSingleQuotes", "<meta content='Box&lt;T&gt; \xCF\x80' NAME='Description'>",
            "Box<T> \xCF\x80" },
        DescriptionCase { "EmptyMetaGivesTheTitle",
            "<meta name=description content=\"  \"><title> The\n  process\xE2\x80\x99s  </title>",
            "The process\xE2\x80\x99s" },
        DescriptionCase { "TitleEntitiesDecoded", "<title>1/&pi; &amp; more</title>", "1/\xCF\x80 & more" },
        DescriptionCase { "NeitherLeavesTheStoredOne", "<meta name=keywords content=k>", std::nullopt }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageTextJudge, PlainTextAndBrokenMarkupAreMatchedAsText)
{
    PageTextJudge plain(lists({ "<b>red apple" }), true);
    plain.add("say <b>red\n");
    plain.add("apple");
    EXPECT_TRUE(plain.verdict({}).primaryPass);
    // Unclosed tags, stray bytes and NULs neither fail nor hide the text.
    EXPECT_TRUE(judgeText(lists({ "tail words" }), "<p <<>\0&#xZZ; <div><b>tail\0words"s).primaryPass);
}

TEST(PageTextJudge, AnEndlessParagraphIsMatchedInPiecesWithoutLosingBlanks)
{
    std::string page = "<p>";
    for (int i = 0; i < 20000; ++i)
        page += "word" + std::to_string(i) + " ";
    page += "red apple</p>";
    EXPECT_TRUE(judgeText(lists({ "word19999 red apple" }), page, {}, 4096).primaryPass);
    EXPECT_FALSE(judgeText(lists({ "word1word2" }), page, {}, 4096).primaryPass);
}

TEST(MakePageJudge, DecodesThePageForEitherMatchAndReadsAFile)
{
    // "Tokyo" in Shift_JIS, named only by the header; the source match sees
    // the markup, the text match does not.
    const std::string page = "<p class=theme>\x93\x8C\x8B\x9E</p>";
    const WordLists tokyo = lists({ "\xE6\x9D\xB1\xE4\xBA\xAC" }, { "theme" });
    test::TempFolder folder;
    const std::string path = folder.file("page.htm");
    SaveFileBytes(path, page);
    for (const MatchOn on : { MatchOn::PageSource, MatchOn::PageText }) {
        const auto judge = MakePageJudge(tokyo, on, "text/html; charset=Shift_JIS");
        const ScanVerdict v = JudgePageFile(path, *judge, {});
        EXPECT_TRUE(v.primaryPass);
        EXPECT_EQ(v.approved(), on == MatchOn::PageSource);
    }
    const auto judge = MakePageJudge(tokyo, MatchOn::PageText, "");
    EXPECT_THROW(JudgePageFile(folder.file("missing.htm"), *judge, {}), EInOutError);
}

} // namespace
} // namespace orv
