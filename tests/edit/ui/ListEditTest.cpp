// Delete, Cut, Copy, Paste, drops, Find, Clear Checkboxes, the view keys and
// clicks and the menu preparations, through the real window.
#include "files/ui/FormFixture.h"

#include "browse/ui/TFindDialog.h"
#include "rcadigi/Rcadigi.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cstdio>

using namespace orv;
using orv::test::FormTest;

namespace
{

const char* const kWait = "notice: Please wait until the search/retrieval has finished";

class ListEdit : public FormTest
{
protected:
    ListEdit()
    {
        setMaster({ "http://a.example,,,,,1,,,,,1", "http://b.example,,,,,0,,,,,0", "http://c.example,,,,,1,,,,,2",
            "http://d.example,,,,,0,,,,,0", "http://e.example,,,,,1,,,,,0" });
        form->masterDescriptions = { "A", "B", "C", "D", "E" };
        setApproved({ "http://b.example", "http://d.example" });
        form->approvedDescriptions = { "B", "D" };
        QApplication::clipboard()->setText("untouched");
    }
    std::string clipboard() const { return QApplication::clipboard()->text().toStdString(); }
    void select(UrlListView* view, std::initializer_list<int> rows)
    {
        for (int r : rows)
            view->selectRow(r);
    }
    void find(const char* text)
    {
        form->FindDialog1->edFind->setText(QString::fromLatin1(text));
        form->FindDialog1->butFindNext->click();
    }
};

} // namespace

TEST_F(ListEdit, DeletingThreeRowsAsksRemovesRecordsAndDescriptionsAndSelectsTheRowAbove)
{
    select(form->ListView1, { 1, 2, 4 });
    QTest::keyClick(form->ListView1, Qt::Key_Delete);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "confirm: Are you sure you want to delete these 3 items?" }));
    EXPECT_EQ(form->masterUrls.records(), (Lines { "http://a.example,,,,,1,,,,,1", "http://d.example,,,,,0,,,,,0" }));
    EXPECT_EQ(form->masterDescriptions, (Lines { "A", "D" }));
    EXPECT_EQ(captions(form->ListView1), (Lines { "http://a.example", "http://d.example" }));
    EXPECT_EQ(text(form->lblCheckedCount), "1");
    EXPECT_EQ(text(form->lblRawCount), "2");
    EXPECT_EQ(form->ListView1->selectedRows(), (std::vector<int> { 0 }));
    EXPECT_EQ(form->ListView1->currentRow(), 0);
}

TEST_F(ListEdit, DeletingTheTopRowSelectsTheNewTopRow)
{
    select(form->ListView1, { 0 });
    form->spdDelete->click();
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "confirm: Are you sure you want to delete this item?" }));
    EXPECT_EQ(captions(form->ListView1).front(), "http://b.example");
    EXPECT_EQ(form->ListView1->selectedRows(), (std::vector<int> { 0 }));
}

TEST_F(ListEdit, CancelledDeleteOnlyRefreshesTheTotal)
{
    TForm1::SetLabelText(form->lblRawCount, "99");
    select(form->ListView1, { 1 });
    dialogs.confirmAnswers.push_back(false);
    run(&TForm1::popRemoveFromListClick);
    EXPECT_EQ(form->masterUrls.count(), 5);
    EXPECT_EQ(text(form->lblRawCount), "5");
}

TEST_F(ListEdit, DeleteInTheApprovedViewRebuildsItAndKeepsDescriptionsPaired)
{
    select(form->ListView2, { 1 });
    QTest::keyClick(form->ListView2, Qt::Key_Delete);
    EXPECT_EQ(form->approvedUrls.records(), (Lines { "http://b.example" }));
    EXPECT_EQ(form->approvedDescriptions, (Lines { "B" }));
    EXPECT_EQ(captions(form->ListView2), (Lines { "http://b.example" }));
    EXPECT_EQ(text(form->lblApprovedCount), "1");
    EXPECT_EQ(form->ListView2->selectedRows(), (std::vector<int> { 0 }));
}

TEST_F(ListEdit, ListCommandsWaitForARunningRetrieval)
{
    form->run.retrievalBusy = true;
    select(form->ListView2, { 0 });
    QTest::keyClick(form->ListView2, Qt::Key_Delete);
    QTest::keyClick(form->ListView2, Qt::Key_X, Qt::ControlModifier);
    QApplication::clipboard()->setText("http://new.example");
    QTest::keyClick(form->ListView2, Qt::Key_V, Qt::ControlModifier);
    form->ListView2->setSelected(0, false);
    select(form->ListView1, { 0 });
    QTest::keyClick(form->ListView1, Qt::Key_X, Qt::ControlModifier);
    run(&TForm1::spdDeleteClick);
    form->ListView2DragDrop(form->ListView1);
    EXPECT_EQ(dialogs.calls, std::vector<std::string>(6, kWait));
    EXPECT_EQ(form->masterUrls.count(), 5);
    EXPECT_EQ(form->approvedUrls.records(), (Lines { "http://b.example", "http://d.example" }));
    // Copy changes no list and stays available.
    QTest::keyClick(form->ListView1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "http://a.example");
}

