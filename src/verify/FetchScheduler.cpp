#include "verify/FetchScheduler.h"

#include "core/Lines.h"
#include "core/Text.h"
#include "net/HttpProt.h"
#include "net/HttpUrl.h"
#include "verify/JudgeWorkers.h"
#include "verify/PageBound.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace orv
{

struct FetchScheduler::Request {
    size_t index = 0; // into rows_
    int slot = 0; // names the page data file; unique among requests in flight
    THttpCli client;
    std::unique_ptr<QFile> file;
    std::string dataFile; // set once a document began
    std::shared_ptr<PageFeed> feed; // the page's judge, while the page arrives
    QTimer deadline;
    QDeadlineTimer expires;
};

namespace
{

// A time-out of `seconds` abandons a request at the (seconds + 1)-th tick of
// a one-second timer started with it, as a run of one request at a time does.
int TimeoutMs(int seconds)
{
    const long long ms = (static_cast<long long>(std::max(seconds, 0)) + 1) * 1000;
    return static_cast<int>(std::min<long long>(ms, std::numeric_limits<int>::max()));
}

// Whatever arrived of a request that failed in TLS is not to be trusted,
// like a page cut off in transit.
bool RequestFailed(const THttpCli& client)
{
    return client.Failed();
}

// Why a failed request failed, as the client tells it.
std::string FailReason(const THttpCli& client)
{
    return RequestFailed(client) ? client.ReasonPhrase() : std::string();
}

} // namespace

FetchScheduler::FetchScheduler(FetchSettings settings, FetchListener& listener)
    : settings_(std::move(settings))
    , listener_(listener)
{
    settings_.parallel = std::max(settings_.parallel, 1);
    settings_.perHostLimit = std::max(settings_.perHostLimit, 1);
    if (settings_.http11 && !settings_.pool)
        settings_.pool = std::make_shared<HttpConnectionPool>(settings_.perHostLimit);
}

FetchScheduler::~FetchScheduler()
{
    for (auto& request : inFlight_) {
        request->client.OnDocBegin = nullptr;
        request->client.OnDocData = nullptr;
        request->client.OnDocEnd = nullptr;
        request->client.OnRequestDone = nullptr;
        try {
            request->client.Abort();
        } catch (...) {
        }
        request->client.RcvdStream = nullptr;
        if (request->file)
            request->file->close();
        if (!request->dataFile.empty())
            DeleteFile(request->dataFile);
    }
    for (auto& [index, judging] : judging_) {
        judging.feed->cancel();
        if (!judging.end.dataFile.empty())
            DeleteFile(judging.end.dataFile);
    }
}

std::string FetchScheduler::HostKey(const std::string& url)
{
    const TUrlParts parts = ParseURL(url);
    const std::string scheme = parts.proto.empty() ? std::string("http") : LowerCase(parts.proto);
    const std::string port = !parts.port.empty() ? parts.port : scheme == "https" ? "443" : "80";
    return scheme + "://" + LowerCase(parts.host) + ":" + port;
}

template <typename F> bool FetchScheduler::Tell(F&& call)
{
    if (error_)
        return false;
    try {
        call();
        return true;
    } catch (...) {
        error_ = std::current_exception();
        Fail();
        return false;
    }
}

void FetchScheduler::Start(std::vector<FetchRow> rows)
{
    rows_ = std::move(rows);
    ended_.assign(rows_.size(), false);
    queued_.assign(rows_.size(), {});
    hostKeys_.resize(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].skipped)
            continue;
        hostKeys_[i] = HostKey(rows_[i].url);
        HostQueue& host = hosts_[hostKeys_[i]];
        if (!host.hasWaiting())
            ready_.insert(i);
        host.waiting.push_back(i);
    }
    for (size_t i = 0; i < rows_.size() && !finished_; ++i) {
        if (rows_[i].skipped) {
            Tell([&] { listener_.RowSkipped(rows_[i].row); });
            ended_[i] = true;
            ++endedCount_;
        }
    }
    CommitInOrder();
    Pump();
    finished_ = finished_ || endedCount_ == rows_.size();
    RethrowError();
}

