// The options file "search.txt" read and written line for line.
#include "files/OptionsFile.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orv;

namespace
{

Lines sampleLines()
{
    return { "true", "false", "true", "false", "true", "false", "true", "false", "true", "false", "true", "10.0.0.1",
        "8080", "12", "30", "40", "50", "60", "70", "80", "90", "100", "120", "140", "8", "true", "page source" };
}

} // namespace

TEST(OptionsFile, DefaultsWriteTheFormDefaults)
{
    const Lines lines = OptionsToLines(Options {});
    ASSERT_EQ(lines.size(), 27u);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(lines[i], "false") << "line " << i + 1;
    EXPECT_EQ(lines[11], "255.255.255.255");
    EXPECT_EQ(lines[12], "80");
    EXPECT_EQ(lines[13], "30");
    // Line 17 is Netfind.Aol's maximum, the only one that starts at 10.
    for (int i = 14; i < 24; ++i)
        EXPECT_EQ(lines[i], i == 16 ? "10" : "20") << "line " << i + 1;
    EXPECT_EQ(lines[24], "1"); // one fetch at a time
    EXPECT_EQ(lines[25], "true"); // a new folder keeps its connections
    EXPECT_EQ(lines[26], "page source");
}

TEST(OptionsFile, FlagAndMaximumLinesFollowTheirOwnEngineOrders)
{
    Options options;
    options.selected[engineIndex(Engine::Snap)] = true;
    options.selected[engineIndex(Engine::Thunderstone)] = true;
    options.maxOf(Engine::Snap) = "snap";
    options.maxOf(Engine::Infoseek) = "info";
    options.maxOf(Engine::Thunderstone) = "thunder";
    const Lines lines = OptionsToLines(options);
    EXPECT_EQ(lines[3], "true"); // line 4: Snap selected
    EXPECT_EQ(lines[9], "true"); // line 10: Thunderstone selected
    EXPECT_EQ(lines[5], "false"); // line 6: Infoseek selected
    EXPECT_EQ(lines[17], "info"); // line 18: Infoseek maximum
    EXPECT_EQ(lines[22], "thunder");
    EXPECT_EQ(lines[23], "snap"); // line 24: Snap maximum comes last
}

TEST(OptionsFile, ReadingAndWritingGiveTheSameLinesBack)
{
    Options options;
    OptionsFromLines(sampleLines(), options);
    EXPECT_EQ(OptionsToLines(options), sampleLines());
    EXPECT_TRUE(options.isSelected(Engine::AltaVista));
    EXPECT_TRUE(options.isSelected(Engine::NetfindAol));
    EXPECT_FALSE(options.isSelected(Engine::Excite));
    EXPECT_TRUE(options.useProxy);
    EXPECT_EQ(options.proxy, "10.0.0.1");
    EXPECT_EQ(options.maxOf(Engine::Snap), "140");
    EXPECT_EQ(options.parallelFetches, 8);
    EXPECT_TRUE(options.http11);
}

struct FlagCase {
    const char* line;
    bool selected;
};

class OptionsFlagLine : public ::testing::TestWithParam<FlagCase>
{
};

