// Delete, Cut, Copy and Paste on the two URL lists (or on the focused
// criteria box while the "Search Criteria" tab shows), and the drop of a
// results row into "Your Results".
#include "app/TForm1.h"

#include "browse/ListEditing.h"
#include "platform/Dialogs.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "rcadigi/Rcadigi.h"
#include "verify/ApprovedList.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>

namespace
{

// The criteria box that has the keyboard focus, if any.
QPlainTextEdit* focusedCriteriaBox(const TForm1& form)
{
    QWidget* focus = QApplication::focusWidget();
    for (QPlainTextEdit* box :
        { form.memPrimarySearchCriteria, form.memSecondarySearchCriteria, form.memExclusionCriteria })
        if (box == focus)
            return box;
    return nullptr;
}

void eraseAt(std::vector<std::string>& list, int index)
{
    if (index >= 0 && static_cast<size_t>(index) < list.size())
        list.erase(list.begin() + index);
}

void putOnClipboard(const std::string& text)
{
    QApplication::clipboard()->setText(orv::toQ(text));
}

} // namespace

bool TForm1::ListsBusy() const
{
    // The countdown panel is shown while a run owns the lists (whichever tab
    // is showing, hence not isVisible()); the flags cover the moments after
    // Abort hid it while the run still winds down.
    return run.retrievalBusy || run.searchBusy || (RCADigital1 && !RCADigital1->isHidden());
}

bool TForm1::RefusedWhileListsBusy()
{
    if (!ListsBusy())
        return false;
    orv::Dialogs::current().notice(orv::kWaitForRunMessage);
    return true;
}

void TForm1::AddApprovedUrls(const orv::Lines& urls)
{
    for (const std::string& url : urls)
        orv::AddApprovedUrl(approvedUrls, approvedDescriptions, url, std::string(orv::kNoDescription));
}

void TForm1::spdDeleteClick()
{
    if (RefusedWhileListsBusy())
        return;
    const bool results = ListView1->selectedCount() > 0;
    if (!results && ListView2->selectedCount() == 0)
        return;
    orv::UrlListView* view = results ? ListView1 : ListView2;
    orv::UrlList& urls = results ? masterUrls : approvedUrls;
    std::vector<std::string>& descriptions = results ? masterDescriptions : approvedDescriptions;

    const std::vector<int> rows = view->selectedRows();
    const int n = static_cast<int>(rows.size());
    if (orv::Dialogs::current().confirm(orv::deleteQuestion(n))) {
        const int selectAfter = orv::rowAfterDelete(rows.front());
        // All selected rows go in one pass over each list.
        view->removeRows(rows);
        urls.removeRows(rows);
        orv::eraseRows(descriptions, rows);
        if (results) {
            ShowCheckedCount();
            if (!masterUrls.empty()) {
                ListView1->selectRow(selectAfter);
                ListView1->setCurrentRow(selectAfter);
                ListView1->scrollToRow(selectAfter);
            }
        } else {
            if (!approvedUrls.empty()) {
                PopulateTheApprovedBox();
                ListView2->selectRow(selectAfter);
                ListView2->scrollToRow(selectAfter);
            }
            ShowApprovedCount(approvedUrls.count());
        }
    }
    SetLabelText(lblRawCount, std::to_string(masterUrls.count()));
}

void TForm1::spdCopyClick()
{
    if (TemplateMode()) {
        if (QPlainTextEdit* box = focusedCriteriaBox(*this))
            box->copy();
        return;
    }
    if (ListView1->selectedCount() > 0) {
        if (const auto url = orv::clipboardUrlOfRecord(masterUrls.at(ListView1->firstSelected())))
            putOnClipboard(*url);
    } else if (ListView2->selectedCount() > 0) {
        putOnClipboard(approvedUrls.at(ListView2->firstSelected()));
    }
}

void TForm1::spdCutClick()
{
    if (TemplateMode()) {
        if (QPlainTextEdit* box = focusedCriteriaBox(*this))
            box->cut();
        return;
    }
    const bool results = ListView1->selectedCount() > 0;
    if (!results && ListView2->selectedCount() == 0)
        return;
    if (RefusedWhileListsBusy())
        return;
    if (results) {
        const int p = ListView1->firstSelected();
        if (const auto url = orv::clipboardUrlOfRecord(masterUrls.at(p)))
            putOnClipboard(*url);
        ListView1->removeRow(p);
        masterUrls.removeAt(p);
        eraseAt(masterDescriptions, p);
        SetLabelText(lblRawCount, std::to_string(masterUrls.count()));
        ShowCheckedCount();
    } else {
        const int p = ListView2->firstSelected();
        putOnClipboard(approvedUrls.at(p));
        ListView2->removeRow(p);
        approvedUrls.removeAt(p);
        eraseAt(approvedDescriptions, p);
        PopulateTheApprovedBox();
    }
}

void TForm1::spdPasteClick()
{
    if (TemplateMode()) {
        if (QPlainTextEdit* box = focusedCriteriaBox(*this))
            box->paste();
        return;
    }
    // Only into "Your Results", and only while one of its rows is selected.
    if (ListView1->selectedCount() > 0 || ListView2->selectedCount() == 0)
        return;
    if (RefusedWhileListsBusy())
        return;
    AddApprovedUrls(orv::pastedEntries(orv::fromQ(QApplication::clipboard()->text())));
    PopulateTheApprovedBox();
}

// Only rows dragged out of the results view are taken: a drag from another
// program (text, files) names no source and must not move the results
// view's selection.
void TForm1::ListView2DragOver(orv::UrlListView* source, bool* accept)
{
    *accept = source == ListView1;
}

void TForm1::ListView2DragDrop(orv::UrlListView* source)
{
    if (source != ListView1)
        return;
    if (RefusedWhileListsBusy())
        return;
    const int row = ListView1->firstSelected();
    if (row < 0)
        return;
    AddApprovedUrls({ ListView1->caption(row) });
    PopulateTheApprovedBox();
}

void TForm1::mnuEditCutClick()
{
    spdCutClick();
}

void TForm1::mnuEditCopyClick()
{
    spdCopyClick();
}

void TForm1::mnuEditPasteClick()
{
    spdPasteClick();
}

void TForm1::popCutClick()
{
    spdCutClick();
}

void TForm1::popCopyClick()
{
    spdCopyClick();
}

void TForm1::Paste1Click()
{
    spdPasteClick();
}

void TForm1::popRemoveFromListClick()
{
    spdDeleteClick();
}
