#pragma once
// The flags and values shared by the search run, the parsers, the retrieval
// run and the event handlers that run nested inside a request. All of it
// lives on the user-interface thread; the main window owns one instance.
#include "search/Engines.h"

#include <array>
#include <memory>
#include <string>

namespace orv {

class PageJudge;

struct RunState {
    bool abortFlag = false;        // set by Abort; every later step of a run does nothing
    bool timeoutFlag = false;      // set when the countdown runs out; the next parser clears it
    int countdown = 0;             // seconds left for the current request
    std::string currentContentType; // Content-Type of the page being scanned
    std::string currentDataFile;   // full path of the data or page file being written or read
    std::string searchDataFile;    // the data file the search request in progress writes; empty otherwise
    int currentUrlIndex = 0;       // row of the results view the retrieval run is fetching
    bool retrievalBusy = false;    // a retrieval run is fetching
    bool bodyFailed = false;       // the last page began but did not arrive whole, or was not written
    std::shared_ptr<PageJudge> pageJudge; // the last page, judged as it arrived; empty: scan its file
    std::string failReason;        // why the last request failed, as the client said
    bool searchBusy = false;       // a search run is walking the engines
    std::array<PagingState, kEngineCount> paging{};

    PagingState& pagingOf(Engine e) { return paging[static_cast<size_t>(engineIndex(e))]; }
    const PagingState& pagingOf(Engine e) const { return paging[static_cast<size_t>(engineIndex(e))]; }

    void resetPaging()
    {
        for (Engine e : kAllEngines)
            pagingOf(e) = initialPagingState(e);
    }
};

} // namespace orv