void FetchScheduler::Pump()
{
    // Rows that end without a request end inside this loop; the flag keeps
    // them from pumping again, which would nest once per such row.
    if (pumping_)
        return;
    pumping_ = true;
    while (!finished_ && static_cast<int>(inFlight_.size()) < settings_.parallel && !ready_.empty()) {
        const size_t index = *ready_.begin();
        ready_.erase(ready_.begin());
        HostQueue& host = hosts_[hostKeys_[index]];
        ++host.next;
        ++host.inFlight;
        if (host.hasWaiting() && host.inFlight < settings_.perHostLimit)
            ready_.insert(host.waiting[host.next]);
        StartRequest(index);
    }
    pumping_ = false;
}

void FetchScheduler::StartRequest(size_t index)
{
    const FetchRow& row = rows_[index];
    auto request = std::make_unique<Request>();
    request->index = index;

    std::optional<int> seconds;
    if (!Tell([&] { seconds = listener_.TimeoutSeconds(); }))
        return;
    if (!seconds) {
        // No time-out, no request: the row ends as one where nothing arrived.
        HostFreed(index);
        EndRow(index, FetchEnd { row.row, row.url, {}, false, false });
        return;
    }
    if (!Tell([&] { listener_.RowStarted(row.row, row.url); }))
        return;

    if (!freeSlots_.empty()) {
        request->slot = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        request->slot = nextSlot_++;
    }
    request->client.URL = row.url;
    request->client.Proxy = settings_.proxy;
    request->client.ProxyPort = settings_.proxyPort;
    request->client.Http11 = settings_.http11;
    request->client.Pool = settings_.pool;
    request->expires = QDeadlineTimer(TimeoutMs(*seconds));
    request->deadline.setSingleShot(true);
    request->deadline.setTimerType(Qt::PreciseTimer);
    request->deadline.setInterval(TimeoutMs(*seconds));
    Request* r = request.get();
    QObject::connect(&request->deadline, &QTimer::timeout, &context_, [this, r] { TimedOut(r); });
    inFlight_.push_back(std::move(request));
    Connect(*r);
    r->deadline.start();
    try {
        r->client.GetAsync();
    } catch (...) {
        // As with one request at a time, a request that cannot start is not
        // reported; it ends as one where no document began. Its client still
        // reports the end, which no longer matters.
        Release(r);
        EndRow(index, FetchEnd { rows_[index].row, rows_[index].url, {}, false, false });
    }
}

void FetchScheduler::Connect(Request& request)
{
    Request* r = &request;
    THttpCli& client = request.client;
    client.OnDocBegin = [this, r](THttpCli* sender) {
        r->dataFile = settings_.dataFolder + "fetch" + IntToStr(r->slot) + ".htm";
        r->file = std::make_unique<QFile>(QFile::decodeName(QByteArray::fromStdString(r->dataFile)));
        if (r->file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            sender->RcvdStream = r->file.get();
            if (settings_.judge) {
                ++callbackDepth_;
                Tell([&] {
                    if (!workers_)
                        workers_ = std::make_unique<JudgeWorkers>(JudgeWorkers::ThreadsFor(settings_.parallel));
                    r->feed = workers_->open(settings_.judge(sender->ContentType()));
                });
                --callbackDepth_;
            }
            return;
        }
        r->file.reset();
        ++callbackDepth_;
        Tell([&] { listener_.DataFileFailed(rows_[r->index].row, r->dataFile); });
        --callbackDepth_;
    };
    client.OnDocData = [this, r](THttpCli* sender, const char* data, int len) {
        ++callbackDepth_;
        Tell([&] { listener_.RowReceiving(rows_[r->index].row, sender->DocName(), sender->RcvdCount()); });
        --callbackDepth_;
        if (sender->RcvdCount() > kRetrievedPageLimit)
            CutAtPageLimit(*r, data, len);
        else if (r->feed && len > 0)
            r->feed->add(std::string_view(data, static_cast<size_t>(len)));
    };
    client.OnDocEnd = [r](THttpCli* sender) {
        sender->RcvdStream = nullptr;
        if (r->file)
            r->file->close();
    };
    client.OnRequestDone = [this, r](THttpCli*, THttpRequest, uint16_t) {
        ++callbackDepth_;
        RequestDone(r);
        --callbackDepth_;
    };
}

