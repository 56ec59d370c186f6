// The engine yield in the window: its outcome counts after a retrieval and
// the Edit menu's "Engine Yield" command.
#include "app/TForm1.h"

#include "platform/ui/DesktopLook.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"
#include "search/ui/TfrmYield.h"

void TForm1::RecountYieldOutcomes()
{
    if (!yield.searched())
        return;
    std::vector<orv::RecordOutcome> outcomes;
    outcomes.reserve(static_cast<size_t>(masterUrls.count()));
    for (int i = 0; i < masterUrls.count() && i < ListView1->count(); ++i) {
        orv::RecordOutcome outcome;
        outcome.url = orv::recordUrl(masterUrls.at(i));
        outcome.verified = ListView1->status(i) == orv::statusText(orv::UrlStatus::Verified);
        outcome.approved = approvedUrls.indexOf(outcome.url) >= 0;
        outcomes.push_back(std::move(outcome));
    }
    yield.countOutcomes(outcomes);
}

void TForm1::mnuEditYieldClick()
{
    if (!frmYield)
        frmYield = new TfrmYield(this);
    frmYield->showYield(yield.rows());
    orv::ShowOverOwner(frmYield, this);
}
