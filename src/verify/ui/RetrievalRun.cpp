// The Retrieve command and the "Scan Page" command: fetch the pages of the
// results view, scan them, and record each outcome in its row.
#include "app/TForm1.h"

#include "app/controls/NumberBox.h"
#include "core/Text.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace
{

void reportUrlDone(const TForm1& form, int row, int total, const std::string& url, bool skipped)
{
    if (form.runObserver && row < form.ListView1->count())
        form.runObserver->urlDone(row, total, url, form.ListView1->status(row), skipped);
}

} // namespace

void TForm1::butRetrieveClick()
{
    // A run inside a run would share the client and the rows with it.
    if (RefusedWhileListsBusy())
        return;
    run.abortFlag = false;
    run.timeoutFlag = false;
    butRetrieve->setEnabled(false);
    butAbort->setEnabled(true);
    ShowRunIndicators();
    run.retrievalBusy = true;
    ShowApprovedCount(approvedUrls.count());
    SetLabelText(lblRawCount, orv::IntToStr(masterUrls.count()));
    butSearch->setEnabled(false);
    ListView1->setFocus();
    ListView1->setMultiSelect(false);
    run.currentUrlIndex = 0;
    try {
        FetchTheHTML();
    } catch (...) {
        // An error ends the run as an abort would: the window is left ready
        // for the next command, then the error is shown.
        EndRetrieval();
        throw;
    }
    EndRetrieval();
}

void TForm1::EndRetrieval()
{
    ListView1->setMultiSelect(true);
    PopulateTheApprovedBox();
    RecountYieldOutcomes();
    lblCurrentEngine->setText(QStringLiteral("Done."));
    butSearch->setEnabled(true);
    HideRunIndicators();
    butAbort->setEnabled(false);
    run.retrievalBusy = false;
    butRetrieve->setEnabled(true);
    ProgressBar1->hide();
}

void TForm1::FetchTheHTML()
{
    const int total = masterUrls.count();
    lblCurrentEngine->setText(QStringLiteral("Scanning..."));
    ProgressBar1->setRange(0, total);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    SetLabelText(lblRawCount, orv::IntToStr(total));
    SetLabelText(lblCheckedCount, "0");

    const int parallel = spinParallelFetches->value();
    if (parallel > 1) {
        FetchInParallel(total, parallel);
        return;
    }
    for (int i = 0; i < total; ++i) {
        // A command run inside a request may have removed rows; the run
        // addresses rows by position and stops rather than touch one that
        // is gone.
        if (i >= masterUrls.count() || i >= ListView1->count())
            break;
        run.abortFlag = false;
        run.timeoutFlag = false;
        run.currentUrlIndex = i;
        const bool skipped = ListView1->checked(i);
        if (skipped)
            AddToLabel(lblCheckedCount, 1);
        run.currentDataFile.clear();
        ProgressBar1->setValue(ProgressBar1->value() + 1);
        const std::string url = SetRequestUrl(i);
        if (runObserver && !skipped)
            runObserver->urlStarted(i, total, url);
        if (!skipped)
            FetchUrl(i);
        if (run.abortFlag) {
            run.abortFlag = false;
            lblCurrentEngine->setText(QStringLiteral("Aborted...."));
            ProgressBar1->setValue(0);
            EndOfUrl(i, skipped, false, Httpcli1.URL);
            reportUrlDone(*this, i, total, url, skipped);
            return;
        }
        EndOfUrl(i, skipped, false, Httpcli1.URL);
        reportUrlDone(*this, i, total, url, skipped);
        ClearFocusRow();
    }
    lblCurrentEngine->setText(QStringLiteral("All Urls completed"));
    ShowRestingTitle();
    ProgressBar1->hide();
}

void TForm1::popScanPageClick()
{
    // While a request waits (a retrieval run, or a page of a search run) the
    // client is taken: a second request inside it would tear it down.
    if (run.retrievalBusy || Httpcli1.State() != orv::THttpState::Idle)
        return;
    const int row = ListView1->firstSelected();
    if (row < 0)
        return;
    FetchOnePage(row);
    PopulateTheApprovedBox();
    RecountYieldOutcomes();
}

void TForm1::FetchOnePage(int index)
{
    if (index < 0 || index >= masterUrls.count() || index >= ListView1->count())
        return;
    butRetrieve->setEnabled(false);
    butAbort->setEnabled(true);
    // A search started inside the request would empty the lists under it.
    butSearch->setEnabled(false);
    ShowRunIndicators();
    run.retrievalBusy = true;
    try {
        run.currentUrlIndex = index;
        run.currentDataFile.clear();
        SetRequestUrl(index);
        FetchUrl(index);
        if (run.abortFlag) {
            // The Abort command has already restored the buttons and the
            // animation.
            run.abortFlag = false;
            lblCurrentEngine->setText(QStringLiteral("Aborted...."));
            EndOfUrl(index, false, true, Httpcli1.URL);
            run.retrievalBusy = false;
            return;
        }
        EndOfUrl(index, false, true, Httpcli1.URL);
        ClearFocusRow();
    } catch (...) {
        EndSinglePageScan();
        throw;
    }
    lblCurrentEngine->setText(QStringLiteral("All Urls completed"));
    ShowRestingTitle();
    EndSinglePageScan();
}

void TForm1::EndSinglePageScan()
{
    butRetrieve->setEnabled(true);
    butAbort->setEnabled(false);
    butSearch->setEnabled(true);
    HideRunIndicators();
    run.retrievalBusy = false;
}

void TForm1::ClearFocusRow()
{
    ListView1->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}
