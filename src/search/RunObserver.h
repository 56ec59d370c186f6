#pragma once
// Someone who follows the runs from outside the window: the batch run
// prints their progress. The window calls it, when one is set, after each
// engine page of a search run and around each URL of a retrieval run.
#include "search/Engines.h"

#include <string>

namespace orv
{

class RunObserver
{
public:
    virtual ~RunObserver() = default;
    // One result page of `engine` was asked for and parsed; `links` of its
    // links were offered to the master list, which now holds `masterCount`.
    virtual void enginePageDone(Engine engine, int links, int masterCount) = 0;
    // A defined engine's outcome was applied: `pages` answers read, `links`
    // offered to the master list, which now holds `masterCount`.
    virtual void definedEngineDone(const std::string& /*name*/, int /*pages*/, int /*links*/, int /*masterCount*/) { }
    // Row `index` of `total` is about to be fetched.
    virtual void urlStarted(int index, int total, const std::string& url) = 0;
    // Row `index` ended with `statusText`; `skipped` when it was ticked.
    virtual void urlDone(int index, int total, const std::string& url, const std::string& statusText, bool skipped)
        = 0;
};

} // namespace orv
