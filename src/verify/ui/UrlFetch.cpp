// One URL of a retrieval run or a single-page scan: the request, the page
// scan, and the outcome written into the row.
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "net/HttpProt.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"
#include "verify/PageJudge.h"
#include "verify/UrlOutcome.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include <exception>

std::string TForm1::SetRequestUrl(int index)
{
    std::string url = orv::recordUrl(masterUrls.at(index));
    Httpcli1.URL = url;
    lblCurrentEngine->setText(orv::toQ("Opening " + url));
    return url;
}

void TForm1::ShowContacting(int row)
{
    // Multiple selection is off during a run: row `row` becomes the only
    // selected row.
    ListView1->clearSelection();
    ListView1->selectRow(row);
    ListView1->setCurrentRow(row);
    ListView1->scrollToRow(row);
    ListView1->setStatus(row, "Contacting");
    setWindowTitle(QStringLiteral("Contacting site"));
}

void TForm1::FetchUrl(int row)
{
    ShowContacting(row);
    // Failures here are not reported: the end-of-URL processing reads the
    // outcome from the state they leave. A seconds box that holds no whole
    // number sends no request, and the URL ends as "Site Not Found".
    run.bodyFailed = false;
    run.failReason.clear();
    try {
        Timer1->start();
        run.countdown = orv::StrToInt(orv::fromQ(edMaxSeconds->text()));
        run.abortFlag = false;
        Httpcli1.Http11 = chkHttp11->isChecked();
        Httpcli1.TargetAsGiven = false;
        Httpcli1.Get();
    } catch (const std::exception&) {
    }
    // A TLS failure is a failed request like a cut-off page: whatever
    // arrived before it is not to be trusted.
    run.bodyFailed = Httpcli1.Failed();
    if (run.bodyFailed)
        run.failReason = Httpcli1.ReasonPhrase();
    run.currentContentType = Httpcli1.ContentType();
}

orv::ScanVerdict TForm1::ScanThePage()
{
    orv::ScanVerdict verdict;
    try {
        // A page judged as it arrived is not read back; another is decoded by
        // its own character set and judged on what the user chose to match.
        if (run.pageJudge) {
            verdict = run.pageJudge->verdict(CurrentScanModes());
        } else {
            const auto judge = orv::MakePageJudge(criteria, CurrentMatchOn(), run.currentContentType);
            verdict = orv::JudgePageFile(run.currentDataFile, *judge, CurrentScanModes());
        }
    } catch (const std::exception&) {
        // The page cannot be read back: it is thrown away and the URL is
        // recorded as "File Not Found".
        FreeReceiveStream();
        orv::DeleteFile(run.currentDataFile);
        run.currentDataFile = std::string(orv::kPageErrorMarker);
        return {};
    }
    const int index = run.currentUrlIndex;
    if (verdict.description && index >= 0 && static_cast<size_t>(index) < masterDescriptions.size())
        masterDescriptions[static_cast<size_t>(index)] = *verdict.description;
    return verdict;
}

void TForm1::ApplyOutcome(int row, orv::UrlOutcome outcome, bool singlePage)
{
    const orv::UrlOutcomeEffects e = orv::EffectsOf(outcome, singlePage, run.failReason);
    if (row >= ListView1->count())
        return;
    if (e.tick)
        ListView1->setChecked(row, true);
    if (e.status) {
        ListView1->setStatus(row, *e.status, e.reason);
        ListView1->setSelected(row, false);
    }
    if (e.title)
        setWindowTitle(orv::toQ(*e.title));
    if (e.checkedDelta)
        AddToLabel(lblCheckedCount, e.checkedDelta);
    if (e.rawDelta)
        AddToLabel(lblRawCount, e.rawDelta);
}

void TForm1::EndOfUrl(int row, bool skipped, bool singlePage, const std::string& url)
{
    const bool aborted = lblCurrentEngine->text() == QStringLiteral("Aborted....");
    const orv::UrlOutcome outcome
        = orv::ClassifyUrlEnd(skipped, run.timeoutFlag, run.currentDataFile, aborted, run.bodyFailed);

    if (outcome == orv::UrlOutcome::Timeout) {
        run.timeoutFlag = false;
        FreeReceiveStream();
        if (!run.currentDataFile.empty())
            orv::DeleteFile(run.currentDataFile);
        ApplyOutcome(row, outcome, singlePage);
    } else if (!skipped) {
        if (outcome == orv::UrlOutcome::Error || outcome == orv::UrlOutcome::Aborted) {
            // A fragment of a page is not scanned, nor a page Abort cut
            // short; the next run fetches it again.
            FreeReceiveStream();
            if (!run.currentDataFile.empty())
                orv::DeleteFile(run.currentDataFile);
            ApplyOutcome(row, outcome, singlePage);
        } else if (outcome == orv::UrlOutcome::Document) {
            const orv::ScanVerdict verdict = ScanThePage();
            if (verdict.approved())
                ApprovePageInRowOrder(row, url);
            // A page that could not be read back left the error marker in
            // place of its name; its file is already gone.
            const orv::UrlOutcome arrived = orv::AfterScan(run.currentDataFile);
            ApplyOutcome(row, arrived, singlePage);
            if (arrived == orv::UrlOutcome::Verified)
                orv::DeleteFile(run.currentDataFile);
        } else {
            ApplyOutcome(row, outcome, singlePage);
        }
        lblCurrentEngine->setText(QStringLiteral("Streaming complete"));
        Timer1->stop();
        run.timeoutFlag = false;
    }

    if (run.currentDataFile == orv::kPageErrorMarker) {
        run.currentDataFile.clear();
        Timer1->stop();
        run.timeoutFlag = false;
    }
}

void TForm1::AddToLabel(QLabel* label, int delta)
{
    SetLabelText(label, orv::IntToStr(orv::StrToIntDef(orv::fromQ(label->text()), 0) + delta));
}
