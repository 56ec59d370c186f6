// "Your Results": the approved URL list, its descriptions and its view.
#include "app/TForm1.h"

#include "core/Text.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"
#include "verify/ApprovedList.h"
#include "verify/FetchScheduler.h"

#include <QLabel>

void TForm1::PopulateTheApprovedBox()
{
    lblCurrentEngine->setText(QStringLiteral("Sorting Data and Removing Duplicates...."));
    lblCurrentEngine->repaint();
    ListView2->beginUpdate();
    ListView2->clear();
    for (int i = 0; i < approvedUrls.count(); ++i)
        ListView2->addRow(approvedUrls.at(i));
    ListView2->endUpdate();
    ShowApprovedCount(approvedUrls.count());
}

void TForm1::ApprovePageInRowOrder(int row, const std::string& url)
{
    // With several requests in flight pages finish in any order; they are
    // added in row order, so that of two equal URLs the same one keeps its
    // description as with one request at a time.
    if (fetchScheduler_)
        fetchScheduler_->InRowOrder(row, [this, row, url] { ApprovePage(row, url); });
    else
        ApprovePage(row, url);
}

void TForm1::ApprovePage(int index, const std::string& url)
{
    ShowApprovedCount(orv::StrToIntDef(orv::fromQ(lblApprovedCount->text()), 0) + 1);
    std::string description = index >= 0 && static_cast<size_t>(index) < masterDescriptions.size()
        ? masterDescriptions[static_cast<size_t>(index)]
        : std::string(orv::kNoDescription);
    orv::AddApprovedUrl(approvedUrls, approvedDescriptions, url, std::move(description));
    // The row goes at the end for now; the view is rebuilt in sorted order
    // when the run or the scan ends.
    ListView2->addRow(url);
    const int last = approvedUrls.count() - 1;
    if (last >= 0 && last < ListView2->count())
        ListView2->scrollToRow(last, true);
}
