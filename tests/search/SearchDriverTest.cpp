// The engine walk: order, page values and start offsets of further pages,
// the abort flag, and errors that end the run.
#include "search/SearchDriver.h"

#include "core/Errors.h"
#include "search/EngineCatalogue.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <vector>

using namespace orv;

namespace
{

// Plays the parsers: on an engine's first page it sets the paging state the
// test asks for, as the real parser does from the page's count.
class FakeSteps : public SearchSteps
{
public:
    explicit FakeSteps(RunState& run)
        : run_(run)
    {
    }

    std::set<Engine> ticked;
    std::map<Engine, int> firstPageValue; // pages in all, for page-value engines
    std::map<Engine, int> firstPageCount; // result count, for Magellan and Netfind.Aol
    std::function<void(Engine, int)> onQuery; // (engine, request number of that engine)
    std::vector<std::string> calls;

    bool engineTicked(Engine e) override { return ticked.count(e) > 0; }
    void queryPage(Engine e, bool firstPage) override
    {
        const PagingState& p = run_.pagingOf(e);
        std::string call = std::string(engineCaption(e)) + (firstPage ? " first" : "");
        if (!firstPage)
            call += enginePaging(e) == PagingKind::StartOffset ? " start=" + std::to_string(p.start)
                                                               : " page=" + std::to_string(p.page);
        calls.push_back(call);
        if (onQuery)
            onQuery(e, ++requests_[e]);
    }
    void parsePage(Engine e) override
    {
        if (run_.abortFlag)
            return;
        PagingState& p = run_.pagingOf(e);
        if (p.countKnown)
            return;
        p.countKnown = true;
        if (firstPageValue.count(e))
            p.page = firstPageValue[e];
        if (firstPageCount.count(e))
            p.resultCount = firstPageCount[e];
    }

private:
    RunState& run_;
    std::map<Engine, int> requests_;
};

std::vector<std::string> walk(FakeSteps& steps, RunState& run)
{
    RunEngines(run, steps);
    return steps.calls;
}

using Calls = std::vector<std::string>;

TEST(SearchDriver, PageValueEnginesAskForTheirFurtherPages)
{
    RunState run;
    run.resetPaging();
    FakeSteps steps(run);
    steps.ticked = { Engine::Excite, Engine::Yahoo, Engine::Webcrawler, Engine::AltaVista };
    steps.firstPageValue
        = { { Engine::Excite, 2 }, { Engine::Yahoo, 3 }, { Engine::Webcrawler, 1 }, { Engine::AltaVista, 0 } };
    EXPECT_EQ(walk(steps, run),
        (Calls { "Webcrawler first", "Excite first", "Excite page=20", "AltaVista first", "Yahoo first",
            "Yahoo page=21", "Yahoo page=41" }));
}

TEST(SearchDriver, MagellanAndNetfindStepTheirStartOffsetFromTheResultCount)
{
    struct Case {
        int count;
        Calls calls;
    };
    const Case cases[] = {
        { 5, { "Magellan first", "Magellan start=0" } },
        { 10, { "Magellan first" } },
        { 0, { "Magellan first" } },
        { 25, { "Magellan first", "Magellan start=0", "Magellan start=10" } },
    };
    for (const auto& c : cases) {
        RunState run;
        run.resetPaging();
        FakeSteps steps(run);
        steps.ticked = { Engine::Magellan };
        steps.firstPageCount = { { Engine::Magellan, c.count } };
        EXPECT_EQ(walk(steps, run), c.calls) << c.count;
    }
    RunState run;
    run.resetPaging();
    FakeSteps steps(run);
    steps.ticked = { Engine::NetfindAol, Engine::PlanetSearch };
    steps.firstPageCount = { { Engine::NetfindAol, 21 } };
    steps.firstPageValue = { { Engine::PlanetSearch, 9 } };
    EXPECT_EQ(walk(steps, run),
        (Calls { "PlanetSearch first", "Netfind.Aol first", "Netfind.Aol start=0", "Netfind.Aol start=10" }));
}

TEST(SearchDriver, AllEnginesRunInSearchOrder)
{
    RunState run;
    run.resetPaging();
    FakeSteps steps(run);
    steps.ticked = std::set<Engine>(kAllEngines.begin(), kAllEngines.end());
    EXPECT_EQ(walk(steps, run),
        (Calls { "Infoseek first", "Webcrawler first", "Excite first", "AltaVista first", "Yahoo first", "Snap first",
            "Thunderstone first", "PlanetSearch first", "Magellan first", "Netfind.Aol first" }));
}

TEST(SearchDriver, AbortDuringSecondPageEndsTheWalk)
{
    RunState run;
    run.resetPaging();
    FakeSteps steps(run);
    steps.ticked = { Engine::Infoseek, Engine::Excite };
    steps.firstPageValue = { { Engine::Infoseek, 5 }, { Engine::Excite, 2 } };
    steps.onQuery = [&](Engine e, int n) {
        if (e == Engine::Infoseek && n == 2)
            run.abortFlag = true;
    };
    EXPECT_EQ(walk(steps, run), (Calls { "Infoseek first", "Infoseek page=20" }));
}

TEST(SearchDriver, ParserErrorEndsTheWalkWhereItHappens)
{
    RunState run;
    run.resetPaging();
    FakeSteps steps(run);
    steps.ticked = { Engine::Infoseek, Engine::Excite };
    struct Throwing : FakeSteps {
        using FakeSteps::FakeSteps;
        void parsePage(Engine e) override
        {
            if (e == Engine::Excite)
                throw EConvertError("'x' is not a valid integer value");
            FakeSteps::parsePage(e);
        }
    } throwing(run);
    throwing.ticked = steps.ticked;
    EXPECT_THROW(RunEngines(run, throwing), EConvertError);
    EXPECT_EQ(throwing.calls, (Calls { "Infoseek first", "Excite first" }));
}

TEST(SearchDriver, DataFileNameFallsBackForEmptyAndFolderNames)
{
    struct Case {
        const char* doc;
        const char* activity;
        const char* name;
    };
    const Case cases[] = {
        { "search.gw", "Searching Excite...", "search.gw" },
        { "", "Searching Excite...", "tempfile" },
        { "", "Searching Thunderstone...", "thunderstone" },
        { "", "Searching PlanetSearch...", "planetsearch" },
        { "..", "Searching Thunderstone...", "thunderstone" },
        { ".", "Searching Magellan...", "tempfile" },
        { "..", "Opening http://x/..", "tempfile" },
        { "...", "Searching Magellan...", "..." },
        { "", "Searching Thunderstone", "tempfile" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataFileNameFor(c.doc, c.activity), c.name) << c.doc << " / " << c.activity;
}

} // namespace