TEST_F(ListEdit, DeleteWaitsWhileTheCountdownPanelIsShown)
{
    form->RCADigital1->show();
    showTab(form->TabSheet2);
    select(form->ListView1, { 0 });
    run(&TForm1::spdDeleteClick);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { kWait }));
    EXPECT_EQ(form->masterUrls.count(), 5);
    form->RCADigital1->hide();
    run(&TForm1::spdDeleteClick);
    EXPECT_EQ(form->masterUrls.count(), 4);
}

TEST_F(ListEdit, CopyPutsOnlyTheUrlOfTheFirstSelectedRow)
{
    select(form->ListView1, { 2, 3 });
    QTest::keyClick(form->ListView1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "http://c.example");
    form->ListView1->setSelected(2, false);
    form->ListView1->setSelected(3, false);
    select(form->ListView2, { 1 });
    run(&TForm1::mnuEditCopyClick);
    EXPECT_EQ(clipboard(), "http://d.example");
    // Shift or Alt with Ctrl is not the command.
    QApplication::clipboard()->setText("untouched");
    QTest::keyClick(form->ListView2, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(clipboard(), "untouched");
}

TEST_F(ListEdit, OnTheCriteriaTabTheCommandsLookOnlyAtTheCriteriaBoxes)
{
    showTab(form->TabSheet4);
    select(form->ListView1, { 0 });
    QTest::keyClick(form->ListView1, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(form->ListView1, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "untouched");
    EXPECT_EQ(form->masterUrls.count(), 5);

    form->memPrimarySearchCriteria->setPlainText("solar");
    form->memPrimarySearchCriteria->setFocus();
    form->memPrimarySearchCriteria->selectAll();
    run(&TForm1::spdCutClick);
    EXPECT_EQ(clipboard(), "solar");
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "");
    run(&TForm1::spdPasteClick);
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "solar");
}

TEST_F(ListEdit, CutRemovesOneRowAndItsDescription)
{
    select(form->ListView1, { 0, 1 });
    run(&TForm1::spdCutClick);
    EXPECT_EQ(clipboard(), "http://a.example");
    EXPECT_TRUE(dialogs.calls.empty()) << "Cut asks nothing";
    EXPECT_EQ(captions(form->ListView1).front(), "http://b.example");
    EXPECT_EQ(form->masterDescriptions, (Lines { "B", "C", "D", "E" }));
    EXPECT_EQ(text(form->lblRawCount), "4");
    EXPECT_EQ(text(form->lblCheckedCount), "2");

    form->ListView1->setSelected(0, false);
    select(form->ListView2, { 0 });
    run(&TForm1::popCutClick);
    EXPECT_EQ(clipboard(), "http://b.example");
    EXPECT_EQ(captions(form->ListView2), (Lines { "http://d.example" }));
    EXPECT_EQ(form->approvedDescriptions, (Lines { "D" }));
}

