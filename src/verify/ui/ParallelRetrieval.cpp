// The Retrieve command with several requests in flight: the scheduler of the
// core library fetches, and the listener below applies what it reports to the
// rows with the same steps as the run of one request at a time (the
// "Contacting" and "Receiving" texts, the end-of-URL processing).
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "net/MessageWindow.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

class TForm1::RetrievalListener final : public orv::FetchListener
{
public:
    RetrievalListener(TForm1& form, int total)
        : form_(form)
        , total_(total)
    {
    }

    std::optional<int> TimeoutSeconds() override
    {
        // Read for every request, as one request at a time does; a box that
        // holds no whole number sends no request.
        int seconds = 0;
        if (!orv::TryStrToInt(orv::fromQ(form_.edMaxSeconds->text()), seconds))
            return std::nullopt;
        return seconds;
    }

    void RowSkipped(int row) override
    {
        form_.AddToLabel(form_.lblCheckedCount, 1);
        StepProgress();
        if (form_.runObserver && row < form_.ListView1->count() && row < form_.masterUrls.count())
            form_.runObserver->urlDone(
                row, total_, orv::recordUrl(form_.masterUrls.at(row)), form_.ListView1->status(row), true);
    }

    void RowStarted(int row, const std::string& url) override
    {
        if (row >= form_.ListView1->count())
            return;
        form_.lblCurrentEngine->setText(orv::toQ("Opening " + url));
        form_.ShowContacting(row);
        if (form_.runObserver)
            form_.runObserver->urlStarted(row, total_, url);
    }

    void RowReceiving(int row, const std::string& docName, long long count) override
    {
        form_.ShowReceiving(row, docName, count);
    }

    void RowTimingOut(int) override { form_.SetActivity("skipped...."); }

    void DataFileFailed(int, const std::string& path) override
    {
        form_.dataFileError = "Cannot create " + path;
        form_.SetActivity(form_.dataFileError);
    }

    void RowEnded(const orv::FetchEnd& end) override
    {
        // A command run meanwhile may have removed rows; a row that is gone
        // is not touched, but its page file still goes.
        if (end.row >= form_.ListView1->count() || end.row >= form_.masterUrls.count()) {
            if (!end.dataFile.empty())
                orv::DeleteFile(end.dataFile);
            return;
        }
        // The end-of-URL processing reads an aborted row from the activity
        // text, as it does after an abort of one request at a time.
        if (end.aborted)
            form_.lblCurrentEngine->setText(QStringLiteral("Aborted...."));
        form_.run.currentUrlIndex = end.row;
        form_.run.currentDataFile = end.dataFile;
        form_.run.currentContentType = end.contentType;
        form_.run.timeoutFlag = end.timedOut;
        form_.run.bodyFailed = end.bodyFailed;
        form_.run.pageJudge = end.judge;
        form_.run.failReason = end.failReason;
        form_.EndOfUrl(end.row, false, false, end.url);
        form_.run.currentDataFile.clear();
        form_.run.bodyFailed = false;
        form_.run.pageJudge.reset();
        form_.run.failReason.clear();
        StepProgress();
        if (form_.runObserver && end.row < form_.ListView1->count())
            form_.runObserver->urlDone(end.row, total_, end.url, form_.ListView1->status(end.row), false);
    }

private:
    // The progress bar counts the rows that have ended.
    void StepProgress() { form_.ProgressBar1->setValue(form_.ProgressBar1->value() + 1); }

    TForm1& form_;
    const int total_;
};

void TForm1::FetchInParallel(int total, int parallel)
{
    std::vector<orv::FetchRow> rows;
    rows.reserve(static_cast<size_t>(total));
    for (int i = 0; i < total && i < masterUrls.count() && i < ListView1->count(); ++i)
        rows.push_back({ i, orv::recordUrl(masterUrls.at(i)), ListView1->checked(i) });

    orv::FetchSettings settings;
    settings.parallel = parallel;
    settings.dataFolder = dataFolder();
    settings.proxy = clientProxy;
    settings.proxyPort = clientProxyPort;
    settings.http11 = chkHttp11->isChecked();
    // Pages are judged as they arrive, by the criteria accepted at that time.
    settings.judge = [this, matchOn = CurrentMatchOn()](const std::string& contentType) {
        return orv::MakePageJudge(criteria, matchOn, contentType);
    };
    RetrievalListener listener(*this, total);
    fetchScheduler_ = std::make_unique<orv::FetchScheduler>(settings, listener);
    // The scheduler goes on every way out; one still running stops its
    // requests and removes their page files.
    struct EndScheduler {
        std::unique_ptr<orv::FetchScheduler>& scheduler;
        ~EndScheduler() { scheduler.reset(); }
    } endScheduler { fetchScheduler_ };

    // The digit panel counts down the request nearest to its time-out.
    QTimer countdown;
    countdown.setInterval(1000);
    QObject::connect(&countdown, &QTimer::timeout, this, [this] {
        if (fetchScheduler_ && fetchScheduler_->SecondsLeft() >= 0)
            ShowCountdown(fetchScheduler_->SecondsLeft());
    });
    countdown.start();

    fetchScheduler_->Start(std::move(rows));
    {
        // Errors raised inside the clients' events are not reported, as with
        // one request at a time; a request one leaves hanging ends at its
        // time-out.
        orv::DeferredErrors clientErrors;
        while (!fetchScheduler_->Finished()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            if (clientErrors.HasError()) {
                try {
                    clientErrors.RethrowIfAny();
                } catch (...) {
                }
            }
        }
    }
    fetchScheduler_->RethrowError();
    if (fetchScheduler_->Aborted())
        return;
    ClearFocusRow();
    lblCurrentEngine->setText(QStringLiteral("All Urls completed"));
    ShowRestingTitle();
    ProgressBar1->hide();
}

void TForm1::AbortParallelFetches()
{
    run.abortFlag = false;
    lblCurrentEngine->setText(QStringLiteral("Aborted...."));
    fetchScheduler_->Abort();
    ProgressBar1->setValue(0);
}
