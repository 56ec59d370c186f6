// The scheduler of parallel fetches, without a window: a listener that
// records what it is told, the engine simulator serving the pages.
#include "verify/FetchScheduler.h"
#include "core/Lines.h"
#include "support/EngineSim.h"
#include "support/QtCoreEnvironment.h"
#include "support/TempFolder.h"
#include "verify/PageScan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <tuple>

namespace orv::test
{
namespace
{

[[maybe_unused]] ::testing::Environment* const qtEnvironment
    = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

// A site page answered after `ms` milliseconds.
std::string slowPath(int site, int ms)
{
    char path[64];
    std::snprintf(path, sizeof path, "/fault/slow/%04d.html?ms=%d", site, ms);
    return path;
}

class Recorder final : public FetchListener
{
public:
    std::optional<int> seconds = 10;
    std::vector<std::string> events;
    std::vector<FetchEnd> ends;
    std::map<int, qint64> startedAt, endedAt; // ms since the run started
    std::vector<int> committed; // rows whose InRowOrder work ran, in order
    FetchScheduler* scheduler = nullptr;
    std::function<void(const FetchEnd&)> onEnd;
    QElapsedTimer clock;

    std::optional<int> TimeoutSeconds() override { return seconds; }
    void RowSkipped(int row) override { events.push_back("skipped " + std::to_string(row)); }
    void RowStarted(int row, const std::string&) override
    {
        events.push_back("started " + std::to_string(row));
        startedAt[row] = clock.elapsed();
    }
    void RowReceiving(int, const std::string&, long long) override { }
    void RowTimingOut(int row) override { events.push_back("timing out " + std::to_string(row)); }
    void DataFileFailed(int row, const std::string&) override { events.push_back("no file " + std::to_string(row)); }
    void RowEnded(const FetchEnd& end) override
    {
        events.push_back("ended " + std::to_string(end.row));
        endedAt[end.row] = clock.elapsed();
        ends.push_back(end);
        if (scheduler)
            scheduler->InRowOrder(end.row, [this, row = end.row] { committed.push_back(row); });
        if (onEnd)
            onEnd(end);
    }

    const FetchEnd* endOf(int row) const
    {
        for (const FetchEnd& e : ends)
            if (e.row == row)
                return &e;
        return nullptr;
    }
};

class FetchSchedulerTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(folder.path() + "data"); }

    std::unique_ptr<FetchScheduler> makeScheduler(int parallel, FetchSettings settings = {})
    {
        settings.parallel = parallel;
        settings.dataFolder = folder.path() + "data/";
        auto scheduler = std::make_unique<FetchScheduler>(settings, recorder);
        recorder.scheduler = scheduler.get();
        return scheduler;
    }

