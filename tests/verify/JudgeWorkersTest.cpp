// Pages judged on worker threads while they arrive.
#include "verify/JudgeWorkers.h"

#include "support/QtCoreEnvironment.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

namespace orv::test
{
namespace
{

[[maybe_unused]] ::testing::Environment* const qtEnvironment
    = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

// Keeps what it was given; asks for no more once it holds `enough` bytes.
class TapeJudge final : public PageJudge
{
public:
    explicit TapeJudge(size_t enough = SIZE_MAX)
        : enough_(enough)
    {
    }
    bool add(std::string_view bytes) override
    {
        tape.append(bytes);
        return tape.size() < enough_;
    }
    ScanVerdict verdict(ScanModes) override { return {}; }

    std::string tape;

private:
    size_t enough_;
};

// A bound smaller than most pieces makes the sender wait for the workers
// again and again; every piece still arrives, in order. A judge that has
// enough gets no more, and a cancelled feed never ends.
TEST(JudgeWorkers, PiecesArriveInOrderThroughABoundedQueue)
{
    JudgeWorkers workers(2, 3);
    auto whole = std::make_unique<TapeJudge>(), enough = std::make_unique<TapeJudge>(4);
    TapeJudge *wholeJudge = whole.get(), *enoughJudge = enough.get();
    const std::shared_ptr<PageFeed> feeds[] = { workers.open(std::move(whole)), workers.open(std::move(enough)),
        workers.open(std::make_unique<TapeJudge>()) };
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        expected += std::to_string(i) + ",";
        for (const auto& feed : feeds)
            feed->add(std::to_string(i) + ",");
    }
    QObject context;
    std::vector<int> done;
    feeds[2]->cancel();
    for (int f = 0; f < 3; ++f)
        feeds[f]->finish(&context, [&done, f] { done.push_back(f); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.size() == 2; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::set<int>(done.begin(), done.end()), (std::set<int> { 0, 1 }));
    EXPECT_EQ(wholeJudge->tape, expected);
    EXPECT_EQ(enoughJudge->tape, "0,1,");
}

} // namespace
} // namespace orv::test
