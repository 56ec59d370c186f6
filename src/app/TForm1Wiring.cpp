// The command map: every control's signal to its handler. Each handler runs
// behind the error boundary, so no exception reaches Qt's event loop.
#include "app/TForm1.h"

#include "app/HandlerGuard.h"
#include "app/controls/CheckListBox.h"
#include "app/controls/EditBox.h"
#include "app/controls/PageControl.h"
#include "app/controls/SpinButton.h"
#include "platform/ui/UrlListView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace
{

// Connects `signal` of `sender` to a handler of the window taking no
// arguments; arguments the signal carries are dropped.
template <typename Sender, typename Signal>
void on(Sender* sender, Signal signal, TForm1* form, void (TForm1::*handler)())
{
    QObject::connect(sender, signal, form, [form, handler] { orv::runGuarded([&] { (form->*handler)(); }); });
}

bool isInside(const QWidget* widget, const QWidget* ancestor)
{
    return widget && ancestor && (widget == ancestor || ancestor->isAncestorOf(widget));
}

} // namespace

void TForm1::wireControls()
{
    on(spdNew, &QToolButton::clicked, this, &TForm1::spdNewClick);
    on(spdOpen, &QToolButton::clicked, this, &TForm1::spdOpenClick);
    on(spdSave, &QToolButton::clicked, this, &TForm1::spdSaveClick);
    on(spdCut, &QToolButton::clicked, this, &TForm1::spdCutClick);
    on(spdCopy, &QToolButton::clicked, this, &TForm1::spdCopyClick);
    on(spdPaste, &QToolButton::clicked, this, &TForm1::spdPasteClick);
    on(spdDelete, &QToolButton::clicked, this, &TForm1::spdDeleteClick);
    on(spdFind, &QToolButton::clicked, this, &TForm1::spdFindClick);
    on(spdPrint, &QToolButton::clicked, this, &TForm1::spdPrintClick);
    on(spdHelp, &QToolButton::clicked, this, &TForm1::spdHelpClick);
    on(butSearch, &QPushButton::clicked, this, &TForm1::butSearchClick);
    on(butAbort, &QPushButton::clicked, this, &TForm1::butAbortClick);
    on(butRetrieve, &QPushButton::clicked, this, &TForm1::butRetrieveClick);

    on(mnuFile, &QMenu::aboutToShow, this, &TForm1::mnuFileClick);
    on(mnuFileNew, &QAction::triggered, this, &TForm1::mnuFileNewClick);
    on(mnuFileOpen, &QAction::triggered, this, &TForm1::mnuFileOpenClick);
    on(mnuFileSave, &QAction::triggered, this, &TForm1::mnuFileSaveClick);
    on(mnuFileSaveAs, &QAction::triggered, this, &TForm1::mnuFileSaveAsClick);
    on(mnuFileClose, &QAction::triggered, this, &TForm1::mnuFileCloseClick);
    on(mnuFileStats, &QAction::triggered, this, &TForm1::mnuFileStatsClick);
    on(mnuFileExportHtml, &QAction::triggered, this, &TForm1::mnuFileExportHtmlClick);
    on(mnuFileExportText, &QAction::triggered, this, &TForm1::mnuFileExportTextClick);
    on(mnuFileExportCsv, &QAction::triggered, this, &TForm1::mnuFileExportCsvClick);
    on(mnuFileExportJson, &QAction::triggered, this, &TForm1::mnuFileExportJsonClick);
    on(mnuFIlePrintSetup, &QAction::triggered, this, &TForm1::mnuFIlePrintSetupClick);
    on(mnuFilePrint, &QAction::triggered, this, &TForm1::mnuFilePrintClick);
    on(mnuFileExit, &QAction::triggered, this, &TForm1::mnuFileExitClick);
    on(mnuEdit, &QMenu::aboutToShow, this, &TForm1::mnuEditClick);
    on(mnuEditCut, &QAction::triggered, this, &TForm1::mnuEditCutClick);
    on(mnuEditCopy, &QAction::triggered, this, &TForm1::mnuEditCopyClick);
    on(mnuEditPaste, &QAction::triggered, this, &TForm1::mnuEditPasteClick);
    on(mnuClearCheckboxes, &QAction::triggered, this, &TForm1::mnuClearCheckboxesClick);
    on(mnuEditFind, &QAction::triggered, this, &TForm1::mnuEditFindClick);
    on(mnuEditFindNext, &QAction::triggered, this, &TForm1::mnuEditFindNextClick);
    on(mnuEditYield, &QAction::triggered, this, &TForm1::mnuEditYieldClick);
    on(mnuHelpContents, &QAction::triggered, this, &TForm1::spdHelpClick);
    on(mnuHelpAbout, &QAction::triggered, this, &TForm1::mnuHelpAboutClick);

    on(UrlListPopup, &QMenu::aboutToShow, this, &TForm1::UrlListPopupPopup);
    on(popGotoPage, &QAction::triggered, this, &TForm1::popGotoPageClick);
    on(popScanPage, &QAction::triggered, this, &TForm1::popScanPageClick);
    on(popDescription, &QAction::triggered, this, &TForm1::popDescriptionClick);
    on(popCut, &QAction::triggered, this, &TForm1::popCutClick);
    on(popCopy, &QAction::triggered, this, &TForm1::popCopyClick);
    on(Paste1, &QAction::triggered, this, &TForm1::Paste1Click);
    on(popRemoveFromList, &QAction::triggered, this, &TForm1::popRemoveFromListClick);

    on(Page1, &orv::PageControl::mouseDown, this, &TForm1::Page1MouseDown);
    on(butAccept, &QPushButton::clicked, this, &TForm1::butAcceptClick);
    on(cboMatchOn, &QComboBox::activated, this, &TForm1::cboMatchOnActivated);
    on(memPrimarySearchCriteria, &QPlainTextEdit::textChanged, this, &TForm1::memPrimarySearchCriteriaChange);
    on(memSecondarySearchCriteria, &QPlainTextEdit::textChanged, this, &TForm1::memSecondarySearchCriteriaChange);
    on(memExclusionCriteria, &QPlainTextEdit::textChanged, this, &TForm1::memExclusionCriteriaChange);
    connect(listBrowsers, &orv::CheckListBox::mouseUp, this,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
            orv::runGuarded([&] { listBrowsersMouseUp(button, shift, x, y); });
        });

    // The focus leaving the "Search Criteria" page for a control elsewhere.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (isInside(old, TabSheet4) && now && !isInside(now, TabSheet4) && isInside(now, this))
            orv::runGuarded([this] { TabSheet4Exit(); });
    });

    on(ListView1, &orv::UrlListView::viewClicked, this, &TForm1::ListView1Click);
    on(ListView2, &orv::UrlListView::viewClicked, this, &TForm1::ListView2Click);
    connect(ListView1, &orv::UrlListView::keyDown, this,
        [this](int key, Qt::KeyboardModifiers shift) { orv::runGuarded([&] { ListView1KeyDown(key, shift); }); });
    connect(ListView2, &orv::UrlListView::keyDown, this,
        [this](int key, Qt::KeyboardModifiers shift) { orv::runGuarded([&] { ListView2KeyDown(key, shift); }); });
    connect(ListView2, &orv::UrlListView::dragOver, this, [this](orv::UrlListView* source, bool* accept) {
        orv::runGuarded([&] { ListView2DragOver(source, accept); });
    });
    connect(ListView2, &orv::UrlListView::dropped, this,
        [this](orv::UrlListView* source) { orv::runGuarded([&] { ListView2DragDrop(source); }); });

    wireOptionControls();
    createSessionCommands();
}