TEST_P(OptionsFlagLine, OnlyExactLowerCaseTrueSelects)
{
    Lines lines = sampleLines();
    lines[0] = GetParam().line;
    lines[10] = GetParam().line;
    Options options;
    OptionsFromLines(lines, options);
    EXPECT_EQ(options.isSelected(Engine::AltaVista), GetParam().selected);
    EXPECT_EQ(options.useProxy, GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(Flags, OptionsFlagLine,
    ::testing::Values(FlagCase { "true", true }, FlagCase { "True", false }, FlagCase { "TRUE", false },
        FlagCase { " true", false }, FlagCase { "true ", false }, FlagCase { "1", false }, FlagCase { "", false },
        FlagCase { "false", false }));

TEST(OptionsFile, EditBoxLinesAreTakenUnchecked)
{
    Lines lines = sampleLines();
    lines[13] = "abc";
    lines[14] = "";
    lines[15] = "9999";
    Options options;
    OptionsFromLines(lines, options);
    EXPECT_EQ(options.maxSeconds, "abc");
    EXPECT_EQ(options.maxOf(Engine::AltaVista), "");
    EXPECT_EQ(options.maxOf(Engine::Excite), "9999");
}

class OptionsShortFile : public ::testing::TestWithParam<int>
{
};

TEST_P(OptionsShortFile, StopsAtTheFirstMissingLineKeepingTheRest)
{
    const int present = GetParam();
    Lines lines = sampleLines();
    lines.resize(static_cast<size_t>(present));
    Options options;
    options.maxOf(Engine::Snap) = "untouched";
    try {
        OptionsFromLines(lines, options);
        FAIL() << "a file of " << present << " lines was accepted";
    } catch (const EListError& e) {
        EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(present) + ")");
    }
    // Lines before the gap arrived; the last line never did.
    const Lines written = OptionsToLines(options);
    for (int i = 0; i < present; ++i)
        EXPECT_EQ(written[i], sampleLines()[i]) << "line " << i + 1;
    EXPECT_EQ(options.maxOf(Engine::Snap), "untouched");
}

INSTANTIATE_TEST_SUITE_P(Lengths, OptionsShortFile, ::testing::Values(0, 1, 10, 11, 13, 14, 23));

// Earlier versions wrote 24 lines: such a file reads without complaint, keeps
// the meaning of every line, and gives one fetch at a time.
TEST(OptionsFile, TwentyFourLinesReadWithTheDefaultParallelFetches)
{
    Lines lines = sampleLines();
    lines.resize(24);
    Options options;
    options.parallelFetches = 5;
    OptionsFromLines(lines, options);
    EXPECT_EQ(options.parallelFetches, kParallelFetchesDefault);
    Lines expected = lines;
    expected.push_back("1");
    expected.push_back("false");
    expected.push_back("page source");
    EXPECT_EQ(OptionsToLines(options), expected);
}

// A file from before "HTTP/1.1 connections" keeps the HTTP/1.0 request.
TEST(OptionsFile, TwentyFiveLinesReadWithHttp11Off)
{
    Lines lines = sampleLines();
    lines.resize(25);
    Options options;
    OptionsFromLines(lines, options);
    EXPECT_FALSE(options.http11);
}

TEST(OptionsFile, ParallelFetchesStayWithinTheirBounds)
{
    const std::pair<const char*, int> cases[] = { { "1", 1 }, { "32", 32 }, { "33", 32 }, { "99999999999", 1 },
        { "0", 1 }, { "-4", 1 }, { "abc", 1 }, { "", 1 }, { " 8", 8 }, { "16", 16 } };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParallelFetchesFromText(text), expected) << "'" << text << "'";
}

// A file written before the choice existed keeps matching on the page source.
TEST(OptionsFile, MatchLineChoosesPageTextOnlyWhenItSaysSo)
{
    const std::pair<std::optional<std::string>, MatchOn> cases[] = { { std::nullopt, MatchOn::PageSource },
        { "page text", MatchOn::PageText }, { "page source", MatchOn::PageSource },
        { "Page Text", MatchOn::PageSource }, { "", MatchOn::PageSource } };
    for (const auto& [line, expected] : cases) {
        Lines lines = sampleLines();
        lines.resize(26);
        if (line)
            lines.push_back(*line);
        Options options;
        OptionsFromLines(lines, options);
        EXPECT_EQ(options.matchOn, expected) << (line ? *line : "no line 27");
        EXPECT_EQ(OptionsToLines(options).back(), MatchOnText(expected));
    }
}

TEST(OptionsFile, LinesAfterTheTwentySixthAreIgnored)
{
    Lines lines = sampleLines();
    lines.push_back("extra");
    Options options;
    OptionsFromLines(lines, options);
    EXPECT_EQ(OptionsToLines(options), sampleLines());
}

TEST(OptionsFile, ErrorTextsNameTheFullPath)
{
    EXPECT_EQ(CannotOpenFileText("/p/search.txt"), "Cannot open file /p/search.txt");
    EXPECT_EQ(CannotCreateFileText("/p/search.txt"), "Cannot create file /p/search.txt");
}
