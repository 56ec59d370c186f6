// The one-pass search for many patterns: what it finds, fed whole or in
// pieces, against a plain search for each pattern on its own.
#include "core/MultiPatternSearch.h"
#include "core/Text.h"

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
    const auto lower = [fold](const std::string& t) { return fold == Fold::AsciiCase ? LowerCase(t) : t; };
    std::vector<bool> found;
    for (const auto& p : patterns)
        found.push_back(!p.empty() && lower(text).find(lower(p)) != std::string::npos);
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

// Random patterns over a small alphabet meet often and overlap much. The
// automaton must agree with the plain search on every text and split.
struct RandomCase {
    const char* name;
    std::string alphabet;
    Fold fold;
    size_t longestPattern;
};

class RandomTextTest : public ::testing::TestWithParam<RandomCase>
{
};

TEST_P(RandomTextTest, AgreesWithPlainSearch)
{
    const RandomCase& c = GetParam();
    std::mt19937 random(7);
    const auto randomText = [&](size_t length) {
        std::string s;
        for (size_t i = 0; i < length; ++i)
            s += c.alphabet[random() % c.alphabet.size()];
        return s;
    };
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> patterns;
        for (int i = 0, n = 1 + static_cast<int>(random() % 8); i < n; ++i)
            patterns.push_back(randomText(random() % (c.longestPattern + 1)));
        const std::string text = randomText(random() % 40);
        const MultiPatternSearch search(patterns, c.fold);
        EXPECT_EQ(searchInPieces(search, text, 1 + random() % 7), plainSearch(patterns, text, c.fold))
            << "round " << round << " text '" << text << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(MultiPatternSearch, RandomTextTest,
    ::testing::Values(RandomCase { "TwoLettersExact", "ab", Fold::None, 4 },
        RandomCase { "CapitalsExact", "abAB ", Fold::None, 4 },
        RandomCase { "CapitalsFolded", "abAB ", Fold::AsciiCase, 4 },
        // Bytes above 127 do not fold; NUL is a byte like any other.
        RandomCase { "HighBytesAndNulFolded", "aA\xC9\xE9\0"s, Fold::AsciiCase, 3 },
        RandomCase { "LongPatterns", "abc", Fold::None, 12 }),
    [](const auto& info) { return std::string(info.param.name); });

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

} // namespace
} // namespace orv
