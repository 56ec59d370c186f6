#pragma once
// The search of the engines defined as data: every asked engine at the same
// time, up to `parallel` of them, each with a client of its own and one
// request at a time, page after page while its answers give a next page and
// its maximum is not reached, with the least pause its definition asks for
// between two of its requests and a time-out per request. What each engine
// gave is kept per engine, so that the caller applies the outcomes in
// catalogue order, whatever order the answers came in.
//
// Everything runs on the user-interface thread, driven by the clients'
// events; the caller waits in its own event loop until Finished().
#include "engines/EngineDefinition.h"
#include "search/EngineYield.h"

#include <QElapsedTimer>
#include <QObject>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

class THttpCli;

// What builds requests and reads answers; the definitions' own readers in
// the program, a fake in tests.
class AnswerReader
{
public:
    virtual ~AnswerReader() = default;
    virtual EngineRequest First(const EngineDefinition& def, std::string_view query) = 0;
    virtual EngineAnswer Read(const EngineDefinition& def, int status, const std::string& location,
        std::string_view body, const std::string& answerUrl, const EngineRequest& asked, int pageno,
        std::string_view query)
        = 0;
};

// The reader over the definitions (FirstRequest, ReadAnswer).
AnswerReader& DefinitionAnswerReader();

// An answer is read whole into memory; a larger one is a failure.
inline constexpr long long kDefinedAnswerLimit = 8LL * 1024 * 1024;
// Pages asked of one engine in one search at most, whatever its answers say.
inline constexpr int kDefinedPageLimit = 50;

struct DefinedJob {
    EngineId id = 0;
    const EngineDefinition* definition = nullptr; // owned by the caller, outlives the run
    std::string origin; // engines.txt's "scheme://host[:port]" for it; empty: as defined
    int maximum = 20; // links wanted at most
};

struct DefinedOutcome {
    bool asked = false; // a request was sent
    int pages = 0; // answers read
    std::vector<AnswerLink> links; // in page order, at most the maximum
    std::optional<long long> claimed; // the first count an answer claimed
    bool blocked = false;
    std::string reason; // why blocked
    std::string failure; // why an answer was lost ("timed out", "HTTP 500", ...); empty when none
};

class DefinedRunListener
{
public:
    virtual ~DefinedRunListener() = default;
    virtual void EngineAsking(EngineId id, const std::string& url) = 0;
    virtual void EngineReceiving(EngineId id, long long bytes) = 0;
};

struct DefinedRunSettings {
    int parallel = 1; // engines asked at once
    int timeoutSeconds = 30; // a request is abandoned after seconds + 1
    std::string query; // the UTF-8 query words, joined by blanks
    std::string proxy;
    std::string proxyPort = "80";
    long long answerLimit = kDefinedAnswerLimit;
    int pageLimit = kDefinedPageLimit;
};

class DefinedEngineRun
{
public:
    DefinedEngineRun(DefinedRunSettings settings, std::vector<DefinedJob> jobs, DefinedRunListener& listener,
        AnswerReader& reader = DefinitionAnswerReader());
    // Ends every request still in flight without telling the listener.
    ~DefinedEngineRun();
    DefinedEngineRun(const DefinedEngineRun&) = delete;
    DefinedEngineRun& operator=(const DefinedEngineRun&) = delete;

    // Asks the first engines; returns at once.
    void Start();
    // Ends every request at once; what was read before stays.
    void Abort();
    bool Finished() const;
    bool Aborted() const { return aborted_; }

    size_t JobCount() const { return jobs_.size(); }
    const DefinedJob& Job(size_t i) const { return jobs_[i]; }
    const DefinedOutcome& Outcome(size_t i) const;
    // Seconds left before the request nearest its time-out is abandoned; -1 when none is in flight.
    int SecondsLeft() const;

private:
    struct EngineState;

    void Pump();
    void Ask(EngineState& engine);
    void Answered(EngineState& engine, uint64_t serial);
    void TimedOut(EngineState& engine, uint64_t serial);
    void Finish(EngineState& engine);
    // Asks the next page after the engine's least pause.
    void AskAgain(EngineState& engine);

    DefinedRunSettings settings_;
    std::vector<DefinedJob> jobs_;
    DefinedRunListener& listener_;
    AnswerReader& reader_;
    std::vector<std::unique_ptr<EngineState>> engines_;
    size_t nextToStart_ = 0;
    int active_ = 0;
    bool aborted_ = false;
    QObject context_; // owner of the run's timers and queued calls; goes first
};

// The engine report line of a defined engine: "<name> found\t\t\t<n> urls"
// (the count it claimed, else, or when it claims none beside links, the links it gave), "<name> blocked\t\t\t<reason>"
// or "<name> failed\t\t\t<why>" when no answer was read.
std::string DefinedReportLine(const std::string& name, const DefinedOutcome& outcome);

// `location` resolved against the URL it answered (`base`).
std::string ResolveAgainst(const std::string& base, const std::string& location);

} // namespace orv
