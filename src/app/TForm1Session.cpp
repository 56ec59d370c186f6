// What the window keeps between starts (size and place, splitter, tab,
// recent files), the open results file with its title and the question
// before unsaved work is closed, Save As, and files dropped on the window.
#include "app/TForm1.h"

#include "app/HandlerGuard.h"
#include "app/controls/PageControl.h"
#include "browse/ui/TFindDialog.h"
#include "files/WindowSession.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace
{

constexpr int kTitleDelayMs = 150;

bool isTemplatePath(const std::string& path)
{
    const QString p = orv::pathToQ(path);
    return p.endsWith(QStringLiteral(".cri"), Qt::CaseInsensitive);
}

// The first local results file or template among the dragged URLs.
std::optional<std::string> droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.endsWith(QStringLiteral(".rst"), Qt::CaseInsensitive)
            || path.endsWith(QStringLiteral(".cri"), Qt::CaseInsensitive))
            return orv::pathFromQ(path);
    }
    return std::nullopt;
}

} // namespace

void TForm1::createSessionCommands()
{
    titleTimer_ = new QTimer(this);
    titleTimer_->setSingleShot(true);
    titleTimer_->setInterval(kTitleDelayMs);
    connect(titleTimer_, &QTimer::timeout, this, [this] {
        // During a run the title follows the run's activity.
        if (!ListsBusy() && !butAbort->isEnabled())
            orv::runGuarded([this] { ShowRestingTitle(); });
    });
    for (orv::UrlListView* view : { ListView1, ListView2 }) {
        QAbstractItemModel* model = view->model();
        connect(model, &QAbstractItemModel::rowsInserted, this, &TForm1::scheduleTitle);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TForm1::scheduleTitle);
        connect(model, &QAbstractItemModel::dataChanged, this, &TForm1::scheduleTitle);
        connect(model, &QAbstractItemModel::modelReset, this, &TForm1::scheduleTitle);
    }
    for (QPlainTextEdit* memo : { memPrimarySearchCriteria, memSecondarySearchCriteria, memExclusionCriteria }) {
        connect(memo, &QPlainTextEdit::textChanged, this, &TForm1::scheduleTitle);
        memo->viewport()->installEventFilter(this);
    }
    for (orv::UrlListView* view : { ListView1, ListView2 })
        view->viewport()->installEventFilter(this);
    setAcceptDrops(true);
    connect(mnuFileRecent, &QMenu::aboutToShow, this, &TForm1::fillRecentMenu);
    fillRecentMenu();
}

void TForm1::scheduleTitle()
{
    // The mark shows only beside a file's name.
    if (titleTimer_ && !document.path().empty())
        titleTimer_->start();
}

std::uint64_t TForm1::ContentDigest() const
{
    orv::ContentDigest digest;
    for (const orv::Lines* list : { &criteria.primary, &criteria.secondary, &criteria.exclusion }) {
        digest.add(std::to_string(list->size()));
        for (const std::string& word : *list)
            digest.add(word);
    }
    for (const QPlainTextEdit* memo : { memPrimarySearchCriteria, memSecondarySearchCriteria, memExclusionCriteria })
        digest.add(orv::fromQ(memo->toPlainText()));
    // The records as a save would write them: tick and status from the rows.
    digest.add(std::to_string(masterUrls.count()));
    for (int i = 0; i < masterUrls.count(); ++i) {
        digest.add(masterUrls.at(i));
        if (i < ListView1->count()) {
            digest.add(ListView1->checked(i));
            digest.add(ListView1->status(i));
        }
    }
    digest.add(std::to_string(approvedUrls.count()));
    for (const std::string& url : approvedUrls.records())
        digest.add(url);
    return digest.value();
}

void TForm1::ShowRestingTitle()
{
    const bool modified = !document.path().empty() && document.modified(ContentDigest());
    setWindowTitle(orv::toQ(document.title(modified)));
}

bool TForm1::AskToSaveChanges()
{
    if (!document.modified(ContentDigest()))
        return true;
    const std::string what = document.path().empty() ? "the results" : document.fileName();
    switch (orv::Dialogs::current().askToSave("Save the changes to " + what + " before closing?")) {
    case orv::SaveChoice::Discard:
        return true;
    case orv::SaveChoice::Cancel:
        return false;
    case orv::SaveChoice::Save:
        break;
    }
    // The lists are what would be lost, so the results file is saved
    // whichever tab is showing.
    return SaveWithDialog(false, true);
}

void TForm1::mnuEditFindNextClick()
{
    // Without a text to look for, F3 asks for one.
    if (FindDialog1->findText().isEmpty())
        spdFindClick();
    else
        FindDialog1Find();
}

void TForm1::OpenFileByKind(const std::string& path)
{
    if (isTemplatePath(path)) {
        OpenTemplateFile(path);
        return;
    }
    if (RefusedWhileListsBusy())
        return;
    OpenResultsFile(path);
}

void TForm1::rememberFile(const std::string& path)
{
    recentFiles.add(path);
    storeRecentFiles();
}

void TForm1::storeRecentFiles()
{
    if (session_)
        session_->saveRecentFiles(recentFiles.files());
    // Later: the call may come from an item of the menu being refilled.
    QTimer::singleShot(0, this, [this] { fillRecentMenu(); });
}

void TForm1::fillRecentMenu()
{
    mnuFileRecent->clear();
    const std::vector<std::string> files = recentFiles.files();
    for (size_t i = 0; i < files.size(); ++i) {
        QAction* action = mnuFileRecent->addAction(orv::pathToQ(orv::recentFileCaption(i, files[i])));
        action->setToolTip(orv::pathToQ(files[i]));
        connect(action, &QAction::triggered, this, [this, path = files[i]] {
            const std::string chosen = path;
            TForm1* self = this;
            orv::runGuarded([&] {
                // A file gone since is dropped from the list and reported.
                if (!orv::FileExists(chosen)) {
                    self->recentFiles.remove(chosen);
                    self->storeRecentFiles();
                }
                self->OpenFileByKind(chosen);
            });
        });
    }
    mnuFileRecent->setEnabled(!files.empty());
}

void TForm1::RestoreSession(orv::SessionStore* store)
{
    session_ = store;
    if (!store)
        return;
    const orv::WindowSession session = store->load();
    recentFiles.assign(session.recentFiles);
    fillRecentMenu();
    if (session.geometry.isEmpty() || !restoreGeometry(session.geometry)) {
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen)
            setGeometry(orv::firstStartGeometry(screen->availableGeometry(), size()));
    }
    if (layout())
        layout()->activate();
    layoutClientArea();
    if (session.splitterLeft >= 0)
        MoveSplitterTo(session.splitterLeft);
    if (session.tabIndex > 0 && session.tabIndex < Page1->count()) {
        Page1->setCurrentIndex(session.tabIndex);
        Page1MouseDown();
    }
}

void TForm1::SaveSession() const
{
    if (!session_)
        return;
    orv::WindowSession session;
    session.geometry = saveGeometry();
    session.splitterLeft = listViewWidth_;
    session.tabIndex = Page1->currentIndex();
    session.recentFiles = recentFiles.files();
    session_->save(session);
}

bool TForm1::filterFileDrop(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const auto path = droppedFile(drop->mimeData());
    if (!path)
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        orv::runGuarded([&] { OpenFileByKind(*path); });
    return true;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!filterFileDrop(event))
        QMainWindow::dragEnterEvent(event);
}

void TForm1::dropEvent(QDropEvent* event)
{
    if (!filterFileDrop(event))
        QMainWindow::dropEvent(event);
}
