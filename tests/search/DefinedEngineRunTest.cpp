// The run of engines defined as data over the simulator's site pages, with a
// reader of the test's own: every answer gives one link (the page it came
// from) and, while the definition's page_size allows, a next page.
#include "search/DefinedEngineRun.h"

#include "search/EngineHosts.h"
#include "support/EngineSim.h"
#include "support/QtCoreEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace orv::test
{
namespace
{

[[maybe_unused]] auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

// First asks the definition's search_url; every answer links to itself;
// page_size is the number of pages an engine has; status 404 is a block.
class PageReader final : public AnswerReader
{
public:
    EngineRequest First(const EngineDefinition& def, std::string_view) override
    {
        EngineRequest r;
        r.url = def.searchUrl;
        return r;
    }
    EngineAnswer Read(const EngineDefinition& def, int status, const std::string&, std::string_view body,
        const std::string& answerUrl, const EngineRequest&, int pageno, std::string_view) override
    {
        EngineAnswer a;
        if (status == 404) {
            a.blocked = true;
            a.reason = "HTTP 404";
            return a;
        }
        a.links.push_back({ answerUrl, def.name, {} });
        a.claimed = static_cast<long long>(body.size() > 0 ? 1000 + pageno : 0);
        if (pageno < def.pageSize) {
            EngineRequest next;
            next.url = def.searchUrl + (def.searchUrl.find('?') == std::string::npos ? "?p=" : "&p=")
                + std::to_string(pageno + 1);
            a.next = next;
        }
        return a;
    }
};

class Quiet final : public DefinedRunListener
{
public:
    void EngineAsking(EngineId, const std::string& url) override { asked.push_back(url); }
    void EngineReceiving(EngineId, long long) override { }
    std::vector<std::string> asked;
};

EngineDefinition def(const std::string& name, const std::string& url, int pages = 1, int pauseMs = 0)
{
    EngineDefinition d;
    d.name = name;
    d.searchUrl = url;
    d.pageSize = pages;
    d.minIntervalMs = pauseMs;
    return d;
}

class DefinedRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EngineSim::Options options;
        options.faults = true;
        options.slowMs = 3000;
        sim = std::make_unique<EngineSim>(options);
    }

    // Runs the definitions, each asked for at most `maximum` links, until done.
    void runAll(std::vector<EngineDefinition> defs, int parallel, int maximum = 20, int seconds = 5)
    {
        definitions = std::move(defs);
        std::vector<DefinedJob> jobs;
        for (size_t i = 0; i < definitions.size(); ++i)
            jobs.push_back({ definedEngineId(static_cast<int>(i)), &definitions[i], {}, maximum });
        DefinedRunSettings settings;
        settings.parallel = parallel;
        settings.timeoutSeconds = seconds;
        settings.answerLimit = answerLimit;
        run = std::make_unique<DefinedEngineRun>(settings, std::move(jobs), listener, reader);
        run->Start();
        const QDeadlineTimer watchdog(15000);
        while (!run->Finished() && !watchdog.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
        ASSERT_TRUE(run->Finished()) << "the run hung";
    }

    std::string site(int n, const std::string& kind = "site") const
    {
        char path[40];
        std::snprintf(path, sizeof path, "/%s/%04d.html", kind.c_str(), n);
        return sim->url(kind == "site" ? path : std::string("/fault") + path);
    }

    std::unique_ptr<EngineSim> sim;
    std::vector<EngineDefinition> definitions;
    PageReader reader;
    Quiet listener;
    long long answerLimit = kDefinedAnswerLimit;
    std::unique_ptr<DefinedEngineRun> run;
};

TEST_F(DefinedRun, EnginesAreAskedAtOnceAndKeepTheirOutcomesInCatalogueOrder)
{
    // The first engine answers last; its outcome still comes first.
    runAll({ def("Slow", site(1, "slow") + "?ms=600"), def("Fast", site(2)), def("Fast2", site(3)) }, 3);
    ASSERT_EQ(run->JobCount(), 3u);
    EXPECT_EQ(run->Outcome(0).links.at(0).title, "Slow");
    EXPECT_EQ(run->Outcome(1).links.at(0).title, "Fast");
    int most = 0;
    for (const auto& c : sim->connections())
        most = std::max(most, c.openToAddress);
    EXPECT_GE(most, 2) << "the engines were asked one after another";
}

TEST_F(DefinedRun, OneEngineAtATimeWhenParallelIsOne)
{
    runAll({ def("A", site(1, "slow") + "?ms=200"), def("B", site(2)) }, 1);
    EXPECT_EQ(sim->maxOpenToOneAddress(), 1);
    EXPECT_EQ(run->Outcome(1).pages, 1);
}

TEST_F(DefinedRun, PagesFollowUntilTheMaximumOrTheLastPage)
{
    runAll({ def("Deep", site(5), 10), def("Short", site(6), 2) }, 2, 3);
    EXPECT_EQ(run->Outcome(0).pages, 3) << "three links were wanted, one a page";
    EXPECT_EQ(run->Outcome(0).links.size(), 3u);
    EXPECT_EQ(*run->Outcome(0).claimed, 1001) << "the first page's count";
    EXPECT_EQ(run->Outcome(1).pages, 2) << "the engine had two pages";
    EXPECT_EQ(run->Outcome(0).links[2].url, site(5) + "?p=3");
}

TEST_F(DefinedRun, TheLeastPauseBetweenTwoRequestsIsKept)
{
    QElapsedTimer clock;
    clock.start();
    runAll({ def("Paced", site(7), 3, 250) }, 1);
    EXPECT_EQ(run->Outcome(0).pages, 3);
    EXPECT_GE(clock.elapsed(), 500) << "two pauses of 250 ms";
}

struct EndCase {
    const char* name;
    std::string path; // below the simulator's address; "" keeps the fault below
    int seconds;
    long long limit;
    bool blocked;
    const char* reason; // start of the block reason or the failure
};

class DefinedRunEnds : public DefinedRun, public ::testing::WithParamInterface<EndCase>
{
};

TEST_P(DefinedRunEnds, AnEngineThatCannotGoOnEndsWithItsReasonAndTheOthersRun)
{
    const EndCase& c = GetParam();
    answerLimit = c.limit;
    runAll({ def("Odd", sim->url(c.path)), def("Fine", site(9)) }, 2, 20, c.seconds);
    const DefinedOutcome& odd = run->Outcome(0);
    std::string answered;
    for (const SimRequest& r : sim->requests())
        answered += r.status + " " + r.target + "\n";
    SCOPED_TRACE(answered);
    EXPECT_EQ(odd.blocked, c.blocked);
    EXPECT_EQ(odd.pages, 0);
    EXPECT_TRUE(odd.links.empty());
    const std::string why = c.blocked ? odd.reason : odd.failure;
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(why.rfind(c.reason, 0), 0u) << why;
    if (c.limit == kDefinedAnswerLimit) {
        EXPECT_EQ(run->Outcome(1).pages, 1) << "the other engine still ran";
    }
    EXPECT_EQ(DefinedReportLine("Odd", odd), std::string("Odd ") + (c.blocked ? "blocked" : "failed") + "\t\t\t" + why);
}

INSTANTIATE_TEST_SUITE_P(Ends, DefinedRunEnds,
    ::testing::Values(EndCase { "Blocked", "/fault/404/0004.html", 5, kDefinedAnswerLimit, true, "HTTP 404" },
        EndCase { "TimedOut", "/fault/slow/0004.html?ms=5000", 0, kDefinedAnswerLimit, false, "timed out" },
        EndCase { "TooLarge", "/site/0004.html", 5, 64, false, "answer larger than" },
        EndCase { "Reset", "/fault/reset/0004.html", 5, kDefinedAnswerLimit, false, "" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DefinedRun, AbortEndsEveryEngineAtOnce)
{
    definitions = { def("A", site(1, "slow") + "?ms=5000"), def("B", site(2, "slow") + "?ms=5000") };
    std::vector<DefinedJob> jobs { { definedEngineId(0), &definitions[0], {}, 20 },
        { definedEngineId(1), &definitions[1], {}, 20 } };
    DefinedRunSettings settings;
    settings.parallel = 2;
    DefinedEngineRun aborted(settings, std::move(jobs), listener, reader);
    aborted.Start();
    EXPECT_FALSE(aborted.Finished());
    aborted.Abort();
    EXPECT_TRUE(aborted.Finished());
    EXPECT_TRUE(aborted.Aborted());
    EXPECT_EQ(aborted.Outcome(0).pages + aborted.Outcome(1).pages, 0);
}

TEST_F(DefinedRun, EnginesTxtMovesAnEngineToAnotherOrigin)
{
    const EngineHosts hosts = EngineHosts::fromLines({ "Moved Engine = " + sim->url(""), "Excite=x.example:81" });
    EXPECT_EQ(hosts.host(Engine::Excite), "x.example:81") << "drawn lines read as before";
    EXPECT_EQ(hosts.definedOrigin("moved engine"), sim->url(""));
    definitions = { def("Moved Engine", "https://far.example/site/0003.html?q=a") };
    std::vector<DefinedJob> jobs { { definedEngineId(0), &definitions[0], hosts.definedOrigin("Moved Engine"), 20 } };
    DefinedEngineRun moved(DefinedRunSettings {}, std::move(jobs), listener, reader);
    moved.Start();
    const QDeadlineTimer watchdog(10000);
    while (!moved.Finished() && !watchdog.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
    ASSERT_EQ(listener.asked.size(), 1u);
    EXPECT_EQ(listener.asked[0], sim->url("/site/0003.html?q=a"));
    EXPECT_EQ(moved.Outcome(0).pages, 1);
}

} // namespace
} // namespace orv::test