void TForm1::wireOptionControls()
{
    on(butOptionsOK, &QPushButton::clicked, this, &TForm1::butOptionsOKClick);
    on(butProxyOk, &QPushButton::clicked, this, &TForm1::butOptionsOKClick);
    on(butOptionsApply, &QPushButton::clicked, this, &TForm1::butOptionsApplyClick);
    on(chkUseHttpProxy, &QCheckBox::toggled, this, &TForm1::chkUseHttpProxyClick);

    // A check box's click event runs whenever its state changes, also when
    // the program sets it (reading the options file relies on that).
    on(chkAltaVista, &QCheckBox::toggled, this, &TForm1::chkAltaVistaClick);
    on(chkExcite, &QCheckBox::toggled, this, &TForm1::chkExciteClick);
    on(chknetfindAol, &QCheckBox::toggled, this, &TForm1::chknetfindAolClick);
    on(chkSnap, &QCheckBox::toggled, this, &TForm1::chkSnapClick);
    on(chkPlanetSearch, &QCheckBox::toggled, this, &TForm1::chkPlanetSearchClick);
    on(chkInfoseek, &QCheckBox::toggled, this, &TForm1::chkInfoseekClick);
    on(chkYahoo, &QCheckBox::toggled, this, &TForm1::chkYahooClick);
    on(chkWebcrawler, &QCheckBox::toggled, this, &TForm1::chkWebcrawlerClick);
    on(chkMagellan, &QCheckBox::toggled, this, &TForm1::chkMagellanClick);
    on(chkThunderstone, &QCheckBox::toggled, this, &TForm1::chkThunderstoneClick);

    on(edAltaMax, &QLineEdit::textChanged, this, &TForm1::edAltaMaxChange);
    on(edExciteMax, &QLineEdit::textChanged, this, &TForm1::edExciteMaxChange);
    on(edNetfindAolMax, &QLineEdit::textChanged, this, &TForm1::edNetfindAolMaxChange);
    on(edInfoseekMax, &QLineEdit::textChanged, this, &TForm1::edInfoseekMaxChange);
    on(edPlanetMax, &QLineEdit::textChanged, this, &TForm1::edPlanetMaxChange);
    on(edYahooMax, &QLineEdit::textChanged, this, &TForm1::edYahooMaxChange);
    on(edSnapMax, &QLineEdit::textChanged, this, &TForm1::edSnapMaxChange);
    on(edWebcrawlerMax, &QLineEdit::textChanged, this, &TForm1::edWebcrawlerMaxChange);
    on(edMagellanMax, &QLineEdit::textChanged, this, &TForm1::edMagellanMaxChange);
    on(edThunderstoneMax, &QLineEdit::textChanged, this, &TForm1::edThunderstoneMaxChange);

    on(edAltaMax, &orv::EditBox::exited, this, &TForm1::edAltaMaxExit);
    on(edExciteMax, &orv::EditBox::exited, this, &TForm1::edExciteMaxExit);
    on(edNetfindAolMax, &orv::EditBox::exited, this, &TForm1::edNetfindAolMaxExit);
    on(edInfoseekMax, &orv::EditBox::exited, this, &TForm1::edInfoseekMaxExit);
    on(edPlanetMax, &orv::EditBox::exited, this, &TForm1::edPlanetMaxExit);
    on(edYahooMax, &orv::EditBox::exited, this, &TForm1::edYahooMaxExit);
    on(edSnapMax, &orv::EditBox::exited, this, &TForm1::edSnapMaxExit);
    on(edThunderstoneMax, &orv::EditBox::exited, this, &TForm1::edThunderstoneMaxExit);

    on(spinAlta, &orv::SpinButton::upClicked, this, &TForm1::spinAltaUpClick);
    on(spinAlta, &orv::SpinButton::downClicked, this, &TForm1::spinAltaDownClick);
    on(spinExcite, &orv::SpinButton::upClicked, this, &TForm1::spinExciteUpClick);
    on(spinExcite, &orv::SpinButton::downClicked, this, &TForm1::spinExciteDownClick);
    on(spinNetfindAol, &orv::SpinButton::upClicked, this, &TForm1::spinNetfindAolUpClick);
    on(spinNetfindAol, &orv::SpinButton::downClicked, this, &TForm1::spinNetfindAolDownClick);
    on(spinInfoseek, &orv::SpinButton::upClicked, this, &TForm1::spinInfoseekUpClick);
    on(spinInfoseek, &orv::SpinButton::downClicked, this, &TForm1::spinInfoseekDownClick);
    on(spinPlanet, &orv::SpinButton::upClicked, this, &TForm1::spinPlanetUpClick);
    on(spinPlanet, &orv::SpinButton::downClicked, this, &TForm1::spinPlanetDownClick);
    on(spinYahoo, &orv::SpinButton::upClicked, this, &TForm1::spinYahooUpClick);
    on(spinYahoo, &orv::SpinButton::downClicked, this, &TForm1::spinYahooDownClick);
    on(spinSnap, &orv::SpinButton::upClicked, this, &TForm1::spinSnapUpClick);
    on(spinSnap, &orv::SpinButton::downClicked, this, &TForm1::spinSnapDownClick);
    on(spinWebcrawler, &orv::SpinButton::upClicked, this, &TForm1::spinWebcrawlerUpClick);
    on(spinWebcrawler, &orv::SpinButton::downClicked, this, &TForm1::spinWebcrawlerDownClick);
    on(spinMagellan, &orv::SpinButton::upClicked, this, &TForm1::spinMagellanUpClick);
    on(spinMagellan, &orv::SpinButton::downClicked, this, &TForm1::spinMagellanDownClick);
    on(spinThunderstone, &orv::SpinButton::upClicked, this, &TForm1::spinThunderstoneUpClick);
    on(spinThunderstone, &orv::SpinButton::downClicked, this, &TForm1::spinThunderstoneDownClick);
}
