#include "search/DefinedEngineRun.h"

#include "core/Text.h"
#include "net/HttpProt.h"
#include "net/WinSockErrors.h"
#include "search/DefinedRequest.h"
#include "search/EngineHosts.h"

#include <QTimer>

#include <algorithm>
#include <limits>

namespace orv
{

struct DefinedEngineRun::EngineState {
    size_t index = 0; // into jobs_
    THttpCli client;
    DefinedOutcome outcome;
    EngineRequest request; // the request in flight or the next one
    std::string url; // where it went, after engines.txt
    std::string body;
    std::string location; // the last redirect of the answer
    bool overLimit = false;
    bool requesting = false;
    bool done = false;
    bool timedOut = false;
    uint64_t serial = 0; // counts requests, to drop the events of an ended one
    int pageno = 0;
    QElapsedTimer lastAsked;
    QTimer deadline;
};

namespace
{

int TimeoutMs(int seconds)
{
    const long long ms = (static_cast<long long>(std::max(seconds, 0)) + 1) * 1000;
    return static_cast<int>(std::min<long long>(ms, std::numeric_limits<int>::max()));
}

std::string LocationOf(const THttpCli& client)
{
    const std::vector<std::string>& header = client.RcvdHeader();
    if (header.empty())
        return {};
    const std::string& line = header.back();
    if (LowerCase(Copy(line, 1, 9)) != "location:")
        return {};
    return Trim(CopyFrom(line, 10));
}

} // namespace

DefinedEngineRun::DefinedEngineRun(
    DefinedRunSettings settings, std::vector<DefinedJob> jobs, DefinedRunListener& listener, AnswerReader& reader)
    : settings_(std::move(settings))
    , jobs_(std::move(jobs))
    , listener_(listener)
    , reader_(reader)
{
    settings_.parallel = std::max(settings_.parallel, 1);
    for (size_t i = 0; i < jobs_.size(); ++i) {
        auto engine = std::make_unique<EngineState>();
        engine->index = i;
        engines_.push_back(std::move(engine));
    }
}

DefinedEngineRun::~DefinedEngineRun()
{
    for (auto& engine : engines_) {
        engine->client.OnDocData = nullptr;
        engine->client.OnHeaderData = nullptr;
        engine->client.OnRequestDone = nullptr;
        engine->deadline.stop();
        try {
            engine->client.Abort();
        } catch (...) {
        }
    }
}

const DefinedOutcome& DefinedEngineRun::Outcome(size_t i) const
{
    return engines_[i]->outcome;
}

bool DefinedEngineRun::Finished() const
{
    return std::all_of(engines_.begin(), engines_.end(), [](const auto& e) { return e->done; });
}

int DefinedEngineRun::SecondsLeft() const
{
    int least = -1;
    for (const auto& engine : engines_) {
        if (!engine->requesting || !engine->deadline.isActive())
            continue;
        const int left = engine->deadline.remainingTime() / 1000;
        least = least < 0 ? left : std::min(least, left);
    }
    return least;
}

void DefinedEngineRun::Start()
{
    Pump();
}

void DefinedEngineRun::Pump()
{
    while (!aborted_ && active_ < settings_.parallel && nextToStart_ < engines_.size()) {
        EngineState& engine = *engines_[nextToStart_++];
        ++active_;
        const DefinedJob& job = jobs_[engine.index];
        if (job.maximum <= 0 || !job.definition) {
            Finish(engine);
            continue;
        }
        engine.pageno = 1;
        engine.request = reader_.First(*job.definition, settings_.query);
        Ask(engine);
    }
}

void DefinedEngineRun::Ask(EngineState& engine)
{
    const DefinedJob& job = jobs_[engine.index];
    const uint64_t serial = ++engine.serial;
    engine.url = RehostUrl(engine.request.url, job.origin);
    engine.body.clear();
    engine.location.clear();
    engine.overLimit = false;
    engine.timedOut = false;
    engine.requesting = true;
    engine.outcome.asked = true;
    engine.lastAsked.start();
    EngineState* e = &engine;
    engine.client.Proxy = settings_.proxy;
    engine.client.ProxyPort = settings_.proxyPort;
    engine.client.OnHeaderData = [e](THttpCli* sender) {
        const std::string location = LocationOf(*sender);
        if (!location.empty())
            e->location = location;
    };
    engine.client.OnDocData = [this, e](THttpCli* sender, const char* data, int len) {
        if (e->overLimit)
            return;
        if (static_cast<long long>(e->body.size()) + len > settings_.answerLimit) {
            // A page this large is not an engine's result page; it is not read.
            e->overLimit = true;
            QTimer::singleShot(0, &context_, [sender] { sender->Abort(); });
            return;
        }
        e->body.append(data, static_cast<size_t>(len));
        listener_.EngineReceiving(jobs_[e->index].id, static_cast<long long>(e->body.size()));
    };
    // The end is handled after the client's event has returned, so that the
    // next request never starts inside the client's own call.
    engine.client.OnRequestDone = [this, e, serial](THttpCli*, THttpRequest, uint16_t) {
        QTimer::singleShot(0, &context_, [this, e, serial] { Answered(*e, serial); });
    };
    engine.deadline.setSingleShot(true);
    engine.deadline.setTimerType(Qt::PreciseTimer);
    engine.deadline.setInterval(TimeoutMs(settings_.timeoutSeconds));
    QObject::disconnect(&engine.deadline, nullptr, &context_, nullptr);
    QObject::connect(&engine.deadline, &QTimer::timeout, &context_, [this, e, serial] { TimedOut(*e, serial); });
    listener_.EngineAsking(job.id, engine.url);
    engine.deadline.start();
    try {
        SendEngineRequest(engine.client, engine.request, engine.url);
    } catch (const std::exception& error) {
        // The client still reports the end of a request that could not start.
        engine.outcome.failure = error.what();
    }
}

void DefinedEngineRun::TimedOut(EngineState& engine, uint64_t serial)
{
    if (serial != engine.serial || !engine.requesting)
        return;
    engine.timedOut = true;
    engine.client.Abort();
}

void DefinedEngineRun::Answered(EngineState& engine, uint64_t serial)
{
    if (serial != engine.serial || !engine.requesting || engine.done)
        return;
    engine.requesting = false;
    engine.deadline.stop();
    if (aborted_)
        return Finish(engine);
    THttpCli& client = engine.client;
    const DefinedJob& job = jobs_[engine.index];
    if (engine.timedOut) {
        engine.outcome.failure = "timed out after " + IntToStr(settings_.timeoutSeconds) + " s";
        return Finish(engine);
    }
    if (engine.overLimit) {
        engine.outcome.failure
            = "answer larger than " + IntToStr(static_cast<int>(settings_.answerLimit / 1024)) + " KB";
        return Finish(engine);
    }
    if (client.BodyFailed() || client.TlsFailed()) {
        engine.outcome.failure = client.ReasonPhrase().empty() ? "the answer was cut off" : client.ReasonPhrase();
        return Finish(engine);
    }
    // Without a status line the client's status is its own (a request that
    // failed before any answer), not the engine's.
    const int status = client.RcvdHeader().empty() ? 0 : client.StatusCode();
    if (status <= 0) {
        if (engine.outcome.failure.empty())
            engine.outcome.failure = client.ReasonPhrase().empty() ? "no answer" : client.ReasonPhrase();
        return Finish(engine);
    }
    engine.outcome.failure.clear();
    const std::string answerUrl = engine.location.empty() ? engine.url : ResolveAgainst(engine.url, engine.location);
    const EngineAnswer answer = reader_.Read(*job.definition, status, engine.location, engine.body, answerUrl,
        engine.request, engine.pageno, settings_.query);
    engine.body.clear();
    if (answer.blocked) {
        engine.outcome.blocked = true;
        engine.outcome.reason = answer.reason.empty() ? "HTTP " + IntToStr(status) : answer.reason;
        return Finish(engine);
    }
    if (!answer.problem.empty()) {
        engine.outcome.failure = answer.problem;
        return Finish(engine);
    }
    if (status >= 400) {
        engine.outcome.failure = "HTTP " + IntToStr(status) + " " + client.ReasonPhrase();
        return Finish(engine);
    }
    ++engine.outcome.pages;
    if (!engine.outcome.claimed)
        engine.outcome.claimed = answer.claimed;
    for (const AnswerLink& link : answer.links) {
        if (static_cast<int>(engine.outcome.links.size()) >= job.maximum)
            break;
        engine.outcome.links.push_back(link);
    }
    const bool enough = static_cast<int>(engine.outcome.links.size()) >= job.maximum;
    if (enough || !answer.next || answer.links.empty() || engine.pageno >= settings_.pageLimit)
        return Finish(engine);
    engine.request = *answer.next;
    ++engine.pageno;
    AskAgain(engine);
}

void DefinedEngineRun::AskAgain(EngineState& engine)
{
    const int pause = jobs_[engine.index].definition->minIntervalMs;
    const long long waited = engine.lastAsked.isValid() ? engine.lastAsked.elapsed() : pause;
    const int delay = static_cast<int>(std::clamp<long long>(pause - waited, 0, std::numeric_limits<int>::max()));
    EngineState* e = &engine;
    QTimer::singleShot(delay, &context_, [this, e] {
        if (!aborted_ && !e->done)
            Ask(*e);
    });
}

void DefinedEngineRun::Finish(EngineState& engine)
{
    if (engine.done)
        return;
    engine.done = true;
    engine.requesting = false;
    --active_;
    Pump();
}

void DefinedEngineRun::Abort()
{
    if (aborted_)
        return;
    aborted_ = true;
    for (auto& engine : engines_) {
        if (engine->done)
            continue;
        engine->deadline.stop();
        engine->requesting = false;
        ++engine->serial; // the end the client still reports is dropped
        try {
            engine->client.Abort();
        } catch (...) {
        }
        engine->done = true;
    }
    active_ = 0;
}

std::string DefinedReportLine(const std::string& name, const DefinedOutcome& outcome)
{
    if (outcome.blocked)
        return name + " blocked\t\t\t" + outcome.reason;
    if (outcome.pages == 0 && !outcome.failure.empty())
        return name + " failed\t\t\t" + outcome.failure;
    // A claim of none beside links taken is no claim at all (SearXNG's
    // number_of_results is 0 when its engines tell no count).
    const long long taken = static_cast<long long>(outcome.links.size());
    const long long count = outcome.claimed && (*outcome.claimed > 0 || taken == 0) ? *outcome.claimed : taken;
    return name + " found\t\t\t" + std::to_string(count) + (count == 1 ? " url" : " urls");
}

std::string ResolveAgainst(const std::string& base, const std::string& location)
{
    const std::string lower = LowerCase(Copy(location, 1, 8));
    if (StartsWith(lower, "http://") || StartsWith(lower, "https://"))
        return location;
    const size_t scheme = base.find("://");
    const size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
    if (StartsWith(location, "//"))
        return base.substr(0, hostStart - (scheme == std::string::npos ? 0 : 2)) + location;
    const size_t pathStart = base.find_first_of("/?#", hostStart);
    const std::string origin = pathStart == std::string::npos ? base : base.substr(0, pathStart);
    if (StartsWith(location, "/"))
        return origin + location;
    std::string path = pathStart == std::string::npos ? std::string("/") : base.substr(pathStart);
    path = path.substr(0, path.find_first_of("?#"));
    return origin + path.substr(0, path.rfind('/') + 1) + location;
}

} // namespace orv
