// The steps every parser takes before and around the page: abort, time-out,
// a missing file, and a maximum box that does not hold a whole number.
#include "core/Errors.h"
#include "core/Lines.h"
#include "parse/EngineRules.h"
#include "parse/Parse.h"
#include "parse/ParseCases.h"
#include "parse/ParseRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace
{

// A page on which every engine finds its count phrase and a link.
std::string pageForEveryEngine()
{
    return std::string(ORVALEN_FIXTURES) + "/parse/infoseek.html";
}

class EngineFlow : public ::testing::TestWithParam<EngineCaptions>
{
protected:
    void SetUp() override
    {
        folder.makeProgramFolder();
        dataFile = folder.file("data/page");
        SaveFileBytes(dataFile, LoadFileBytes(pageForEveryEngine()));
        recorder.run.resetPaging();
        recorder.run.currentDataFile = dataFile;
    }

    Engine engine() const { return GetParam().engine; }

    TempFolder folder;
    std::string dataFile;
    ParseRecorder recorder;
};

TEST_P(EngineFlow, AbortDoesNothingAtAll)
{
    recorder.run.abortFlag = true;
    recorder.run.timeoutFlag = true;
    const PagingState before = recorder.run.pagingOf(engine());
    ParseEnginePage(engine(), recorder);
    EXPECT_EQ(recorder.activityChanges, 0);
    EXPECT_TRUE(recorder.run.timeoutFlag);
    EXPECT_TRUE(FileExists(dataFile));
    EXPECT_TRUE(recorder.reportLines.empty());
    EXPECT_TRUE(recorder.urls.empty());
    EXPECT_EQ(recorder.run.pagingOf(engine()).page, before.page);
}

TEST_P(EngineFlow, TimeOutShowsItsCaptionClearsTheFlagAndKeepsTheFile)
{
    recorder.run.timeoutFlag = true;
    const PagingState before = recorder.run.pagingOf(engine());
    ParseEnginePage(engine(), recorder);
    EXPECT_EQ(recorder.activity, GetParam().timedOut);
    EXPECT_FALSE(recorder.run.timeoutFlag);
    EXPECT_TRUE(FileExists(dataFile));
    EXPECT_TRUE(recorder.reportLines.empty());
    EXPECT_TRUE(recorder.urls.empty());
    const PagingState& after = recorder.run.pagingOf(engine());
    EXPECT_EQ(after.countKnown, before.countKnown);
    EXPECT_EQ(after.page, before.page);
    EXPECT_EQ(after.resultCount, before.resultCount);
}

TEST_P(EngineFlow, MissingFileIsASilentReturn)
{
    recorder.run.currentDataFile = folder.file("data/never-written");
    EXPECT_NO_THROW(ParseEnginePage(engine(), recorder));
    EXPECT_EQ(recorder.activity, GetParam().parsing);
    EXPECT_TRUE(recorder.reportLines.empty());
    EXPECT_TRUE(recorder.urls.empty());
    EXPECT_FALSE(recorder.run.pagingOf(engine()).countKnown);
}

TEST_P(EngineFlow, LaterPageNeverReadsTheMaximumBox)
{
    recorder.prepareLaterPage(engine());
    recorder.maxTexts[static_cast<size_t>(engineIndex(engine()))] = "twenty";
    EXPECT_NO_THROW(ParseEnginePage(engine(), recorder));
    EXPECT_FALSE(FileExists(dataFile));
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineFlow, ::testing::ValuesIn(engineCaptions()), [](const auto& info) {
    std::string name(engineCaption(info.param.engine));
    std::erase(name, '.');
    return name;
});

// A maximum box that is not a whole number: the conversion error leaves the
// parser with the box's text, after the data file is deleted. Engines that
// write their report line before capping have already written it.
struct BadMaximumCase {
    const char* name;
    Engine engine;
    const char* fixture;
    bool throws;
    const char* reportBeforeError; // nullptr: no report line
};

void PrintTo(const BadMaximumCase& c, std::ostream* os)
{
    *os << c.name;
}

class BadMaximum : public ::testing::TestWithParam<BadMaximumCase>
{
};

TEST_P(BadMaximum, ConversionErrorPropagatesAfterDeletingTheFile)
{
    const BadMaximumCase& c = GetParam();
    TempFolder folder;
    folder.makeProgramFolder();
    const std::string dataFile = folder.file("data/page");
    SaveFileBytes(dataFile, LoadFileBytes(std::string(ORVALEN_FIXTURES) + "/parse/" + c.fixture));
    ParseRecorder recorder;
    recorder.run.resetPaging();
    recorder.run.currentDataFile = dataFile;
    recorder.maxTexts[static_cast<size_t>(engineIndex(c.engine))] = "1,000";

    if (c.throws) {
        try {
            ParseEnginePage(c.engine, recorder);
            FAIL() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "'1,000' is not a valid integer value");
        }
        EXPECT_TRUE(recorder.urls.empty());
        EXPECT_FALSE(recorder.run.pagingOf(c.engine).countKnown);
    } else {
        EXPECT_NO_THROW(ParseEnginePage(c.engine, recorder));
    }
    EXPECT_FALSE(FileExists(dataFile));
    std::vector<std::string> expected;
    if (c.reportBeforeError)
        expected.push_back(c.reportBeforeError);
    EXPECT_EQ(recorder.reportLines, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadMaximum,
    ::testing::Values(
        BadMaximumCase { "InfoseekCapsBeforeReporting", Engine::Infoseek, "infoseek.html", true, nullptr },
        BadMaximumCase { "InfoseekWithoutCountNeverReads", Engine::Infoseek, "infoseek-nocount.html", false,
            "InfoSeek found\t\t\t0 urls" },
        BadMaximumCase {
            "AltaVistaReportsFirst", Engine::AltaVista, "altavista.html", true, "AltaVista found\t\t\t1234 urls" },
        BadMaximumCase {
            "AltaVistaWithoutPhraseNeverReads", Engine::AltaVista, "altavista-nocount.html", false, nullptr },
        BadMaximumCase {
            "WebcrawlerReportsFirst", Engine::Webcrawler, "webcrawler.html", true, "Webcrawler found\t\t\t312 urls" },
        BadMaximumCase { "SnapReportsFirst", Engine::Snap, "snap.html", true, "Snap found\t\t\t740 urls" },
        BadMaximumCase {
            "MagellanReadsEvenWithoutPhrase", Engine::Magellan, "webcrawler.html", true, "Magellan found\t\t\t0 urls" },
        BadMaximumCase { "NetfindReadsEvenWithoutPhrase", Engine::NetfindAol, "webcrawler.html", true,
            "Netfind.Aol found\t\t\t0 urls" },
        BadMaximumCase { "PlanetSearchHasNoMaximum", Engine::PlanetSearch, "planetsearch.html", false,
            "PlanetSearch found\t\t                1,234 urls" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineRules, TableIsInEngineOrder)
{
    for (Engine e : kAllEngines)
        EXPECT_EQ(rulesOf(e).engine, e) << engineCaption(e);
}

} // namespace
