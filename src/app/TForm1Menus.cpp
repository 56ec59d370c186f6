// The main menu and the popup menu of the two URL lists. The blanks in the
// Edit captions are part of the captions: they line up the key names, which
// are text, not shortcuts.
#include "app/TForm1.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <utility>

namespace
{

QAction* item(QMenu* menu, const char* name, const char* caption)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* submenu(QWidget* parent, const char* name, const char* caption)
{
    auto* menu = new QMenu(QString::fromLatin1(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void TForm1::createMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    mnuFile = submenu(MainMenu1, "mnuFile", "&File");
    mnuFileNew = item(mnuFile, "mnuFileNew", "&New Search Criteria");
    mnuFileOpen = item(mnuFile, "mnuFileOpen", "&Open Results");
    mnuFileRecent = submenu(mnuFile, "mnuFileRecent", "Open &Recent");
    mnuFile->addMenu(mnuFileRecent);
    mnuFileSave = item(mnuFile, "mnuFileSave", "&Save");
    mnuFileSaveAs = item(mnuFile, "mnuFileSaveAs", "Save &As...");
    mnuFileClose = item(mnuFile, "mnuFileClose", "&Close");
    mnuFileStats = item(mnuFile, "mnuFileStats", "S&tats");
    mnuFileExport = submenu(mnuFile, "mnuFileExport", "&Export");
    mnuFile->addMenu(mnuFileExport);
    mnuFileExportHtml = item(mnuFileExport, "mnuFileExportHtml", "&Html");
    mnuFileExportText = item(mnuFileExport, "mnuFileExportText", "&Text");
    auto* exportGroup = new QActionGroup(mnuFileExport);
    for (QAction* radio : { mnuFileExportHtml, mnuFileExportText }) {
        radio->setCheckable(true);
        exportGroup->addAction(radio);
    }
    mnuFileExportCsv = item(mnuFile, "mnuFileExportCsv", "Export &CSV...");
    mnuFileExportJson = item(mnuFile, "mnuFileExportJson", "Export &JSON...");
    mnuFIlePrintSetup = item(mnuFile, "mnuFIlePrintSetup", "P&rint Setup");
    mnuFilePrint = item(mnuFile, "mnuFilePrint", "&Print");
    mnuFileExit = item(mnuFile, "mnuFileExit", "E&xit");
    MainMenu1->addMenu(mnuFile);

    mnuEdit = submenu(MainMenu1, "mnuEdit", "&Edit");
    mnuEditCut = item(mnuEdit, "mnuEditCut", "Cu&t          Ctrl+X");
    mnuEditCopy = item(mnuEdit, "mnuEditCopy", "&Copy       Ctrl+C");
    mnuEditPaste = item(mnuEdit, "mnuEditPaste", "&Paste      Ctrl+V");
    mnuClearCheckboxes = item(mnuEdit, "mnuClearCheckboxes", "C&lear Checkboxes");
    mnuClearCheckboxes->setEnabled(false);
    mnuEditFind = item(mnuEdit, "mnuEditFind", "&Find");
    mnuEditFindNext = item(mnuEdit, "mnuEditFindNext", "Find &Next");
    mnuEditYield = item(mnuEdit, "mnuEditYield", "Engine &Yield");
    mnuEditYield->setEnabled(false);
    MainMenu1->addMenu(mnuEdit);

    mnuHelp = submenu(MainMenu1, "mnuHelp", "&Help");
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", "&Orvalen Help");
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", "&About");
    MainMenu1->addMenu(mnuHelp);

    // The desktop's usual keys, shown beside the items. Cut, Copy and Paste
    // keep theirs in the captions: the list views take those keys themselves.
    const std::pair<QAction*, QKeySequence> keys[] = {
        { mnuFileNew, QKeySequence(Qt::CTRL | Qt::Key_N) },
        { mnuFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O) },
        { mnuFileSave, QKeySequence(Qt::CTRL | Qt::Key_S) },
        { mnuFileSaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) },
        { mnuFilePrint, QKeySequence(Qt::CTRL | Qt::Key_P) },
        { mnuFileExit, QKeySequence(Qt::CTRL | Qt::Key_Q) },
        { mnuEditFind, QKeySequence(Qt::CTRL | Qt::Key_F) },
        { mnuEditFindNext, QKeySequence(Qt::Key_F3) },
        { mnuHelpContents, QKeySequence(Qt::Key_F1) },
    };
    for (const auto& [action, key] : keys) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
}

void TForm1::createUrlListPopup()
{
    UrlListPopup = submenu(this, "UrlListPopup", "");
    popGotoPage = item(UrlListPopup, "popGotoPage", "&Go to Web Page");
    popScanPage = item(UrlListPopup, "popScanPage", "&Scan Page");
    popDescription = item(UrlListPopup, "popDescription", "&Description");
    UrlListPopup->addSeparator();
    popCut = item(UrlListPopup, "popCut", "Cu&t");
    popCopy = item(UrlListPopup, "popCopy", "&Copy");
    Paste1 = item(UrlListPopup, "Paste1", "&Paste");
    UrlListPopup->addSeparator();
    popRemoveFromList = item(UrlListPopup, "popRemoveFromList", "Re&move From List");
    // Shown in the menu only: the views handle the Delete key themselves,
    // and the item acts on the key only while the menu is open.
    popRemoveFromList->setShortcut(QKeySequence(Qt::Key_Delete));
    popRemoveFromList->setShortcutContext(Qt::WidgetShortcut);
}