TEST_F(ListEdit, PasteAddsOneEntryPerLineWithAPlaceholderDescription)
{
    select(form->ListView2, { 0 });
    QApplication::clipboard()->setText("http://c.example\r\n\r\nhttp://a.example\nhttp://d.example\n");
    QTest::keyClick(form->ListView2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(captions(form->ListView2),
        (Lines { "http://a.example", "http://b.example", "http://c.example", "http://d.example" }));
    EXPECT_EQ(form->approvedDescriptions, (Lines { "No Description", "B", "No Description", "D" }));
    EXPECT_EQ(text(form->lblApprovedCount), "4");
}

TEST_F(ListEdit, PasteNeedsASelectedApprovedRowAndNoResultsSelection)
{
    QApplication::clipboard()->setText("http://z.example");
    run(&TForm1::Paste1Click);
    select(form->ListView1, { 0 });
    select(form->ListView2, { 0 });
    run(&TForm1::spdPasteClick);
    EXPECT_EQ(form->approvedUrls.count(), 2);

    form->mnuFileCloseClick();
    run(&TForm1::spdPasteClick);
    EXPECT_TRUE(form->approvedUrls.empty()) << "nothing is pasted into an empty approved view";
}

TEST_F(ListEdit, PastingAUrlAlreadyThereChangesNothing)
{
    select(form->ListView2, { 1 });
    QApplication::clipboard()->setText("HTTP://B.example");
    run(&TForm1::mnuEditPasteClick);
    EXPECT_EQ(form->approvedUrls.records(), (Lines { "http://b.example", "http://d.example" }));
    EXPECT_EQ(form->approvedDescriptions, (Lines { "B", "D" }));
}

TEST_F(ListEdit, DropAddsTheFirstSelectedResultsRowOnce)
{
    bool accept = false;
    form->ListView2DragOver(form->ListView1, &accept);
    EXPECT_TRUE(accept);
    form->ListView2DragDrop(form->ListView1);
    EXPECT_EQ(form->approvedUrls.count(), 2) << "nothing is added without a selected row";

    select(form->ListView1, { 2, 4 });
    form->ListView2DragDrop(form->ListView1);
    EXPECT_EQ(form->approvedUrls.records(), (Lines { "http://b.example", "http://c.example", "http://d.example" }));
    EXPECT_EQ(form->approvedDescriptions, (Lines { "B", "No Description", "D" }));
    form->ListView2DragDrop(form->ListView1);
    EXPECT_EQ(form->approvedDescriptions.size(), 3u);
}

// Sends a drag carrying `mime` over the approved view and drops it there;
// whether the view took it.
static bool dropOnApproved(TForm1& form, const QMimeData* mime)
{
    QWidget* target = form.ListView2->viewport();
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

TEST_F(ListEdit, OnlyDragsFromTheResultsViewAddToTheApprovedList)
{
    select(form->ListView1, { 2 });
    QMimeData foreign;
    foreign.setText("http://dragged.example");
    foreign.setUrls({ QUrl(QStringLiteral("file:///tmp/x.html")) });
    EXPECT_FALSE(dropOnApproved(*form, &foreign));
    EXPECT_EQ(form->approvedUrls.records(), (Lines { "http://b.example", "http://d.example" }))
        << "a drag from another program moved the selected row";

    const std::unique_ptr<QMimeData> rows(form->ListView1->model()->mimeData({ form->ListView1->model()->index(2, 0) }));
    EXPECT_TRUE(dropOnApproved(*form, rows.get()));
    EXPECT_EQ(form->approvedUrls.records(), (Lines { "http://b.example", "http://c.example", "http://d.example" }));
}

TEST_F(ListEdit, FindSearchesTheApprovedListFirstAfterOpening)
{
    form->spdFind->click();
    EXPECT_TRUE(form->FindDialog1->isVisible());
    find("d.example");
    EXPECT_EQ(form->ListView2->selectedRows(), (std::vector<int> { 1 }));
    EXPECT_EQ(form->focusWidget(), form->ListView2);
    find("d.example");
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "notice: d.example not found" }));
    EXPECT_TRUE(form->ListView2->selectedRows().empty());
}

TEST_F(ListEdit, FindWithEmptyApprovedListReportsNotFound)
{
    form->approvedUrls.clear();
    form->PopulateTheApprovedBox();
    run(&TForm1::mnuEditFindClick);
    find("http");
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "notice: http not found" }));
}

TEST_F(ListEdit, FindFromASelectedResultsRowMatchesTheWholeRecordAndNeverWraps)
{
    run(&TForm1::spdFindClick);
    select(form->ListView1, { 0 });
    find(",,,,,1");
    EXPECT_EQ(form->ListView1->selectedRows(), (std::vector<int> { 2 }));
    EXPECT_EQ(form->ListView1->currentRow(), 2);
    find(",,,,,1");
    EXPECT_EQ(form->ListView1->selectedRows(), (std::vector<int> { 4 }));
    find(",,,,,1");
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "notice: ,,,,,1 not found" }));
    EXPECT_TRUE(form->ListView1->selectedRows().empty());
    select(form->ListView1, { 1 });
    find("A.example");
    EXPECT_EQ(dialogs.calls.back(), "notice: A.example not found") << "letter case counts";
}

TEST_F(ListEdit, ClearCheckboxesUnticksEveryRowAndKeepsTheStatuses)
{
    run(&TForm1::mnuEditClick);
    EXPECT_TRUE(form->mnuClearCheckboxes->isEnabled());
    form->mnuClearCheckboxes->trigger();
    EXPECT_EQ(ticks(), std::vector<bool>(5, false));
    EXPECT_EQ(text(form->lblCheckedCount), "0");
    EXPECT_EQ(statuses()[0], "Verified");

    form->mnuFileCloseClick();
    run(&TForm1::mnuEditClick);
    EXPECT_FALSE(form->mnuClearCheckboxes->isEnabled());
}

