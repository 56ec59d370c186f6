#include "verify/JudgeWorkers.h"

#include <algorithm>

namespace orv
{

PageFeed::PageFeed(JudgeWorkers& workers, std::unique_ptr<PageJudge> judge)
    : workers_(workers)
    , judge_(std::move(judge))
{
}

void PageFeed::add(std::string_view bytes)
{
    if (bytes.empty())
        return;
    std::unique_lock lock(workers_.mutex_);
    // A piece larger than the bound still goes in once nothing else waits.
    workers_.room_.wait(lock, [&] {
        return workers_.stopping_ || workers_.pending_ == 0
            || workers_.pending_ + bytes.size() <= workers_.pendingLimit_;
    });
    if (workers_.stopping_ || finished_ || cancelled_ || enough_)
        return;
    pieces_.emplace_back(bytes);
    workers_.pending_ += bytes.size();
    if (!queued_) {
        queued_ = true;
        workers_.ready_.push_back(shared_from_this());
        workers_.work_.notify_one();
    }
}

void PageFeed::finish(QObject* context, std::function<void()> done)
{
    std::unique_lock lock(workers_.mutex_);
    if (finished_ || cancelled_)
        return;
    finished_ = true;
    context_ = context;
    done_ = std::move(done);
    if (!queued_) {
        // Nothing waits: the caller goes on at once, outside the lock.
        std::function<void()> now = std::move(done_);
        done_ = nullptr;
        lock.unlock();
        now();
    }
}

void PageFeed::cancel()
{
    const std::lock_guard lock(workers_.mutex_);
    cancelled_ = true;
    done_ = nullptr;
    for (const auto& piece : pieces_)
        workers_.pending_ -= piece.size();
    pieces_.clear();
    workers_.room_.notify_all();
}

void PageFeed::wait()
{
    std::unique_lock lock(workers_.mutex_);
    workers_.room_.wait(lock, [&] { return !queued_ || workers_.stopping_; });
}

JudgeWorkers::JudgeWorkers(int threads, size_t pendingLimit)
    : pendingLimit_(pendingLimit)
{
    for (int i = 0; i < std::max(threads, 1); ++i)
        threads_.emplace_back([this] { run(); });
}

JudgeWorkers::~JudgeWorkers()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    room_.notify_all();
    for (auto& t : threads_)
        t.join();
}

int JudgeWorkers::ThreadsFor(int parallel)
{
    // The receiving thread keeps one core busy; the scan runs near memory
    // speed, so a few workers serve many requests.
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(std::min(parallel, cores), 1, 4);
}

std::shared_ptr<PageFeed> JudgeWorkers::open(std::unique_ptr<PageJudge> judge)
{
    // A worker holds the feed while it judges, so it lives on until then
    // even when its owner lets it go.
    return std::shared_ptr<PageFeed>(new PageFeed(*this, std::move(judge)));
}

void JudgeWorkers::complete(PageFeed& feed)
{
    feed.queued_ = false;
    room_.notify_all();
    if (!feed.finished_ || feed.cancelled_ || !feed.done_)
        return;
    std::function<void()> done = std::move(feed.done_);
    feed.done_ = nullptr;
    QMetaObject::invokeMethod(feed.context_, std::move(done), Qt::QueuedConnection);
}

void JudgeWorkers::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [&] { return stopping_ || !ready_.empty(); });
        if (stopping_)
            return;
        const std::shared_ptr<PageFeed> feed = std::move(ready_.front());
        ready_.pop_front();
        while (!feed->pieces_.empty() && !stopping_) {
            const std::string piece = std::move(feed->pieces_.front());
            feed->pieces_.pop_front();
            const bool skip = feed->enough_ || feed->cancelled_;
            lock.unlock();
            const bool more = skip || feed->judge_->add(piece);
            lock.lock();
            feed->enough_ = feed->enough_ || !more;
            pending_ -= piece.size();
            room_.notify_all();
        }
        complete(*feed);
    }
}

} // namespace orv
