// What every download of the program relies on: the client's document
// events write the body into a file of the "data" folder, the one-second
// tick runs the time-out, and Abort ends the request in progress.
#include "app/TForm1.h"

#include "app/HandlerGuard.h"
#include "app/controls/EditBox.h"
#include "core/Text.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/SearchDriver.h"
#include "verify/PageBound.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using namespace orv;

bool TForm1::WireSearchRun()
{
    Httpcli1.OnDocBegin = [this](THttpCli*) { Httpcli1DocBegin(); };
    Httpcli1.OnDocData = [this](THttpCli*, const char* data, int len) { Httpcli1DocData(data, len); };
    Httpcli1.OnDocEnd = [this](THttpCli*) { Httpcli1DocEnd(); };
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    QObject::connect(Timer1, &QTimer::timeout, this, [this] { runGuarded([this] { Timer1Timer(); }); });
    return true;
}

void TForm1::SetActivity(const std::string& text)
{
    lblCurrentEngine->setText(toQ(text));
}

void TForm1::FreeReceiveStream()
{
    if (receiveFile_) {
        receiveFile_->close();
        receiveFile_.reset();
    }
    Httpcli1.RcvdStream = nullptr;
}

void TForm1::Httpcli1DocBegin()
{
    // A search request writes the file its engine query procedure named
    // before the request, the one the parser reads.
    run.currentDataFile = run.searchDataFile.empty()
        ? dataFolder() + DataFileNameFor(Httpcli1.DocName(), fromQ(lblCurrentEngine->text()))
        : run.searchDataFile;
    ++documentsBegun;
    FreeReceiveStream();
    auto file = std::make_unique<QFile>(QFile::decodeName(QByteArray::fromStdString(run.currentDataFile)));
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // Without a writable "data" folder the body is dropped; the run goes
        // on and says which file it could not create.
        dataFileError = "Cannot create " + run.currentDataFile;
        SetActivity(dataFileError);
        return;
    }
    receiveFile_ = std::move(file);
    Httpcli1.RcvdStream = receiveFile_.get();
}

void TForm1::Httpcli1DocData(const char* data, int len)
{
    ShowReceiving(run.currentUrlIndex, Httpcli1.DocName(), Httpcli1.RcvdCount());
    if (run.retrievalBusy && Httpcli1.RcvdCount() > kRetrievedPageLimit)
        CutRetrievedPage(data, len);
}

void TForm1::ShowReceiving(int row, const std::string& docName, long long count)
{
    SetActivity("Receiving " + (docName.empty() ? std::string(" Results") : docName));
    if (run.retrievalBusy) {
        const std::string text = "Receiving " + IntToStr(count);
        ShowRetrievalProgress(row, text);
    }
}

void TForm1::CutRetrievedPage(const char* data, int len)
{
    // The client writes the piece after this handler: the part within the
    // bound is written here, the file closed, and the request ended without
    // the abort or time-out flag, so the page that arrived is scanned.
    if (Httpcli1.RcvdStream) {
        const long long keep = BytesWithinPageLimit(Httpcli1.RcvdCount() - len, len);
        if (keep > 0)
            Httpcli1.RcvdStream->write(data, keep);
        FreeReceiveStream();
    }
    Httpcli1.Abort();
}

void TForm1::ShowRetrievalProgress(int row, const std::string& text)
{
    if (row >= 0 && row < ListView1->count())
        ListView1->setStatus(row, text);
    setWindowTitle(toQ(text));
}

void TForm1::Httpcli1DocEnd()
{
    if (Httpcli1.RcvdStream)
        FreeReceiveStream();
}

void TForm1::Timer1Timer()
{
    ShowCountdown(run.countdown);
    run.countdown -= 1;
    if (run.countdown >= 0)
        return;
    SetActivity("skipped....");
    Httpcli1.Abort();
    run.timeoutFlag = true;
    Timer1->stop();
    run.countdown = StrToInt(fromQ(edMaxSeconds->text()));
}

void TForm1::butAbortClick()
{
    if (Httpcli1.RcvdStream)
        FreeReceiveStream();
    butAbort->setEnabled(false);
    Httpcli1.Abort();
    butSearch->setEnabled(true);
    run.abortFlag = true;
    butRetrieve->setEnabled(true);
    HideRunIndicators();
    ProgressBar1->hide();
    ShowApprovedCount(static_cast<int>(approvedUrls.count()));
    SetLabelText(lblRawCount, IntToStr(masterUrls.count()));
    ShowRestingTitle();
    if (fetchScheduler_)
        AbortParallelFetches();
}