void FetchScheduler::CutAtPageLimit(Request& request, const char* data, int len)
{
    // The client writes the piece after this handler: the part within the
    // bound is written here and the file closed. The request then ends
    // without the abort or time-out flag, so the page that arrived is scanned.
    THttpCli& client = request.client;
    if (client.RcvdStream) {
        const long long keep = BytesWithinPageLimit(client.RcvdCount() - len, len);
        if (keep > 0) {
            client.RcvdStream->write(data, keep);
            if (request.feed)
                request.feed->add(std::string_view(data, static_cast<size_t>(keep)));
        }
        client.RcvdStream = nullptr;
        request.file->close();
    }
    try {
        client.Abort();
    } catch (...) {
    }
}

void FetchScheduler::RequestDone(Request* request)
{
    const size_t index = request->index;
    FetchEnd end { rows_[index].row, rows_[index].url, request->dataFile, false, false };
    end.bodyFailed = RequestFailed(request->client);
    end.contentType = request->client.ContentType();
    end.failReason = FailReason(request->client);
    std::shared_ptr<PageFeed> feed = std::move(request->feed);
    const bool judged = feed && !end.bodyFailed;
    // A page being judged keeps its file's name until its row has ended.
    Release(request, !judged);
    if (judged) {
        // The row ends once the judge has read the page; the next request
        // need not wait for it.
        judging_[index] = Judging { end, feed, request->slot };
        feed->finish(&context_, [this, index] { Judged(index); });
    } else {
        if (feed)
            feed->cancel();
        EndRow(index, end);
    }
    Pump();
    finished_ = finished_ || endedCount_ == rows_.size();
}

void FetchScheduler::Judged(size_t index)
{
    const auto at = judging_.find(index);
    if (at == judging_.end())
        return;
    FetchEnd end = std::move(at->second.end);
    end.judge = at->second.feed->judge();
    const int slot = at->second.slot;
    judging_.erase(at);
    EndRow(index, end);
    freeSlots_.push_back(slot);
    Pump();
    finished_ = finished_ || endedCount_ == rows_.size();
}

void FetchScheduler::EndJudgedRows()
{
    while (!judging_.empty() && !error_) {
        const size_t index = judging_.begin()->first;
        judging_.begin()->second.feed->wait();
        Judged(index);
    }
}

void FetchScheduler::TimedOut(Request* request)
{
    const size_t index = request->index;
    ++callbackDepth_;
    if (Tell([&] { listener_.RowTimingOut(rows_[index].row); })) {
        FetchEnd end { rows_[index].row, rows_[index].url, {}, true, false };
        try {
            request->client.Abort();
        } catch (...) {
        }
        end.dataFile = request->dataFile;
        end.contentType = request->client.ContentType();
        end.bodyFailed = RequestFailed(request->client);
        end.failReason = FailReason(request->client);
        Release(request);
        EndRow(index, end);
        Pump();
        finished_ = finished_ || endedCount_ == rows_.size();
    }
    --callbackDepth_;
}

void FetchScheduler::Release(Request* request, bool freeSlot)
{
    request->deadline.stop();
    THttpCli& client = request->client;
    client.OnDocBegin = nullptr;
    client.OnDocData = nullptr;
    client.OnDocEnd = nullptr;
    client.OnRequestDone = nullptr;
    client.RcvdStream = nullptr;
    if (request->file)
        request->file->close();
    if (request->feed) {
        request->feed->cancel();
        request->feed.reset();
    }
    HostFreed(request->index);
    if (freeSlot)
        freeSlots_.push_back(request->slot);
    const auto at
        = std::find_if(inFlight_.begin(), inFlight_.end(), [request](const auto& r) { return r.get() == request; });
    if (at != inFlight_.end()) {
        // The client may be the one whose event brought us here: it is
        // destroyed once nothing of it is on the stack.
        retired_.push_back(std::move(*at));
        inFlight_.erase(at);
        ScheduleRemoval();
    }
}

void FetchScheduler::HostFreed(size_t index)
{
    HostQueue& host = hosts_[hostKeys_[index]];
    --host.inFlight;
    if (host.hasWaiting() && host.inFlight < settings_.perHostLimit)
        ready_.insert(host.waiting[host.next]);
}