TEST_F(ListEdit, FileMenuFollowsTheLists)
{
    run(&TForm1::mnuFileClick);
    EXPECT_TRUE(form->mnuFileExport->menuAction()->isEnabled());
    EXPECT_TRUE(form->mnuFileSave->isEnabled());
    form->approvedUrls.clear();
    run(&TForm1::mnuFileClick);
    EXPECT_FALSE(form->mnuFileExport->menuAction()->isEnabled());
    EXPECT_TRUE(form->mnuFilePrint->isEnabled());
    form->mnuFileCloseClick();
    run(&TForm1::mnuFileClick);
    for (QAction* item : { form->mnuFileSave, form->mnuFileClose, form->mnuFilePrint, form->mnuFIlePrintSetup })
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(ListEdit, PopupFollowsTheFocusedView)
{
    form->approvedUrls.clear();
    form->PopulateTheApprovedBox();
    form->ListView2->setFocus();
    run(&TForm1::UrlListPopupPopup);
    EXPECT_FALSE(form->popScanPage->isVisible());
    for (QAction* item :
        { form->popDescription, form->popGotoPage, form->popCut, form->popCopy, form->popRemoveFromList })
        EXPECT_FALSE(item->isEnabled());
    EXPECT_TRUE(form->Paste1->isEnabled());

    form->ListView1->setFocus();
    run(&TForm1::UrlListPopupPopup);
    EXPECT_TRUE(form->popScanPage->isVisible());
    EXPECT_TRUE(form->popScanPage->isEnabled());
    EXPECT_TRUE(form->popCut->isEnabled());
}

TEST_F(ListEdit, AClickInOneViewClearsTheOtherViewsSelection)
{
    select(form->ListView2, { 0 });
    QTest::mouseClick(form->ListView1->viewport(), Qt::LeftButton, {},
        form->ListView1->visualRect(form->ListView1->rowModel()->index(1, 0)).center());
    EXPECT_TRUE(form->ListView2->selectedRows().empty());
    EXPECT_EQ(form->ListView1->selectedRows(), (std::vector<int> { 1 }));
    QTest::mouseClick(form->ListView2->viewport(), Qt::LeftButton, {},
        form->ListView2->visualRect(form->ListView2->rowModel()->index(0, 0)).center());
    EXPECT_TRUE(form->ListView1->selectedRows().empty());
}

// Deleting many rows took time that grew with the square of the rows: one
// removal per row, each looking up the selection anew. All rows now go in one
// pass, and clearing a large selection is one step, not one per row.
TEST_F(ListEdit, ManyScatteredRowsAreDeletedAndDeselectedInOnePass)
{
    form->masterUrls.clear();
    Lines records;
    for (int i = 0; i < 3000; ++i) {
        char url[64];
        std::snprintf(url, sizeof url, "http://h%04d.example,,,,,%d,,,,,0", i, i % 2);
        records.push_back(url);
    }
    setMaster(records);
    for (int i = 0; i < 3000; ++i)
        form->masterDescriptions[static_cast<size_t>(i)] = std::to_string(i);

    QItemSelection rows;
    for (int i = 5; i < 3000; i += 3)
        rows.select(form->ListView1->rowModel()->index(i, 0), form->ListView1->rowModel()->index(i, 1));
    form->ListView1->selectionModel()->select(rows, QItemSelectionModel::Select);
    ASSERT_EQ(form->ListView1->selectedCount(), 999);

    int rowRemovals = 0, resets = 0;
    QObject::connect(form->ListView1->model(), &QAbstractItemModel::rowsRemoved, [&] { ++rowRemovals; });
    QObject::connect(form->ListView1->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    run(&TForm1::spdDeleteClick);

    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "confirm: Are you sure you want to delete these 999 items?" }));
    EXPECT_EQ(rowRemovals + resets, 1);
    Lines expected, expectedDescriptions;
    for (int i = 0; i < 3000; ++i)
        if (i < 5 || (i - 5) % 3 != 0) {
            expected.push_back(records[static_cast<size_t>(i)]);
            expectedDescriptions.push_back(std::to_string(i));
        }
    EXPECT_EQ(form->masterUrls.records(), expected);
    EXPECT_EQ(form->masterDescriptions, expectedDescriptions);
    ASSERT_EQ(form->ListView1->count(), 2001);
    EXPECT_EQ(form->ListView1->caption(5), "http://h0006.example");
    EXPECT_EQ(form->ListView1->selectedRows(), (std::vector<int> { 4 }));
    EXPECT_EQ(text(form->lblRawCount), "2001");

    // A click in the other view clears a large selection with one change.
    QItemSelection again;
    for (int i = 0; i < 2001; i += 2)
        again.select(form->ListView1->rowModel()->index(i, 0), form->ListView1->rowModel()->index(i, 1));
    form->ListView1->selectionModel()->select(again, QItemSelectionModel::ClearAndSelect);
    int selectionChanges = 0;
    QObject::connect(
        form->ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, [&] { ++selectionChanges; });
    form->ListView2Click();
    EXPECT_EQ(form->ListView1->selectedCount(), 0);
    EXPECT_EQ(selectionChanges, 1);
}
