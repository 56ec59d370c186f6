#include "platform/ui/UrlListView.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace orv;

namespace {

std::unique_ptr<UrlListView> resultsView(int rows)
{
    auto view = std::make_unique<UrlListView>();
    view->setColumns({ "Search Engine Results", "Status" });
    view->setCheckBoxes(true);
    view->setDragSource(true);
    view->beginUpdate();
    for (int i = 0; i < rows; ++i)
        view->addRow("http://site" + std::to_string(i) + ".com", "Not Verified", i % 2 == 1);
    view->endUpdate();
    return view;
}

TEST(UrlListView, RowsKeepCaptionStatusAndTick)
{
    auto view = resultsView(4);
    EXPECT_EQ(view->count(), 4);
    EXPECT_EQ(view->checkedCount(), 2);
    view->setCaption(2, "caf\xC3\xA9");
    view->setStatus(2, "Verified");
    view->setChecked(2, true);
    EXPECT_EQ(view->caption(2), "caf\xC3\xA9");
    EXPECT_EQ(view->model()->index(2, 0).data().toString(), QString::fromUtf8("café"));
    EXPECT_EQ(view->model()->index(2, 1).data().toString(), "Verified");
    EXPECT_EQ(view->checkedCount(), 3);

    view->removeRow(0);
    EXPECT_EQ(view->caption(0), "http://site1.com");
    EXPECT_THROW(view->caption(3), std::exception);
    view->clear();
    EXPECT_EQ(view->count(), 0);
}

TEST(UrlListView, SelectionFocusAndFirstSelected)
{
    auto view = resultsView(6);
    EXPECT_EQ(view->firstSelected(), -1);
    view->setSelected(4, true);
    view->setSelected(1, true);
    EXPECT_EQ(view->selectedRows(), (std::vector<int> { 1, 4 }));
    EXPECT_EQ(view->firstSelected(), 1);
    view->setCurrentRow(5);
    EXPECT_EQ(view->currentRow(), 5);
    EXPECT_EQ(view->selectedCount(), 2); // focus does not select
    view->setSelected(1, false);
    EXPECT_EQ(view->selectedRows(), (std::vector<int> { 4 }));
    // Removing a row above the selection moves the selection with its row.
    view->removeRow(0);
    EXPECT_EQ(view->selectedRows(), (std::vector<int> { 3 }));
}

TEST(UrlListView, AHundredThousandRowsInOneUpdate)
{
    auto view = resultsView(100000);
    QSignalSpy resets(view->model(), &QAbstractItemModel::modelReset);
    view->beginUpdate();
    view->clear();
    for (int i = 0; i < 100000; ++i)
        view->addRow(std::to_string(i), "x", false);
    view->endUpdate();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(view->model()->rowCount(), 100000);
    EXPECT_EQ(view->caption(99999), "99999");
}

TEST(UrlListView, ClickSelectsWholeRowAndSpaceTogglesTheTick)
{
    auto view = resultsView(5);
    view->resize(400, 300);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QSignalSpy clicks(view.get(), &UrlListView::viewClicked);
    QSignalSpy toggles(view.get(), &UrlListView::checkToggled);

    const QRect statusCell = view->visualRect(view->model()->index(2, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, statusCell.center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(view->selectedRows(), (std::vector<int> { 2 }));
    EXPECT_EQ(view->currentRow(), 2);

    QTest::keyClick(view.get(), Qt::Key_Space);
    ASSERT_EQ(toggles.count(), 1);
    EXPECT_EQ(toggles.at(0).at(0).toInt(), 2);
    EXPECT_TRUE(view->checked(2));
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_FALSE(view->checked(2));
    EXPECT_EQ(view->selectedRows(), (std::vector<int> { 2 }));
}

TEST(UrlListView, ClickOnTheBoxTicksBeforeTheClickIsReported)
{
    auto view = resultsView(5);
    view->resize(400, 300);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    std::vector<int> ticksSeenByClick;
    QObject::connect(view.get(), &UrlListView::viewClicked, [&] { ticksSeenByClick.push_back(view->checkedCount()); });

    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.rect = view->visualRect(view->model()->index(2, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view.get());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());

    EXPECT_TRUE(view->checked(2));
    EXPECT_EQ(ticksSeenByClick, (std::vector<int> { 3 }));
}

TEST(UrlListView, ListCommandKeysGoOnlyToTheHandler)
{
    auto view = resultsView(3);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->setCurrentRow(1);
    QSignalSpy keys(view.get(), &UrlListView::keyDown);
    QApplication::clipboard()->setText("before");

    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Delete);
    QTest::keyClick(view.get(), Qt::Key_Down);

    // The Ctrl key itself is reported as well, as it goes down.
    ASSERT_EQ(keys.count(), 4);
    EXPECT_EQ(keys.at(0).at(0).toInt(), Qt::Key_Control);
    EXPECT_EQ(keys.at(1).at(0).toInt(), Qt::Key_C);
    EXPECT_EQ(keys.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    EXPECT_EQ(keys.at(2).at(0).toInt(), Qt::Key_Delete);
    // The view's own copy would have put the current caption there.
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    EXPECT_EQ(view->count(), 3);
    // Other keys keep their usual meaning.
    EXPECT_EQ(view->currentRow(), 2);
}

// Sends a drag over `target` and drops it, as a drag from `mime`'s view would.
void dragAndDrop(UrlListView* target, const QMimeData* mime)
{
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target->viewport(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target->viewport(), &drop);
}

TEST(UrlListView, DropsNameTheirSourceAndNeedAcceptance)
{
    auto results = resultsView(3);
    UrlListView approved;
    approved.setColumns({ "Your Results" });
    approved.setAcceptRowDrops(true);
    QSignalSpy drops(&approved, &UrlListView::dropped);
    bool acceptDrags = false;
    std::vector<UrlListView*> offeredFrom;
    QObject::connect(&approved, &UrlListView::dragOver, [&](UrlListView* source, bool* accept) {
        offeredFrom.push_back(source);
        *accept = acceptDrags;
    });

    results->setSelected(1, true);
    std::unique_ptr<QMimeData> mime(results->model()->mimeData({ results->model()->index(1, 0) }));
    EXPECT_EQ(mime->text(), "http://site1.com");

    dragAndDrop(&approved, mime.get());
    EXPECT_EQ(drops.count(), 0); // the handler did not accept

    acceptDrags = true;
    dragAndDrop(&approved, mime.get());
    ASSERT_EQ(drops.count(), 1);
    EXPECT_EQ(drops.at(0).at(0).value<UrlListView*>(), results.get());

    // Text from elsewhere names no source view.
    QMimeData foreign;
    foreign.setText("http://x.com");
    dragAndDrop(&approved, &foreign);
    ASSERT_EQ(drops.count(), 2);
    EXPECT_EQ(drops.at(1).at(0).value<UrlListView*>(), nullptr);
    EXPECT_EQ(offeredFrom.front(), results.get());
}

TEST(UrlListView, MakeVisibleLeavesAPartlyVisibleRowInPlace)
{
    auto view = resultsView(1000);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    const int rowHeight = view->visualRect(view->model()->index(0, 0)).height();
    ASSERT_GT(rowHeight, 0);
    view->resize(400, view->height() - view->viewport()->height() + rowHeight * 10 + rowHeight / 2);
    QApplication::processEvents();
    QScrollBar* bar = view->verticalScrollBar();

    view->scrollToRow(900);
    const QRect shown = view->visualRect(view->model()->index(900, 0));
    EXPECT_GE(shown.top(), 0);
    EXPECT_LE(shown.bottom(), view->viewport()->height());

    view->scrollToRow(0);
    const int top = bar->value();
    view->scrollToRow(10); // half of it shows at the bottom
    EXPECT_EQ(bar->value(), top);
    view->scrollToRow(10, true);
    EXPECT_GT(bar->value(), top);
}

} // namespace
