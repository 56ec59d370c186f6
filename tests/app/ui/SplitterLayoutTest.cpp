// The two-list layout: the results view takes five eighths of the width, the
// splitter and the approved view the rest; moving the splitter shares the
// columns out again and moves the approved counter and the progress bar.
#include "app/TForm1.h"
#include "app/controls/Splitter.h"
#include "core/Lines.h"
#include "files/OptionsFile.h"
#include "platform/ui/UrlListView.h"
#include "rcadigi/Rcadigi.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace
{

class SplitterLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.makeProgramFolder();
        orv::SaveLines(folder.file("search.txt"), orv::OptionsToLines(orv::Options {}));
        form = std::make_unique<TForm1>(folder.path());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Drags the splitter so that its left edge lands at `left`.
    void dragSplitterTo(int left)
    {
        orv::Splitter* bar = form->TheSplitter;
        const QPoint grab(1, bar->height() / 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, grab);
        QTest::mouseMove(bar, QPoint(left - bar->x() + 1, grab.y()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(left - bar->x() + 1, grab.y()));
    }

    orv::test::TempFolder folder;
    orv::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(SplitterLayout, ResultsViewTakesFiveEighthsOfItsWidth)
{
    // The window opens with the list area 655 pixels wide: 655 / 8 * 5.
    ASSERT_EQ(form->listArea->width(), 655);
    EXPECT_EQ(form->ListView1->width(), 405);
    EXPECT_EQ(form->ListView1->columnWidth(0), 285);
    EXPECT_EQ(form->ListView1->columnWidth(1), 120);
    ASSERT_TRUE(form->TheSplitter);
    EXPECT_EQ(form->TheSplitter->x(), 405);
    EXPECT_EQ(form->TheSplitter->width(), 3);
    EXPECT_TRUE(form->ListView2->isVisible());
    EXPECT_EQ(form->ListView2->x(), 408);
    EXPECT_EQ(form->ListView2->width(), 655 - 408);
    EXPECT_EQ(form->ListView2->height(), form->ListView1->height());
    EXPECT_EQ(form->ListView2->columnWidth(0), form->ListView2->width());
    EXPECT_EQ(form->Panel6->x(), 405);
    EXPECT_EQ(form->ProgressBar1->x(), 408);
}

TEST_F(SplitterLayout, LayingOutASecondTimeDoesNothing)
{
    orv::Splitter* first = form->TheSplitter;
    form->SetupTheSplitter();
    EXPECT_EQ(form->TheSplitter, first);
    EXPECT_EQ(form->ListView1->width(), 405);
    EXPECT_EQ(form->listArea->findChildren<orv::Splitter*>().size(), 1);
}

TEST_F(SplitterLayout, MovingTheSplitterSharesTheColumnsOut)
{
    dragSplitterTo(300);
    const int width = form->ListView1->width();
    EXPECT_EQ(width, 300);
    EXPECT_EQ(form->ListView1->columnWidth(0), width / 4 * 3);
    EXPECT_EQ(form->ListView1->columnWidth(1), width / 4);
    EXPECT_EQ(form->ListView2->x(), 303);
    EXPECT_EQ(form->ListView2->columnWidth(0), form->ListView2->width());
    EXPECT_EQ(form->Panel6->x(), form->ListView2->x());
    EXPECT_EQ(form->ProgressBar1->x(), form->ListView2->x());
    EXPECT_EQ(form->lblConfirmed->x(), form->lblApprovedCount->x() + form->lblApprovedCount->width() + 6);
}

TEST_F(SplitterLayout, SplitterStopsShortOfEitherEdge)
{
    dragSplitterTo(-50);
    EXPECT_EQ(form->ListView1->width(), orv::Splitter::kMinSize);
    dragSplitterTo(5000);
    EXPECT_EQ(form->ListView2->width(), orv::Splitter::kMinSize);
}

TEST_F(SplitterLayout, WideningTheWindowWidensTheApprovedView)
{
    form->resize(form->width() + 100, form->height());
    EXPECT_EQ(form->ListView1->width(), 405);
    EXPECT_EQ(form->ListView2->width(), 755 - 408);
    EXPECT_EQ(form->RCADigital1->x() + form->RCADigital1->width() + 4, form->Panel3->width());
}

} // namespace