void FetchScheduler::EndRow(size_t index, const FetchEnd& end)
{
    // A row the listener could not finish leaves no page file behind.
    if (!Tell([&] { listener_.RowEnded(end); }) && !end.dataFile.empty())
        DeleteFile(end.dataFile);
    if (!ended_[index]) {
        ended_[index] = true;
        ++endedCount_;
    }
    CommitInOrder();
}

void FetchScheduler::InRowOrder(int row, std::function<void()> action)
{
    const auto at
        = std::lower_bound(rows_.begin(), rows_.end(), row, [](const FetchRow& r, int value) { return r.row < value; });
    const size_t index = static_cast<size_t>(at - rows_.begin());
    if (at == rows_.end() || at->row != row || index < committed_) {
        Tell(action);
        return;
    }
    queued_[index].push_back(std::move(action));
}

void FetchScheduler::CommitInOrder()
{
    while (committed_ < rows_.size() && ended_[committed_]) {
        auto actions = std::move(queued_[committed_]);
        ++committed_;
        for (auto& action : actions)
            Tell(action);
    }
}

void FetchScheduler::Abort()
{
    if (finished_)
        return;
    aborted_ = true;
    finished_ = true;
    // Every request stops before any row is told, so that nothing more
    // arrives while the listener works.
    for (auto& request : inFlight_) {
        try {
            request->client.Abort();
        } catch (...) {
        }
    }
    // Pages that arrived whole before the abort are judged to the end.
    EndJudgedRows();
    // The rows end in row order. A listener error on the way (Fail) ends
    // the requests still listed without telling their rows.
    while (!inFlight_.empty()) {
        Request* request = std::min_element(inFlight_.begin(), inFlight_.end(), [](const auto& a, const auto& b) {
            return a->index < b->index;
        })->get();
        const size_t index = request->index;
        FetchEnd end { rows_[index].row, rows_[index].url, request->dataFile, false, true };
        end.bodyFailed = RequestFailed(request->client);
        end.failReason = FailReason(request->client);
        Release(request);
        EndRow(index, end);
    }
    // Rows not started never end; what finished rows queued still runs, in
    // row order.
    for (size_t i = committed_; i < rows_.size(); ++i) {
        if (!ended_[i])
            continue;
        auto actions = std::move(queued_[i]);
        for (auto& action : actions)
            Tell(action);
    }
    committed_ = rows_.size();
}

void FetchScheduler::Fail()
{
    // A listener error ends the run at once; every request in flight stops
    // and its page data file goes, as nobody will scan it.
    finished_ = true;
    aborted_ = true;
    for (auto& request : inFlight_) {
        try {
            request->client.Abort();
        } catch (...) {
        }
    }
    while (!inFlight_.empty()) {
        Request* request = inFlight_.back().get();
        const std::string dataFile = request->dataFile;
        Release(request);
        if (!dataFile.empty())
            DeleteFile(dataFile);
    }
    for (auto& [index, judging] : judging_) {
        judging.feed->cancel();
        if (!judging.end.dataFile.empty())
            DeleteFile(judging.end.dataFile);
    }
    judging_.clear();
}

void FetchScheduler::RethrowError()
{
    if (error_) {
        std::exception_ptr error = error_;
        error_ = nullptr;
        std::rethrow_exception(error);
    }
}

int FetchScheduler::SecondsLeft() const
{
    qint64 nearest = -1;
    for (const auto& request : inFlight_) {
        const qint64 left = request->expires.remainingTime();
        if (nearest < 0 || left < nearest)
            nearest = left;
    }
    return nearest < 0 ? -1 : static_cast<int>((nearest + 999) / 1000);
}

void FetchScheduler::ScheduleRemoval()
{
    if (removalScheduled_)
        return;
    removalScheduled_ = true;
    QMetaObject::invokeMethod(
        &context_, [this] { RemoveRetired(); }, Qt::QueuedConnection);
}

void FetchScheduler::RemoveRetired()
{
    removalScheduled_ = false;
    // A nested event loop inside a listener call may run this while a
    // client's event is still on the stack; wait for the next turn then.
    if (callbackDepth_ > 0) {
        ScheduleRemoval();
        return;
    }
    retired_.clear();
}

} // namespace orv
