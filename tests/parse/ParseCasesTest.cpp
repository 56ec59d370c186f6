// Every saved page of tests/fixtures/parse through the parsers, and the same
// pages through the parsepage tool.
#include "parse/ParseCases.h"
#include "core/Lines.h"
#include "parse/Parse.h"
#include "parse/ParseRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

using namespace orv;
using namespace orv::test;

namespace
{

std::string fixturePath(const char* name)
{
    return std::string(ORVALEN_FIXTURES) + "/parse/" + name;
}

std::string maxTextOf(const ParseCase& c)
{
    return c.maxText ? c.maxText : defaultMaxText(c.engine);
}

class ParseFixtures : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseFixtures, ReportPagingLinksAndDeletion)
{
    const ParseCase& c = GetParam();
    TempFolder folder;
    folder.makeProgramFolder();
    const std::string dataFile = folder.file("data/page");
    SaveFileBytes(dataFile, LoadFileBytes(fixturePath(c.fixture)));

    ParseRecorder recorder;
    recorder.maxTexts[static_cast<size_t>(engineIndex(c.engine))] = maxTextOf(c);
    recorder.run.resetPaging();
    recorder.run.currentDataFile = dataFile;
    if (c.laterPage)
        recorder.prepareLaterPage(c.engine);

    ParseEnginePage(c.engine, recorder);

    std::vector<std::string> expectedReport;
    if (c.report)
        expectedReport.push_back(c.report);
    EXPECT_EQ(recorder.reportLines, expectedReport);
    const PagingState& paging = recorder.run.pagingOf(c.engine);
    EXPECT_EQ(paging.resultCount, c.count);
    EXPECT_EQ(paging.countKnown, c.known);
    EXPECT_EQ(paging.page, c.page);
    EXPECT_EQ(recorder.activity, captionsOf(c.engine).parsing);
    EXPECT_EQ(!FileExists(dataFile), c.deleted);
    EXPECT_EQ(recorder.urls, c.urls);
    // Nothing else of the run state moves.
    for (Engine other : kAllEngines) {
        if (other != c.engine) {
            EXPECT_FALSE(recorder.run.pagingOf(other).countKnown);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, ParseFixtures, ::testing::ValuesIn(parseCases()),
    [](const auto& info) { return std::string(info.param.name); });

// The tool prints what the parser did, one line each, with TAB shown as \t.
std::string expectedToolOutput(const ParseCase& c)
{
    std::string report = c.report ? c.report : "none";
    std::string shown;
    for (char ch : report)
        shown += ch == '\t' ? std::string("\\t") : std::string(1, ch);
    std::string out = "report: " + shown + "\n";
    out += "count: " + std::to_string(c.count) + "\n";
    out += "known: " + std::string(c.known ? "1" : "0") + "\n";
    out += "page: " + std::to_string(c.page) + "\n";
    out += "activity: " + std::string(captionsOf(c.engine).parsing) + "\n";
    out += "deleted: " + std::string(c.deleted ? "yes" : "no") + "\n";
    for (const std::string& url : c.urls)
        out += "url: " + url + "\n";
    return out;
}

struct ToolRun {
    std::string output;
    int status = -1;
};

ToolRun runTool(const std::vector<std::string>& args)
{
    std::string command = std::string(ORVALEN_BIN_DIR) + "/parsepage";
    for (const std::string& a : args)
        command += " '" + a + "'";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

class ParsepageTool : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParsepageTool, PrintsWhatTheParserDidAndKeepsTheUsersFile)
{
    const ParseCase& c = GetParam();
    TempFolder folder;
    const std::string copy = folder.file(c.fixture);
    SaveFileBytes(copy, LoadFileBytes(fixturePath(c.fixture)));

    std::vector<std::string> args = { std::string(engineCaption(c.engine)), copy, "--max", maxTextOf(c) };
    if (c.laterPage)
        args.push_back("--later-page");
    const ToolRun run = runTool(args);

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, expectedToolOutput(c));
    EXPECT_TRUE(FileExists(copy)) << "the tool deleted the file it was given";
}

INSTANTIATE_TEST_SUITE_P(Pages, ParsepageTool, ::testing::ValuesIn(parseCases()),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParsepageToolErrors, MaximumThatIsNoNumberEndsWithTheConversionError)
{
    const ToolRun run = runTool({ "Webcrawler", fixturePath("webcrawler.html"), "--max", "1O0" });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("report: Webcrawler found\\t\\t\\t312 urls\n"), std::string::npos);
    EXPECT_NE(run.output.find("\nerror: '1O0' is not a valid integer value\n"), std::string::npos);
    EXPECT_TRUE(FileExists(fixturePath("webcrawler.html")));
}

TEST(ParsepageToolErrors, UnknownEngineAndMissingFileFail)
{
    EXPECT_EQ(runTool({ "Lycos", fixturePath("infoseek.html") }).status, 2);
    EXPECT_EQ(runTool({ "Infoseek" }).status, 2);
    const ToolRun missing = runTool({ "Infoseek", fixturePath("no-such-page.html") });
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "");
}

} // namespace
