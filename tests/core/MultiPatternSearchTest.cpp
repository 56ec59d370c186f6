// The one-pass search for many patterns: what it finds, fed whole or in
// pieces, against a plain search for each pattern on its own.
#include "core/MultiPatternSearch.h"

#include <gtest/gtest.h>

#include <random>

namespace orv
{
namespace
{

using namespace std::string_literals;
using Fold = MultiPatternSearch::Fold;

// Which patterns occur in `text`, searched one by one.
std::vector<bool> plainSearch(const std::vector<std::string>& patterns, std::string text, Fold fold)
{
    const auto lower = [fold](std::string s) {
        if (fold == Fold::AsciiCase)
            for (char& c : s)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    text = lower(text);
    std::vector<bool> found;
    for (const auto& p : patterns)
        found.push_back(!p.empty() && text.find(lower(p)) != std::string::npos);
    return found;
}

std::vector<bool> searchInPieces(const MultiPatternSearch& search, std::string_view text, size_t pieceSize)
{
    std::vector<bool> found(search.patternCount(), false);
    size_t count = 0;
    MultiPatternSearch::State state = MultiPatternSearch::Start();
    for (size_t at = 0; at < text.size(); at += pieceSize)
        state = search.feed(state, text.substr(at, pieceSize), found, count);
    EXPECT_EQ(count, static_cast<size_t>(std::count(found.begin(), found.end(), true)));
    return found;
}

struct SearchCase {
    const char* name;
    std::vector<std::string> patterns;
    std::string text;
    Fold fold;
    std::vector<bool> found;
};

class MultiPatternSearchTest : public ::testing::TestWithParam<SearchCase>
{
};

TEST_P(MultiPatternSearchTest, FindsWhatOccursWhateverThePieces)
{
    const SearchCase& c = GetParam();
    const MultiPatternSearch search(c.patterns, c.fold);
    for (size_t piece : { size_t(1), size_t(2), size_t(3), c.text.size() + 1 })
        EXPECT_EQ(searchInPieces(search, c.text, piece), c.found) << "pieces of " << piece;
}

INSTANTIATE_TEST_SUITE_P(MultiPatternSearch, MultiPatternSearchTest,
    ::testing::Values(
        SearchCase { "CaseFoldedBothWays", { "Cat", "dOG" }, "a CAT and a dog", Fold::AsciiCase, { true, true } },
        SearchCase { "CaseKeptWithoutFold", { "Cat", "cat" }, "a cat", Fold::None, { false, true } },
        SearchCase { "OnlyAsciiFolds", { "\xC9t\xE9" }, "\xE9t\xE9", Fold::AsciiCase, { false } },
        SearchCase {
            "OverlapsAndSuffixes", { "he", "she", "his", "hers" }, "ushers", Fold::None, { true, true, false, true } },
        SearchCase { "DuplicatesAndEmpty", { "ab", "AB", "" }, "xaby", Fold::AsciiCase, { true, true, false } },
        SearchCase { "NulAndHighBytesAreBytes", { "a\0b"s, "\xFF" }, "xa\0b\xFF"s, Fold::None, { true, true } }),
    [](const auto& info) { return std::string(info.param.name); });

// Random patterns over a small alphabet meet often and overlap much: the
// automaton must agree with the plain search on every text and split.
TEST(MultiPatternSearch, AgreesWithPlainSearchOnRandomTexts)
{
    std::mt19937 random(7);
    const std::string alphabet = "abAB c";
    const auto randomText = [&](size_t length) {
        std::string s;
        for (size_t i = 0; i < length; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> patterns;
        for (int i = 0, n = 1 + static_cast<int>(random() % 8); i < n; ++i)
            patterns.push_back(randomText(random() % 5));
        const std::string text = randomText(random() % 40);
        const Fold fold = round % 2 ? Fold::AsciiCase : Fold::None;
        const MultiPatternSearch search(patterns, fold);
        EXPECT_EQ(searchInPieces(search, text, 1 + random() % 7), plainSearch(patterns, text, fold))
            << "round " << round << " text '" << text << "'";
    }
}

// Every byte value in the patterns, so that no byte is left for the class of
// unused bytes: the classes must stay apart.
TEST(MultiPatternSearch, KeepsAllByteValuesApart)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    const std::vector<std::string> patterns = { all, "\xFF\x01", "\x01\xFF", "\xFE\xFF" };
    const MultiPatternSearch search(patterns, Fold::None);
    const std::string text = "x"s + all + "\x01\xFF";
    EXPECT_EQ(searchInPieces(search, text, 5), plainSearch(patterns, text, Fold::None));
    EXPECT_EQ(searchInPieces(search, "\xFE\xFF\x01"s, 1), (std::vector<bool> { false, true, false, true }));
}

// feedToNext stops right after the byte that finds something new, so that the
// caller can see where; what it finds equals what feed finds.
TEST(MultiPatternSearch, FeedToNextStopsAtEachNewFind)
{
    const MultiPatternSearch search({ "lo", "hello", "zz", "l" }, Fold::AsciiCase);
    const std::string text = "HELLO lo zz";
    std::vector<bool> found(search.patternCount(), false);
    std::vector<uint32_t> newly;
    MultiPatternSearch::State state = MultiPatternSearch::Start();
    std::vector<std::pair<size_t, std::vector<uint32_t>>> stops;
    for (size_t at = 0; at < text.size();) {
        at += search.feedToNext(state, std::string_view(text).substr(at), found, newly);
        if (!newly.empty())
            stops.emplace_back(at, newly);
        newly.clear();
    }
    const std::vector<std::pair<size_t, std::vector<uint32_t>>> expected
        = { { 3, { 3 } }, { 5, { 1, 0 } }, { 11, { 2 } } };
    EXPECT_EQ(stops, expected);
}

} // namespace
} // namespace orv
