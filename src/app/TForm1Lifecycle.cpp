// The main window's life: its creation steps, the two-list layout with the
// splitter, the minimum size, the tab geometry and the close.
#include "app/TForm1.h"

#include "app/HandlerGuard.h"
#include "app/TfrmAbout.h"
#include "app/controls/PageControl.h"
#include "app/controls/Splitter.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/ui/Animate.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/UrlListView.h"

#include <QLabel>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <functional>

namespace
{

constexpr int kMinWidth = 512;
constexpr int kMinHeight = 256;
constexpr int kSplitterWidth = 3;
constexpr int kStatusColumnWidth = 120;

} // namespace

void TForm1::FormCreate()
{
    setWindowTitle(QStringLiteral("Orvalen"));
    // An unreadable options file is reported; creation goes on so that the
    // window ends up complete and usable.
    orv::runGuarded([this] { OptionsCreate(); });

    run.retrievalBusy = false;
    splitterCreated = false;

    lblCurrentEngine->setText(QStringLiteral("Ready"));
    ProgressBar1->hide();
    run.currentDataFile.clear();
    Animate1->setFileName(orv::pathToQ(programFolder() + orv::kAnimationFileName));

    ListView1->setColumnWidth(0, ListView1->width() - kStatusColumnWidth);
    ListView1->setColumnWidth(1, kStatusColumnWidth);
    SetupTheSplitter();

    butAbort->setEnabled(false);
    butRetrieve->setEnabled(false);
    placePage1(100);
    Page1->setCurrentWidget(TabSheet1);
    memPrimarySearchCriteria->clear();
    memSecondarySearchCriteria->clear();
    memExclusionCriteria->clear();
    butProxyOk->setEnabled(false);
    imgLogo->show();
}

void TForm1::SetupTheSplitter()
{
    if (splitterCreated)
        return;
    splitterCreated = true;

    listViewWidth_ = ListView1->width() / 8 * 5;
    TheSplitter = new orv::Splitter(listArea);
    TheSplitter->setObjectName(QStringLiteral("TheSplitter"));
    connect(TheSplitter, &orv::Splitter::dragged, this, [this](int left) {
        const int most = listArea->width() - kSplitterWidth - orv::Splitter::kMinSize;
        listViewWidth_ = std::max(orv::Splitter::kMinSize, std::min(left, most));
        layoutListArea();
    });
    TheSplitter->setToolTip(QStringLiteral("Drag to share the width between the two lists"));
    connect(TheSplitter, &orv::Splitter::moved, this, [this] { orv::runGuarded([this] { TheSplitterOnMoved(); }); });
    TheSplitter->show();
    ListView2->show();
    layoutListArea();

    ListView2->setColumnWidth(0, ListView2->width());
    ListView1->setColumnWidth(0, ListView1->width() - kStatusColumnWidth);
    ListView1->setColumnWidth(1, kStatusColumnWidth);
    approvedCounterLeft_ = TheSplitter->x();
    placeApprovedCounter();
    ProgressBar1->move(ListView2->x(), ProgressBar1->y());
}

void TForm1::MoveSplitterTo(int left)
{
    if (!TheSplitter)
        return;
    listViewWidth_ = std::max(orv::Splitter::kMinSize, left);
    layoutListArea();
    TheSplitterOnMoved();
}

void TForm1::placeApprovedCounter()
{
    // While the "Main" tab is narrower than the counter's place, the counter
    // moves in rather than being cut off; it goes back as the tab widens.
    const int content = lblConfirmed->x() + lblConfirmed->width();
    const int most = std::max(0, Panel3->width() - content - 4);
    Panel6->move(std::min(approvedCounterLeft_, most), Panel6->y());
}

void TForm1::layoutListArea()
{
    if (!listArea || !ListView1)
        return;
    const int w = listArea->width();
    const int h = listArea->height();
    if (!TheSplitter) {
        ListView1->setGeometry(0, 0, w, h);
        return;
    }
    // The results view keeps the width it was given. In a list area too
    // narrow for it, it gives way so that the splitter and the approved view
    // stay in sight, and takes that width back when the area widens again.
    const int room = std::max(orv::Splitter::kMinSize, w - kSplitterWidth - orv::Splitter::kMinSize);
    const int resultsWidth = std::min(listViewWidth_, room);
    ListView1->setGeometry(0, 0, resultsWidth, h);
    TheSplitter->setGeometry(resultsWidth, 0, kSplitterWidth, h);
    const int approvedLeft = resultsWidth + kSplitterWidth;
    ListView2->setGeometry(approvedLeft, 0, std::max(0, w - approvedLeft), h);
}

void TForm1::TheSplitterOnMoved()
{
    ListView2->setColumnWidth(0, ListView2->width());
    const int quarter = ListView1->width() / 4;
    ListView1->setColumnWidth(0, quarter * 3);
    ListView1->setColumnWidth(1, quarter);
    lblConfirmed->move(lblApprovedCount->x() + lblApprovedCount->width() + 6, lblConfirmed->y());
    approvedCounterLeft_ = ListView2->x();
    placeApprovedCounter();
    ProgressBar1->move(ListView2->x(), ProgressBar1->y());
}

void TForm1::FormResize()
{
    if (width() < kMinWidth)
        resize(kMinWidth, height());
    if (height() < kMinHeight)
        resize(width(), kMinHeight);
    Panel3->resize(Page1->width() - 10, Panel3->height());
    placeCountdownPanel();
    if (TheSplitter)
        placeApprovedCounter();
}

void TForm1::Page1MouseDown()
{
    QWidget* page = Page1->currentWidget();
    if (page == TabSheet3 || page == TabSheet2) {
        butOptionsCancel->setEnabled(false);
        butOptionsApply->setEnabled(false);
        placePage1(200);
    } else if (page == TabSheet4) {
        placePage1(380);
        butAccept->setEnabled(false);
        memPrimarySearchCriteria->setFocus();
    } else {
        placePage1(100);
    }
}

void TForm1::FormClose()
{
    // A run may be waiting on a request further down the call stack: every
    // later step of it does nothing once the abort flag is up.
    run.abortFlag = true;
    // Stop the request it waits on and close a data file still being written.
    FreeReceiveStream();
    Httpcli1.Abort();
    if (fetchScheduler_)
        AbortParallelFetches();
    // While a run is on the stack (its Abort button is live) the lists stay
    // until the run has unwound; the window's destruction frees them.
    if (butAbort->isEnabled() || run.retrievalBusy)
        return;
    releaseLists();
}

void TForm1::releaseLists()
{
    // Each release stands alone: a failure in one does not keep the others.
    const std::function<void()> releases[] = {
        [this] { masterUrls.clear(); },
        [this] { approvedUrls.clear(); },
        [this] { orv::Lines().swap(criteria.primary); },
        [this] { orv::Lines().swap(criteria.secondary); },
        [this] { orv::Lines().swap(criteria.exclusion); },
        [this] { std::vector<std::string>().swap(masterDescriptions); },
        [this] { std::vector<std::string>().swap(approvedDescriptions); },
    };
    for (const auto& release : releases) {
        try {
            release();
        } catch (...) {
        }
    }
}

void TForm1::mnuFileExitClick()
{
    close();
}

void TForm1::mnuHelpAboutClick()
{
    if (!frmAbout)
        new TfrmAbout(this);
    frmAbout->show();
    frmAbout->raise();
    frmAbout->activateWindow();
}
