#include "search/SearchDriver.h"

#include "net/HttpUrl.h"
#include "search/EngineCatalogue.h"

namespace orv
{

namespace
{

void runFurtherPages(RunState& run, SearchSteps& steps, Engine e)
{
    PagingState& paging = run.pagingOf(e);
    switch (enginePaging(e)) {
    case PagingKind::SinglePage:
        return;
    case PagingKind::PageValue: {
        // After the first page the page value holds the number of pages in
        // all; from here on it carries the start value of each request.
        const int pages = paging.page;
        for (int k = 1; k < pages && !run.abortFlag; ++k) {
            paging.page = furtherPageValue(e, k);
            steps.queryPage(e, false);
            steps.parsePage(e);
        }
        return;
    }
    case PagingKind::StartOffset: {
        const int requests = nextPageRequests(paging.resultCount);
        for (int i = 0; i < requests && !run.abortFlag; ++i) {
            steps.queryPage(e, false);
            steps.parsePage(e);
            paging.start += 10;
        }
        return;
    }
    }
}

} // namespace

void RunEngines(RunState& run, SearchSteps& steps)
{
    for (Engine e : kSearchOrder) {
        if (run.abortFlag)
            return;
        if (!steps.engineTicked(e))
            continue;
        steps.queryPage(e, true);
        steps.parsePage(e);
        runFurtherPages(run, steps, e);
    }
}

std::string DataFileNameFor(const std::string& documentName, const std::string& activityText)
{
    // "." and ".." would name the data folder or the program folder itself.
    if (!documentName.empty() && documentName != "." && documentName != "..")
        return documentName;
    if (activityText == "Searching Thunderstone...")
        return "thunderstone";
    if (activityText == "Searching PlanetSearch...")
        return "planetsearch";
    return "tempfile";
}

std::string EngineDataFileName(Engine e, const std::string& url)
{
    if (const auto fixed = fixedDataFileName(e))
        return *fixed;
    return DataFileNameFor(DocNameFromPath(ParseURL(url).path), engineActivityText(e));
}

} // namespace orv
