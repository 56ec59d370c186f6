#pragma once
// A parse context over plain values that records what a parser does. The
// parsepage tool, the tests and the fuzz target run the parsers through it.
#include "core/Text.h"
#include "parse/ParseContext.h"

#include <array>
#include <string>
#include <vector>

namespace orv
{

// Puts the engine's paging state where it stands for a later page of a run
// whose first page claimed at least the maximum: count known, and the result
// count at the maximum for the engines that keep one.
inline void prepareLaterPage(RunState& run, Engine engine, const std::string& maxText)
{
    if (engine == Engine::PlanetSearch)
        return; // no paging state: every page is read alike
    PagingState& paging = run.pagingOf(engine);
    paging = initialPagingState(engine);
    paging.countKnown = true;
    if (engine != Engine::Snap)
        paging.resultCount = StrToIntDef(maxText, 0);
}

class ParseRecorder final : public ParseContext
{
public:
    RunState run;
    std::array<std::string, kEngineCount> maxTexts;
    std::string activity;
    int activityChanges = 0;
    std::vector<std::string> reportLines;
    std::vector<std::string> urls;

    ParseRecorder() { maxTexts.fill("20"); }

    RunState& runState() override { return run; }
    std::string engineMaxText(Engine engine) override { return maxTexts[static_cast<size_t>(engineIndex(engine))]; }
    void setActivity(const std::string& text) override
    {
        activity = text;
        ++activityChanges;
    }
    void addReportLine(const std::string& line) override { reportLines.push_back(line); }
    void offerUrl(const std::string& url) override { urls.push_back(url); }

    void prepareLaterPage(Engine engine) { orv::prepareLaterPage(run, engine, engineMaxText(engine)); }
};

} // namespace orv
