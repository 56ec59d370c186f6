#pragma once
// How one URL of a retrieval run ends, decided from the state the request
// left behind: whether the row was skipped, the time-out and abort flags,
// and the current data file name. The retrieval handlers apply the result
// to the row, the counters and the application title.
#include <optional>
#include <string>
#include <string_view>

namespace orv
{

enum class UrlOutcome {
    Skipped, // the row was ticked: nothing fetched, counted as checked
    Timeout, // the countdown ran out: the partial page is thrown away, row stays unticked
    Document, // a page arrived: it is scanned, and the outcome becomes Verified or FileNotFound
    Verified, // the page was scanned (approved or not)
    FileNotFound, // the page file could not be read back
    SiteNotFound, // no document began (unknown host, refused, error status, empty body)
    Error, // the page was cut off or could not be written, or TLS failed: thrown away, row stays unticked
    Aborted, // Abort ended the request: a page that began is thrown away, the row keeps its text, unticked
};

// The outcome before the page scan. `dataFile` is the current data file name
// (empty when no document began); `aborted` tells that the run was aborted
// during this URL; `bodyFailed` that the page did not arrive whole or was
// not written, or that the request failed in TLS.
UrlOutcome ClassifyUrlEnd(
    bool skipped, bool timedOut, std::string_view dataFile, bool aborted, bool bodyFailed = false);

// The outcome of a Document once the scan has run: FileNotFound when the
// scan replaced the data file name by the error marker, else Verified.
UrlOutcome AfterScan(std::string_view dataFileAfterScan);

// What an outcome writes. `singlePage` is the "Scan Page" command, which
// takes a verified URL off "Total Urls" instead of counting it as checked.
struct UrlOutcomeEffects {
    std::optional<std::string> status; // Status column text; nullopt: unchanged
    bool tick = false; // tick the row (never untick)
    std::optional<std::string> title; // application title; nullopt: unchanged
    int checkedDelta = 0; // change of "Checked Urls"
    int rawDelta = 0; // change of "Total Urls"
    std::string reason; // why the row ended in "Error"; empty for every other outcome
};

// `failReason` is the client's reason phrase for a failed request; an
// "Error" always carries a reason, this one or a general one.
UrlOutcomeEffects EffectsOf(UrlOutcome outcome, bool singlePage, std::string_view failReason = {});

} // namespace orv
