// Find, the clicks and keys of the two views, Clear Checkboxes, and the
// preparation of the File, Edit and popup menus before they open.
#include "app/TForm1.h"

#include "app/HandlerGuard.h"
#include "browse/ListEditing.h"
#include "browse/ui/TFindDialog.h"
#include "platform/Dialogs.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace
{

// Notes the last selected row of `view` and clears its selection in one
// step (row by row costs the square of the selected rows); -1 when nothing
// was selected.
int takeLastSelected(orv::UrlListView* view)
{
    const std::vector<int> rows = view->selectedRows();
    view->clearSelection();
    return rows.empty() ? -1 : rows.back();
}

// Selects the found row, focuses the view and scrolls the row fully in.
void showFound(orv::UrlListView* view, int row)
{
    view->selectRow(row);
    view->setFocus();
    view->setCurrentRow(row);
    view->scrollToRow(row, true);
}

} // namespace

void TForm1::CreateListEditing()
{
    FindDialog1 = new TFindDialog(this);
    connect(FindDialog1, &TFindDialog::findNext, this, [this] { orv::runGuarded([this] { FindDialog1Find(); }); });
    // A tick set or cleared from the keyboard counts as well as one clicked.
    connect(
        ListView1, &orv::UrlListView::checkToggled, this, [this] { orv::runGuarded([this] { ShowCheckedCount(); }); });
}

void TForm1::spdFindClick()
{
    ListView1->clearSelection();
    FindDialog1->showFind();
}

void TForm1::mnuEditFindClick()
{
    spdFindClick();
}

void TForm1::FindDialog1Find()
{
    const std::string text = orv::fromQ(FindDialog1->findText());
    const int lastMaster = takeLastSelected(ListView1);
    if (lastMaster >= 0) {
        const int found = orv::findEntry(masterUrls.records(), text, lastMaster + 1);
        if (found >= 0) {
            showFound(ListView1, found);
            return;
        }
    } else {
        const int lastApproved = takeLastSelected(ListView2);
        const int found = orv::findEntry(approvedUrls.records(), text, lastApproved + 1);
        if (found >= 0) {
            showFound(ListView2, found);
            return;
        }
    }
    orv::Dialogs::current().notice(orv::notFoundMessage(text));
}

void TForm1::ListView1Click()
{
    ShowCheckedCount();
    ListView2->clearSelection();
}

void TForm1::ListView2Click()
{
    ListView1->clearSelection();
}

namespace
{

enum class ListKeyCommand { None, Delete, Cut, Copy, Paste };

ListKeyCommand commandOfKey(int key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_Delete)
        return ListKeyCommand::Delete;
    const bool ctrlAlone = (shift & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == Qt::ControlModifier;
    if (!ctrlAlone)
        return ListKeyCommand::None;
    switch (key) {
    case Qt::Key_X:
        return ListKeyCommand::Cut;
    case Qt::Key_C:
        return ListKeyCommand::Copy;
    case Qt::Key_V:
        return ListKeyCommand::Paste;
    default:
        return ListKeyCommand::None;
    }
}

} // namespace

void TForm1::ListView1KeyDown(int key, Qt::KeyboardModifiers shift)
{
    switch (commandOfKey(key, shift)) {
    case ListKeyCommand::Delete:
        spdDeleteClick();
        break;
    case ListKeyCommand::Cut:
        spdCutClick();
        break;
    case ListKeyCommand::Copy:
        spdCopyClick();
        break;
    case ListKeyCommand::Paste:
        spdPasteClick();
        break;
    case ListKeyCommand::None:
        break;
    }
}

void TForm1::ListView2KeyDown(int key, Qt::KeyboardModifiers shift)
{
    ListView1KeyDown(key, shift);
}

void TForm1::mnuClearCheckboxesClick()
{
    ListView1->beginUpdate();
    for (int row = 0; row < ListView1->count(); ++row)
        ListView1->setChecked(row, false);
    ListView1->endUpdate();
    SetLabelText(lblCheckedCount, "0");
}

void TForm1::mnuEditClick()
{
    mnuClearCheckboxes->setEnabled(!masterUrls.empty());
    mnuEditYield->setEnabled(yield.searched());
}

void TForm1::mnuFileClick()
{
    mnuFileExport->menuAction()->setEnabled(!approvedUrls.empty());
    const bool hasRecords = !masterUrls.empty();
    for (QAction* item :
        { mnuFileSave, mnuFileClose, mnuFilePrint, mnuFIlePrintSetup, mnuFileExportCsv, mnuFileExportJson })
        item->setEnabled(hasRecords);
}

void TForm1::UrlListPopupPopup()
{
    const bool approvedFocused = ListView2->hasFocus();
    if (!approvedFocused && !ListView1->hasFocus())
        return;
    const bool hasRecords = approvedFocused ? !approvedUrls.empty() : !masterUrls.empty();
    popScanPage->setVisible(!approvedFocused);
    if (!approvedFocused)
        popScanPage->setEnabled(hasRecords);
    for (QAction* item : { popDescription, popGotoPage, popCut, popCopy, popRemoveFromList })
        item->setEnabled(hasRecords);
}