    // Runs until the scheduler is done, bounded in time.
    void run(FetchScheduler& scheduler, std::vector<FetchRow> rows, int limitMs = 20000)
    {
        recorder.clock.start();
        scheduler.Start(std::move(rows));
        QElapsedTimer bound;
        bound.start();
        while (!scheduler.Finished() && bound.elapsed() < limitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        ASSERT_TRUE(scheduler.Finished()) << "the run did not end in time";
    }

    bool dataFolderEmpty() const { return std::filesystem::is_empty(folder.path() + "data"); }

    TempFolder folder;
    Recorder recorder;
};

TEST(FetchSchedulerHostKey, SchemeHostInLowerCaseAndPort)
{
    EXPECT_EQ(FetchScheduler::HostKey("http://WWW.Example.com/a"), "http://www.example.com:80");
    EXPECT_EQ(FetchScheduler::HostKey("www.example.com/a"), "http://www.example.com:80");
    EXPECT_EQ(FetchScheduler::HostKey("http://www.example.com:8080/"), "http://www.example.com:8080");
    EXPECT_EQ(FetchScheduler::HostKey("https://www.example.com/"), "https://www.example.com:443");
    EXPECT_EQ(FetchScheduler::HostKey("http://user:pw@127.0.0.2:81"), "http://127.0.0.2:81");
}

// Twelve slow pages on two hosts with eight requests allowed: each host gets
// four at a time, never more, and together they fill all eight.
TEST_F(FetchSchedulerTest, KeepsRequestsInFlightWithinTheHostLimit)
{
    EngineSim::Options options;
    options.extraHosts = 1;
    EngineSim sim(options);
    std::vector<FetchRow> rows;
    for (int i = 0; i < 12; ++i) {
        const std::string host = i % 2 ? "127.0.0.2:" : "127.0.0.1:";
        rows.push_back({ i, "http://" + host + std::to_string(sim.port()) + slowPath(100 + i, 300), false });
    }
    auto scheduler = makeScheduler(8);
    run(*scheduler, rows);

    EXPECT_EQ(sim.maxOpenToOneAddress(), kPerHostLimit);
    int open = 0, most = 0;
    for (const SimConnection& c : sim.connections()) {
        open += c.open ? 1 : -1;
        most = std::max(most, open);
    }
    EXPECT_EQ(most, 8);
    ASSERT_EQ(recorder.ends.size(), 12u);
    for (const FetchEnd& end : recorder.ends) {
        EXPECT_FALSE(end.timedOut || end.aborted) << end.row;
        EXPECT_FALSE(end.dataFile.empty()) << end.row;
    }
    EXPECT_EQ(sim.requests().size(), 12u);
    // The first eight start in row order; after that each host takes its
    // own rows in row order as its requests end.
    std::vector<int> starts;
    for (const std::string& e : recorder.events)
        if (e.rfind("started ", 0) == 0)
            starts.push_back(std::stoi(e.substr(8)));
    ASSERT_EQ(starts.size(), 12u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(starts[static_cast<size_t>(i)], i);
    std::vector<int> even, odd;
    for (int row : starts)
        (row % 2 ? odd : even).push_back(row);
    EXPECT_TRUE(std::is_sorted(even.begin(), even.end()));
    EXPECT_TRUE(std::is_sorted(odd.begin(), odd.end()));
}

// Pages that finish in reverse order end their rows as they finish, but the
// work queued for row order runs in row order.
TEST_F(FetchSchedulerTest, WorkQueuedInRowOrderRunsInRowOrder)
{
    EngineSim sim;
    std::vector<FetchRow> rows;
    for (int i = 0; i < 4; ++i)
        rows.push_back({ i, sim.url(slowPath(200 + i, 600 - 150 * i)), false });
    rows.insert(rows.begin() + 2, FetchRow { 7, sim.url(slowPath(30, 0)), true });
    rows[3].row = 8;
    rows[4].row = 9;
    auto scheduler = makeScheduler(4);
    run(*scheduler, rows);

    std::vector<int> endOrder;
    for (const FetchEnd& end : recorder.ends)
        endOrder.push_back(end.row);
    EXPECT_EQ(endOrder, (std::vector<int> { 9, 8, 1, 0 }));
    EXPECT_EQ(recorder.committed, (std::vector<int> { 0, 1, 8, 9 }));
    EXPECT_EQ(recorder.events.front(), "skipped 7");
    EXPECT_EQ(sim.requests().size(), 4u) << "the skipped row is not fetched";
    EXPECT_TRUE(std::filesystem::exists(recorder.endOf(0)->dataFile)) << "the listener deletes the page file";
}

// Each request's time-out counts from its own start: a request that starts
// late is not cut short by an earlier request's clock.
TEST_F(FetchSchedulerTest, TimeOutCountsFromEachRequestsOwnStart)
{
    EngineSim sim;
    recorder.seconds = 1; // abandoned 2 s after its start
    const std::vector<FetchRow> rows = {
        { 0, sim.url(slowPath(40, 8000)), false },
        { 1, sim.url(slowPath(41, 1000)), false },
        { 2, sim.url(slowPath(42, 8000)), false },
    };
    auto scheduler = makeScheduler(2);
    run(*scheduler, rows);

    ASSERT_EQ(recorder.ends.size(), 3u);
    EXPECT_TRUE(recorder.endOf(0)->timedOut);
    EXPECT_FALSE(recorder.endOf(1)->timedOut);
    EXPECT_TRUE(recorder.endOf(2)->timedOut);
    EXPECT_TRUE(recorder.endOf(0)->dataFile.empty()) << "no page had arrived";
    const qint64 lateStart = recorder.startedAt[2];
    EXPECT_GE(lateStart, 900) << "row 2 waited for row 1's place";
    EXPECT_GE(recorder.endedAt[2] - lateStart, 1950);
    EXPECT_LT(recorder.endedAt[0], 5000) << "row 0 was abandoned, not waited for";
    EXPECT_EQ(recorder.events[recorder.events.size() - 2], "timing out 2");
}

// Abort ends every request in flight at once, rows in row order; rows not
// started stay untouched and no request follows.
TEST_F(FetchSchedulerTest, AbortEndsEveryRequestInFlightAndStartsNoMore)
{
    EngineSim sim;
    std::vector<FetchRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({ i, sim.url(slowPath(50 + i, i < 2 ? 0 : 15000)), false });
    auto scheduler = makeScheduler(8);
    FetchScheduler* s = scheduler.get();
    QObject timers; // goes before the scheduler does
    recorder.onEnd = [&](const FetchEnd& end) {
        if (end.row == 1 && !end.aborted) // row 0 and 1 answer at once
            QTimer::singleShot(200, &timers, [s] { s->Abort(); });
    };
    run(*scheduler, rows);

    EXPECT_TRUE(scheduler->Aborted());
    EXPECT_EQ(scheduler->InFlight(), 0);
    std::vector<int> aborted;
    for (const FetchEnd& end : recorder.ends)
        if (end.aborted)
            aborted.push_back(end.row);
    // One host takes four at a time: rows 0 and 1 made room for 4 and 5.
    EXPECT_EQ(aborted, (std::vector<int> { 2, 3, 4, 5 }));
    EXPECT_EQ(recorder.committed, (std::vector<int> { 0, 1, 2, 3, 4, 5 }));
    for (int row = 6; row < 10; ++row)
        EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), "started " + std::to_string(row)), 0);

    const size_t requestsAtAbort = sim.requests().size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.openConnections() == 0; }, 5000))
        << sim.openConnections() << " connections still open";
    EXPECT_EQ(sim.requests().size(), requestsAtAbort);
    for (const FetchEnd& end : recorder.ends)
        if (!end.dataFile.empty())
            DeleteFile(end.dataFile);
    EXPECT_TRUE(dataFolderEmpty());
}

