// Pages cut short or made of stray markers: every parser must stay inside
// the lines it is given (the sanitizers watch) and may only offer URLs that
// stand in the page.
#include "core/Lines.h"
#include "parse/Parse.h"
#include "parse/ParseRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orv;

namespace
{

// Every marker and phrase the engines look for, as a line of its own.
const std::vector<std::string>& markerLines()
{
    static const std::vector<std::string> lines = {
        "RESULTS 1 -",
        "of ",
        " total",
        "summaries",
        ">hide summaries<",
        "<b><a href=\"http://",
        "AltaVista found ",
        "Web pages for you.",
        "<b>Result Pages:",
        "a href=\"http://",
        "about",
        "no document matching",
        " hits",
        ".",
        "Powered by <A HREF=\"",
        "A HREF=\"http://",
        "Found <b>",
        "<b>Web Pages</b>",
        "</ul>",
        "<li><a href=\"http://",
        ">",
        "- show",
        "Result",
        "<FORM ACTION",
        "a href=http://",
        "Matching sites",
        "</dl>",
        "&u=",
        "Page ",
        "<",
        "Matching Web",
        "Search Results",
        "</font></ul>",
        "\">",
        "results returned",
        "search results",
        "</FORM>",
        "matches.",
        "<b>",
        "</",
        "matches",
        "<!-- mini search box -->",
        "<br><i>http://",
        "</i>",
        "terms",
        "SIZE=2>",
        "&",
        "Results 1",
        "/TABLE",
        "",
        "x",
    };
    return lines;
}

// URLs are cut from single lines: anything offered must stand in one.
void expectUrlsFromPage(const ParseRecorder& recorder, const Lines& page)
{
    for (const std::string& url : recorder.urls) {
        bool inLine = url.empty();
        for (const std::string& line : page)
            inLine = inLine || line.find(url) != std::string::npos;
        EXPECT_TRUE(inLine) << "offered a URL that is on no line: " << url;
    }
}

void parseBothWays(Engine engine, const Lines& page)
{
    for (bool laterPage : { false, true }) {
        ParseRecorder recorder;
        recorder.run.resetPaging();
        if (laterPage)
            recorder.prepareLaterPage(engine);
        ParsePageLines(engine, page, recorder);
        expectUrlsFromPage(recorder, page);
        EXPECT_LE(recorder.reportLines.size(), 1u);
    }
}

class MalformedPages : public ::testing::TestWithParam<Engine>
{
};

TEST_P(MalformedPages, EveryTruncationOfEverySavedPage)
{
    const std::string folder = std::string(ORVALEN_FIXTURES) + "/parse";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string bytes = LoadFileBytes(entry.path().string());
        for (size_t cut = 0; cut <= bytes.size(); ++cut)
            parseBothWays(GetParam(), SplitLines(std::string_view(bytes).substr(0, cut)));
    }
}

TEST_P(MalformedPages, StrayMarkersAloneInPairsAndAtLineEnds)
{
    const std::vector<std::string>& markers = markerLines();
    for (const std::string& a : markers) {
        parseBothWays(GetParam(), { a });
        parseBothWays(GetParam(), { a, a, a, a });
        parseBothWays(GetParam(), { "12" + a + "34" + a });
        for (const std::string& b : markers) {
            parseBothWays(GetParam(), { a, b });
            parseBothWays(GetParam(), { a + b });
            parseBothWays(GetParam(), { a, b, a, b });
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, MalformedPages, ::testing::ValuesIn(kAllEngines), [](const auto& info) {
    std::string name(engineCaption(info.param));
    std::erase(name, '.');
    return name;
});

} // namespace
