#include "verify/UrlOutcome.h"

#include "verify/Criteria.h"

namespace orv
{

UrlOutcome ClassifyUrlEnd(bool skipped, bool timedOut, std::string_view dataFile, bool aborted, bool bodyFailed)
{
    if (timedOut)
        return UrlOutcome::Timeout;
    if (skipped)
        return UrlOutcome::Skipped;
    // Abort cut whatever was arriving: a page without Content-Length looks
    // whole, but it is a fragment and is never judged.
    if (aborted)
        return UrlOutcome::Aborted;
    if (bodyFailed)
        return UrlOutcome::Error;
    if (!dataFile.empty())
        return UrlOutcome::Document;
    return UrlOutcome::SiteNotFound;
}

UrlOutcome AfterScan(std::string_view dataFileAfterScan)
{
    return dataFileAfterScan == kPageErrorMarker ? UrlOutcome::FileNotFound : UrlOutcome::Verified;
}

UrlOutcomeEffects EffectsOf(UrlOutcome outcome, bool singlePage, std::string_view failReason)
{
    UrlOutcomeEffects e;
    switch (outcome) {
    case UrlOutcome::Skipped:
        e.checkedDelta = 1;
        break;
    case UrlOutcome::Timeout:
        e.status = "Timeout";
        e.title = "Site Timed Out";
        break;
    case UrlOutcome::Document:
    case UrlOutcome::Verified:
        e.status = "Verified";
        e.title = "Site Verified";
        e.tick = true;
        break;
    case UrlOutcome::FileNotFound:
        e.status = "File Not Found";
        e.title = "File Not Found";
        e.tick = true;
        break;
    case UrlOutcome::SiteNotFound:
        e.status = "Site Not Found";
        e.title = "Site Not Found";
        e.tick = true;
        break;
    case UrlOutcome::Error:
        e.status = "Error";
        e.title = "Site Error";
        e.reason = failReason.empty() ? std::string("the page did not arrive whole") : std::string(failReason);
        break;
    case UrlOutcome::Aborted:
        break;
    }
    // A page that arrived counts, whether or not it could be read back.
    if (outcome == UrlOutcome::Document || outcome == UrlOutcome::Verified || outcome == UrlOutcome::FileNotFound) {
        if (singlePage)
            e.rawDelta = -1;
        else
            e.checkedDelta = 1;
    }
    return e;
}

} // namespace orv