TEST_F(FetchSchedulerTest, NothingStartsAfterAbort)
{
    EngineSim sim;
    auto scheduler = makeScheduler(4);
    scheduler->Abort();
    EXPECT_TRUE(scheduler->Finished());
    scheduler->Start({ { 0, sim.url(slowPath(1, 0)), false } });
    EXPECT_TRUE(recorder.events.empty());
}

// A seconds box without a whole number sends no request; the row ends as one
// where nothing arrived, and the run goes on.
TEST_F(FetchSchedulerTest, RowsWithoutATimeOutEndWithoutARequest)
{
    EngineSim sim;
    recorder.seconds = std::nullopt;
    std::vector<FetchRow> rows;
    for (int i = 0; i < 3000; ++i) // many, so that ending them must not nest
        rows.push_back({ i, sim.url(slowPath(i % 100, 0)), false });
    auto scheduler = makeScheduler(8);
    run(*scheduler, rows);
    ASSERT_EQ(recorder.ends.size(), 3000u);
    EXPECT_TRUE(recorder.ends.back().dataFile.empty());
    EXPECT_EQ(recorder.committed.size(), 3000u);
    EXPECT_TRUE(sim.requests().empty());
}

// A listener that fails ends the run: nothing more is fetched, the error is
// handed back, and no page file stays behind.
TEST_F(FetchSchedulerTest, ListenerErrorEndsTheRun)
{
    EngineSim sim;
    std::vector<FetchRow> rows;
    for (int i = 0; i < 6; ++i)
        rows.push_back({ i, sim.url(slowPath(70 + i, i == 0 ? 0 : 15000)), false });
    recorder.onEnd = [](const FetchEnd&) { throw std::runtime_error("disk on fire"); };
    auto scheduler = makeScheduler(3);
    run(*scheduler, rows);
    EXPECT_THROW(
        {
            try {
                scheduler->RethrowError();
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "disk on fire");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(scheduler->InFlight(), 0);
    EXPECT_EQ(recorder.ends.size(), 1u);
    EXPECT_TRUE(dataFolderEmpty());
}

// A data folder that cannot be written is reported per row; the document
// still counts as begun, as one request at a time records it.
TEST_F(FetchSchedulerTest, UnwritableDataFolderIsReportedAndTheRowStillEnds)
{
    EngineSim sim;
    std::filesystem::remove_all(folder.path() + "data");
    auto scheduler = makeScheduler(2);
    run(*scheduler, { { 0, sim.url("/site/0001.html"), false } });
    ASSERT_EQ(recorder.ends.size(), 1u);
    EXPECT_FALSE(recorder.ends[0].dataFile.empty());
    EXPECT_NE(std::find(recorder.events.begin(), recorder.events.end(), "no file 0"), recorder.events.end());
}

// Pages judged as they arrive give the verdict their page file gives, one
// at a time and sixteen at a time; a page cut off in transit or abandoned at
// its time-out is never judged.
TEST_F(FetchSchedulerTest, PagesJudgedAsTheyArriveGiveTheVerdictOfTheirFile)
{
    EngineSim sim;
    const WordLists lists = BuildWordLists("solar\nwind\ngarden", "guide", "harbour");
    FetchSettings settings;
    settings.judge = [&lists](const std::string& type) { return MakePageJudge(lists, MatchOn::PageSource, type); };
    std::vector<FetchRow> rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back({ i, sim.url("/site/00" + std::to_string(10 + i) + ".html"), false });
    rows.push_back({ 40, sim.url("/fault/cut/0041.html"), false });
    rows.push_back({ 41, sim.url(slowPath(42, 8000)), false });
    recorder.seconds = 1;
    int approved = 0;
    // The listener reads the page file before its name goes to another page.
    recorder.onEnd = [&](const FetchEnd& end) {
        if (end.row >= 40) {
            EXPECT_FALSE(end.judge) << "row " << end.row << " ended early and is not judged";
            EXPECT_TRUE(end.row == 40 ? end.bodyFailed : end.timedOut) << end.row;
            return;
        }
        ASSERT_TRUE(end.judge) << end.row;
        const ScanModes modes { MatchMode::Any, MatchMode::All };
        const ScanVerdict fromFile = ScanPageFile(end.dataFile, lists, modes), judged = end.judge->verdict(modes);
        EXPECT_EQ(std::tuple(judged.excluded, judged.approved(), judged.description),
            std::tuple(fromFile.excluded, fromFile.approved(), fromFile.description))
            << end.row;
        approved += judged.approved();
    };
    for (const int parallel : { 1, 16 }) {
        recorder.ends.clear();
        approved = 0;
        auto scheduler = makeScheduler(parallel, settings);
        run(*scheduler, rows);
        EXPECT_EQ(recorder.ends.size(), rows.size()) << parallel;
        EXPECT_GT(approved, 3) << parallel;
    }
}

} // namespace
} // namespace orv::test
