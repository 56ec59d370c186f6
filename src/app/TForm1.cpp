// Construction of the main window and the placing of its three areas: the
// toolbar at the top, the list area below it and the settings area (Page1)
// against the bottom, over the list area.
#include "app/TForm1.h"

#include "app/HandlerGuard.h"
#include "app/controls/PageControl.h"
#include "app/controls/Splitter.h"
#include "platform/ui/UrlListView.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>

#include <algorithm>

TForm1* Form1 = nullptr;

namespace
{

constexpr int kToolbarHeight = 49;
constexpr int kMainPageHeight = 100; // the lists end where the "Main" page begins
constexpr int kClientWidth = 655;
constexpr int kClientHeight = 439;

} // namespace

TForm1::TForm1(std::string programFolder, QWidget* parent)
    : QMainWindow(parent)
    , programFolder_(std::move(programFolder))
{
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvalen"));
    setMinimumSize(512, 256);

    clientArea_ = new QWidget(this);
    clientArea_->setObjectName(QStringLiteral("clientArea"));
    clientArea_->installEventFilter(this);
    setCentralWidget(clientArea_);

    createMenus();
    createUrlListPopup();
    createToolbar();
    listArea = new QWidget(clientArea_);
    listArea->setObjectName(QStringLiteral("listArea"));
    listArea->installEventFilter(this);
    createPages();
    CreateUrlListsAndViews();
    placeUrlListControls();
    Page1->raise();
    wireControls();
    CreateFilesAndEditing();

    resize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());
    if (layout())
        layout()->activate();
    clientArea_->resize(kClientWidth, kClientHeight);
    layoutClientArea();

    FormCreate();
}

TForm1::~TForm1()
{
    disconnect(focusWatch_);
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::placeUrlListControls()
{
    for (orv::UrlListView* view : { ListView1, ListView2 }) {
        view->setParent(listArea);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](QPoint pos) { UrlListPopup->popup(view->viewport()->mapToGlobal(pos)); });
    }
    ListView1->show();
    ListView2->hide();

    // Each counter: the number at the panel's left, its caption beside it.
    const struct {
        QFrame* panel;
        QLabel* number;
        QLabel* caption;
        int gap;
    } counters[] = { { Panel4, lblRawCount, lblMaster, 10 }, { Panel5, lblCheckedCount, lblCheckedCaption, 8 },
        { Panel6, lblApprovedCount, lblConfirmed, 6 } };
    for (const auto& c : counters) {
        c.number->setParent(c.panel);
        c.caption->setParent(c.panel);
        c.number->move(0, 3);
        // "Checked Urls" stays where it is put while its number changes, so
        // it leaves room for six digits; the other captions follow theirs.
        const int room = c.caption == lblCheckedCaption
            ? std::max(c.number->width(), c.number->fontMetrics().horizontalAdvance(QStringLiteral("000000")))
            : c.number->width();
        c.caption->move(room + c.gap, 3);
        c.number->show();
        c.caption->show();
    }
}

void TForm1::placePage1(int height)
{
    page1Height_ = height;
    layoutClientArea();
}

void TForm1::layoutClientArea()
{
    if (!clientArea_ || !Page1)
        return;
    const int w = clientArea_->width();
    const int h = clientArea_->height();
    Panel1->setGeometry(0, 0, w, kToolbarHeight);
    listArea->setGeometry(0, kToolbarHeight, w, std::max(0, h - kToolbarHeight - kMainPageHeight));
    const int pageHeight = std::min(page1Height_, h);
    Page1->setGeometry(0, h - pageHeight, w, pageHeight);
    layoutListArea();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    orv::runGuarded([this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A save that fails or is cancelled keeps the window open.
    bool proceed = false;
    orv::runGuarded([&] { proceed = AskToSaveChanges(); });
    if (!proceed) {
        event->ignore();
        return;
    }
    orv::runGuarded([this] { SaveSession(); });
    orv::runGuarded([this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == clientArea_)
            layoutClientArea();
        else if (watched == listArea)
            layoutListArea();
    }
    // Results files and templates dropped on a list or a criteria box open
    // instead of being taken as rows or text.
    if (watched != clientArea_ && watched != listArea && filterFileDrop(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}
