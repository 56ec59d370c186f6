#pragma once
// The scheduling of a retrieval run that keeps several requests in flight: a
// queue of rows in list order, up to `parallel` requests at once and at most
// `perHostLimit` of them to one host, each with a client and a page data file
// of its own and a time-out counted from its own start. The scheduler decides
// nothing about a row: how each request ended goes to the listener, which
// applies the same end-of-URL processing as a run of one request at a time.
//
// Rows end in the order their pages finish. Work whose result depends on the
// order of the rows (adding approved pages: the first of two equal URLs keeps
// its description) is handed to InRowOrder and runs once every earlier row
// has ended, so that it happens in the same order as one request at a time.
//
// With a judge in the settings, every page is also judged from memory as it
// arrives, on worker threads; its row ends once the judge has read the last
// byte, and the listener asks the judge for the verdict.
//
// Everything else runs on the user-interface thread, driven by the clients'
// events; the caller waits in its own event loop until Finished().
#include "net/HttpConnectionPool.h"
#include "verify/PageJudge.h"

#include <QObject>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orv
{

class JudgeWorkers;
class PageFeed;

// Requests to one host at a time, as link checkers allow themselves.
inline constexpr int kPerHostLimit = 4;

struct FetchRow {
    int row = 0; // position in the results view
    std::string url;
    bool skipped = false; // already ticked: no request; counted as checked
};

// How one row's request ended.
struct FetchEnd {
    int row = 0;
    std::string url;
    std::string dataFile; // the page data file once a document began, else empty
    bool timedOut = false; // its time-out ran out and the request was abandoned
    bool aborted = false; // Abort ended it
    // The page began but did not arrive whole or was not written, or the
    // request failed in TLS.
    bool bodyFailed = false;
    // Set when the page arrived whole and was judged as it came: the verdict
    // is asked of it, and the page file need not be read back. Never set
    // for a page that timed out, was aborted or failed.
    std::shared_ptr<PageJudge> judge = nullptr;
    std::string failReason = {}; // the client's reason phrase when bodyFailed
    std::string contentType {}; // the answer's Content-Type header value
};

// What the scheduler asks of the program and tells it. A listener call that
// throws ends the run as Abort does; the error is kept for RethrowError().
class FetchListener
{
public:
    virtual ~FetchListener() = default;

    // The seconds to wait for a request, read as it starts; nullopt sends no
    // request and ends the row as one where no document began.
    virtual std::optional<int> TimeoutSeconds() = 0;
    virtual void RowSkipped(int row) = 0;
    virtual void RowStarted(int row, const std::string& url) = 0;
    virtual void RowReceiving(int row, const std::string& docName, long long count) = 0;
    // The request of `row` is about to be abandoned for its time-out.
    virtual void RowTimingOut(int row) = 0;
    // The page data file could not be created; the body is dropped.
    virtual void DataFileFailed(int row, const std::string& path) = 0;
    virtual void RowEnded(const FetchEnd& end) = 0;
};

struct FetchSettings {
    int parallel = 1; // requests in flight at most
    int perHostLimit = kPerHostLimit;
    std::string dataFolder; // where page data files go; ends in "/"
    std::string proxy; // empty: no proxy
    std::string proxyPort = "80";
    bool http11 = false; // HTTP/1.1 with connections kept in `pool`
    std::shared_ptr<HttpConnectionPool> pool; // shared by the run's clients; made when missing
    // Makes the judge of a page from its Content-Type; empty: pages are only
    // written to their files.
    std::function<std::unique_ptr<PageJudge>(const std::string& contentType)> judge;
};

class FetchScheduler
{
public:
    FetchScheduler(FetchSettings settings, FetchListener& listener);
    // Ends whatever is still in flight without telling the listener, and
    // removes the page data files of those requests.
    ~FetchScheduler();
    FetchScheduler(const FetchScheduler&) = delete;
    FetchScheduler& operator=(const FetchScheduler&) = delete;

    // Takes the rows, in row order, and starts as many requests as allowed.
    // Skipped rows are reported at once.
    void Start(std::vector<FetchRow> rows);

    // Ends every request in flight at once: each row ends as aborted, in row
    // order; rows not started stay untouched and nothing more is fetched.
    // Work queued with InRowOrder for rows that ended runs before it returns.
    void Abort();

    // Every row has ended, or the run was aborted.
    bool Finished() const { return finished_; }
    bool Aborted() const { return aborted_; }

    // Runs `action` once every row before `row` has ended (at once when they
    // have). Meant to be called from RowEnded of `row`.
    void InRowOrder(int row, std::function<void()> action);

    // Rethrows the first error a listener call raised, if any.
    void RethrowError();

    int InFlight() const { return static_cast<int>(inFlight_.size()); }
    // Seconds left before the request nearest to its time-out is abandoned;
    // -1 when nothing is in flight.
    int SecondsLeft() const;

    // The host a request counts against: scheme, host in lower case, port.
    static std::string HostKey(const std::string& url);

private:
    struct Request;
    struct HostQueue {
        std::vector<size_t> waiting; // indexes into rows_, in row order
        size_t next = 0; // first of `waiting` not started
        int inFlight = 0;
        bool hasWaiting() const { return next < waiting.size(); }
    };

    void Pump();
    void StartRequest(size_t index);
    void Connect(Request& request);
    // Keeps a page that has passed its size bound to the bound and ends
    // its request.
    void CutAtPageLimit(Request& request, const char* data, int len);
    void RequestDone(Request* request);
    // The judge of the page of `index` has read every byte.
    void Judged(size_t index);
    // Ends, in row order, the rows whose pages are still being judged.
    void EndJudgedRows();
    void TimedOut(Request* request);
    // Ends the row of `index` and commits what can be committed.
    void EndRow(size_t index, const FetchEnd& end);
    // `freeSlot`: the request's page file name may go to the next request.
    void Release(Request* request, bool freeSlot = true);
    // One request of the host of rows_[index] has ended or never began.
    void HostFreed(size_t index);
    void CommitInOrder();
    void Fail();
    void RemoveRetired();
    void ScheduleRemoval();
    // Runs a listener call; an error it raises ends the run.
    template <typename F> bool Tell(F&& call);

    // Rows whose request has ended and whose page is still being judged.
    struct Judging {
        FetchEnd end;
        std::shared_ptr<PageFeed> feed;
        int slot = 0;
    };

    FetchSettings settings_;
    FetchListener& listener_;
    // The workers post to the context, and the requests' feeds need the
    // workers: they go in that order.
    QObject context_; // owner of the scheduler's timers and queued calls
    std::unique_ptr<JudgeWorkers> workers_;
    std::map<size_t, Judging> judging_;
    std::vector<FetchRow> rows_;
    std::vector<std::string> hostKeys_; // HostKey of each row's URL
    std::vector<bool> ended_;
    std::vector<std::vector<std::function<void()>>> queued_;
    size_t committed_ = 0; // rows_ before this have ended and run their queued work
    size_t endedCount_ = 0;
    std::map<std::string, HostQueue> hosts_;
    std::set<size_t> ready_; // head rows of hosts that have room, by position
    std::vector<std::unique_ptr<Request>> inFlight_;
    std::vector<std::unique_ptr<Request>> retired_;
    std::vector<int> freeSlots_;
    int nextSlot_ = 0;
    bool pumping_ = false;
    bool finished_ = false;
    bool aborted_ = false;
    int callbackDepth_ = 0;
    bool removalScheduled_ = false;
    std::exception_ptr error_;
};

} // namespace orv
