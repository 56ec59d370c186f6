#pragma once
// Worker threads that judge pages while they arrive, so that the thread that
// receives them only copies each piece into a queue. One PageFeed per page:
// its pieces are judged in order, one worker at a time. The bytes waiting in
// all feeds are bounded; a feed that would pass the bound makes its caller
// wait until the workers have judged enough, which at scan speed is a matter
// of a few milliseconds.
#include "verify/PageJudge.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace orv
{

class JudgeWorkers;

class PageFeed : public std::enable_shared_from_this<PageFeed>
{
public:
    // Queues a copy of the next bytes of the page for its judge. Bytes after
    // the judge has said the rest need not be read are dropped.
    void add(std::string_view bytes);
    // No more bytes come: `done` runs on the thread of `context` once every
    // byte queued has been judged (at once when none waits).
    void finish(QObject* context, std::function<void()> done);
    // Drops what waits; the judge is not asked again and `done` never runs.
    void cancel();
    // Waits until every byte queued has been judged.
    void wait();
    // The judge, to ask for the verdict once `done` has run or wait() has
    // returned.
    const std::shared_ptr<PageJudge>& judge() const { return judge_; }

private:
    friend class JudgeWorkers;
    PageFeed(JudgeWorkers& workers, std::unique_ptr<PageJudge> judge);

    JudgeWorkers& workers_;
    std::shared_ptr<PageJudge> judge_;
    // Guarded by the workers' mutex.
    std::deque<std::string> pieces_;
    bool queued_ = false; // waiting for a worker or being judged by one
    bool finished_ = false;
    bool cancelled_ = false;
    bool enough_ = false; // the judge needs no more bytes
    QObject* context_ = nullptr;
    std::function<void()> done_;
};

class JudgeWorkers
{
public:
    // `threads` workers (at least one); `pendingLimit` bytes may wait in all
    // feeds together.
    explicit JudgeWorkers(int threads, size_t pendingLimit = 4 << 20);
    // Stops the workers once the pieces they are judging are done; what
    // still waits is dropped and no `done` runs any more.
    ~JudgeWorkers();
    JudgeWorkers(const JudgeWorkers&) = delete;
    JudgeWorkers& operator=(const JudgeWorkers&) = delete;

    std::shared_ptr<PageFeed> open(std::unique_ptr<PageJudge> judge);

    // The workers a retrieval of `parallel` requests at once gets here.
    static int ThreadsFor(int parallel);

private:
    friend class PageFeed;
    void run();
    // With the mutex held: the feed's judging is over; runs or posts `done`.
    void complete(PageFeed& feed);

    const size_t pendingLimit_;
    std::mutex mutex_;
    std::condition_variable work_; // a feed is ready, or the workers stop
    std::condition_variable room_; // bytes were judged
    std::deque<std::shared_ptr<PageFeed>> ready_;
    size_t pending_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace orv
