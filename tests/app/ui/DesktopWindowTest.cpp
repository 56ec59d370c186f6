// The window as today's desktop users expect it: panes that survive the
// smallest size, access keys in captions, the find box, the small windows,
// the close question, what is kept between starts, the open file in the
// title, recent files, drops, the menus' keys and glyphs drawn at any scale.
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "app/controls/NumberBox.h"
#include "app/controls/PageControl.h"
#include "app/controls/Splitter.h"
#include "browse/ui/TFindDialog.h"
#include "browse/ui/TfrmDescription.h"
#include "core/Lines.h"
#include "files/OptionsFile.h"
#include "files/WindowSession.h"
#include "parse/ui/TfrmStats.h"
#include "platform/ui/UrlListView.h"
#include "search/ui/TfrmYield.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace
{

class DesktopWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.makeProgramFolder();
        orv::SaveLines(folder.file("search.txt"), orv::OptionsToLines(orv::Options {}));
        form = newWindow();
    }

    std::unique_ptr<TForm1> newWindow()
    {
        auto window = std::make_unique<TForm1>(folder.path());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        dialogs.calls.clear();
        return window;
    }

    void activate(QWidget* window)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    void addRow(const char* url)
    {
        form->UpdateMasterUrlList(url);
        form->PopulateListBox();
    }

    orv::test::TempFolder folder;
    orv::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

// Regression: after the smallest size and back, "Your Results" stayed at no
// width and "Confirmed Urls" was cut off the "Main" tab, and the splitter
// could not be told from its ground.
TEST_F(DesktopWindow, SmallestSizeAndBackKeepBothListsTheCountersAndAVisibleHandle)
{
    auto confirmedInSight = [this] {
        return form->Panel6->x() + form->lblConfirmed->x() + form->lblConfirmed->width() <= form->Panel3->width();
    };
    form->resize(512, 256);
    QTest::qWait(0);
    EXPECT_TRUE(confirmedInSight());
    // A window manager may give the window less room than its minimum while
    // the user drags its edge.
    form->listArea->resize(150, form->listArea->height());
    EXPECT_GE(form->ListView2->width(), orv::Splitter::kMinSize);
    EXPECT_LE(form->TheSplitter->x() + form->TheSplitter->width(), form->ListView2->x());
    form->resize(1200, 800);
    QTest::qWait(0);
    EXPECT_EQ(form->ListView1->width(), 405) << "the results view gets its width back";
    EXPECT_EQ(form->ListView2->width(), form->listArea->width() - 408);
    EXPECT_EQ(form->Panel6->x(), 405);
    EXPECT_TRUE(confirmedInSight());

    const QImage handle = form->TheSplitter->grab().toImage();
    const QRgb ground = form->listArea->palette().color(QPalette::Window).rgb();
    int unlike = 0;
    for (int y = 0; y < handle.height(); ++y)
        for (int x = 0; x < handle.width(); ++x)
            unlike += handle.pixel(x, y) != ground ? 1 : 0;
    EXPECT_GT(unlike, handle.height()) << "the handle looks like the window's ground";
}

// Regression: the find box's label showed "Fi&nd what:" with its "&".
TEST_F(DesktopWindow, EveryAmpersandOfALabelMarksTheAccessKeyOfItsBuddy)
{
    TfrmAbout about(form.get());
    form->mnuEditYieldClick();
    form->popDescriptionClick();
    int marked = 0;
    for (QWidget* window : std::initializer_list<QWidget*> {
             form.get(), form->FindDialog1, &about, form->frmStats, form->frmYield, frmDescription }) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            const QString text = label->text();
            const bool accessKey = text.contains(QRegularExpression(QStringLiteral("&[^&]")));
            if (!accessKey)
                continue;
            ++marked;
            EXPECT_TRUE(label->buddy()) << text.toStdString();
        }
    }
    EXPECT_GE(marked, 1);
    EXPECT_EQ(form->FindDialog1->lblFind->buddy(), form->FindDialog1->edFind);
}

// Regression: opened a second time, the find box had the focus on Cancel,
// so typing went nowhere and Enter closed it.
TEST_F(DesktopWindow, FindOpenedAgainTakesTypingInItsTextBoxWithTheOldTextSelected)
{
    // The dialog's focus widget is where its keys go while it is active.
    TFindDialog* find = form->FindDialog1;
    form->spdFindClick();
    ASSERT_TRUE(find->isVisible());
    QTest::keyClicks(find->focusWidget(), QStringLiteral("alpha"));
    EXPECT_EQ(find->edFind->text(), "alpha");
    find->butCancel->setFocus();
    QTest::mouseClick(find->butCancel, Qt::LeftButton);
    EXPECT_FALSE(find->isVisible());

    form->spdFindClick();
    EXPECT_EQ(find->focusWidget(), find->edFind);
    EXPECT_EQ(find->edFind->selectedText(), "alpha");
    QTest::keyClicks(find->focusWidget(), QStringLiteral("beta"));
    EXPECT_EQ(find->edFind->text(), "beta");
}

// Regression: "Parallel fetches" ran into its box on the "Engines" tab.
TEST_F(DesktopWindow, ParallelFetchesCaptionStandsClearOfItsBox)
{
    form->Page1->setCurrentWidget(form->TabSheet2);
    form->Page1MouseDown();
    for (const QSize size : { QSize(655, 458), QSize(512, 458) }) {
        form->resize(size);
        QTest::qWait(0);
        const QLabel* caption = nullptr;
        for (const QLabel* label : form->TabSheet2->findChildren<QLabel*>())
            if (label->text() == "Parallel fetches")
                caption = label;
        ASSERT_TRUE(caption);
        EXPECT_EQ(caption->buddy(), form->spinParallelFetches);
        const int advance = caption->fontMetrics().horizontalAdvance(caption->text());
        const QRect text(caption->mapTo(form->TabSheet2, caption->contentsRect().topLeft()),
            QSize(advance, caption->fontMetrics().height()));
        const QRect box(
            form->spinParallelFetches->mapTo(form->TabSheet2, QPoint(0, 0)), form->spinParallelFetches->size());
        EXPECT_FALSE(text.intersects(box)) << size.width();
        EXPECT_GE(caption->contentsRect().width(), caption->fontMetrics().horizontalAdvance(caption->text()))
            << size.width();
    }
}

struct SmallWindowCase {
    const char* name;
    std::function<QWidget*(TForm1&)> open;
    bool overTheMainWindow;
};

class SmallWindows : public DesktopWindow, public ::testing::WithParamInterface<SmallWindowCase>
{
};

// Regression: the yield and report windows opened at scattered places and
// Escape closed none of the small windows.
TEST_P(SmallWindows, OpenOverTheMainWindowAndCloseOnEscape)
{
    form->move(140, 90);
    QWidget* window = GetParam().open(*form);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->isVisible());
    if (GetParam().overTheMainWindow) {
        const QPoint offset = window->frameGeometry().center() - form->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    }
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Windows, SmallWindows,
    ::testing::Values(SmallWindowCase { "yield",
                          [](TForm1& f) -> QWidget* {
                              f.mnuEditYieldClick();
                              return f.frmYield;
                          },
                          true },
        SmallWindowCase { "report",
            [](TForm1& f) -> QWidget* {
                f.mnuFileStatsClick();
                return f.frmStats;
            },
            true },
        SmallWindowCase { "description",
            [](TForm1& f) -> QWidget* {
                f.popDescriptionClick();
                return frmDescription;
            },
            false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopWindow, YieldColumnsAllHaveHeadingsThatExplainThem)
{
    form->mnuEditYieldClick();
    QTableWidget* grid = form->frmYield->gridYield;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* heading = grid->horizontalHeaderItem(c);
        ASSERT_TRUE(heading) << c;
        EXPECT_FALSE(heading->text().isEmpty()) << c;
        EXPECT_FALSE(heading->toolTip().isEmpty()) << heading->text().toStdString();
    }
}

struct CloseCase {
    const char* name;
    orv::SaveChoice choice;
    bool saveDialogAnswered;
    bool closes;
    bool fileWritten;
};

class CloseQuestion : public DesktopWindow, public ::testing::WithParamInterface<CloseCase>
{
};

// Regression: Exit closed at once over unsaved results.
TEST_P(CloseQuestion, UnsavedListsAskSaveDiscardOrCancel)
{
    addRow("http://a.example/");
    dialogs.saveChoices.push_back(GetParam().choice);
    if (GetParam().saveDialogAnswered)
        dialogs.fileAnswers.push_back(folder.file("Reports/kept.rst"));
    form->mnuFileExit->trigger();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.front(), "save changes: Save the changes to the results before closing?");
    EXPECT_EQ(form->isVisible(), !GetParam().closes);
    EXPECT_EQ(orv::FileExists(folder.file("Reports/kept.rst")), GetParam().fileWritten);
    if (!GetParam().closes) {
        EXPECT_EQ(form->masterUrls.count(), 1) << "a called-off close keeps the lists";
    }
    if (GetParam().fileWritten) {
        EXPECT_EQ(orv::LoadLines(folder.file("Reports/kept.rst")).at(8), "http://a.example,,,,,0,,,,,0");
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestion,
    ::testing::Values(CloseCase { "Discard", orv::SaveChoice::Discard, false, true, false },
        CloseCase { "Cancel", orv::SaveChoice::Cancel, false, false, false },
        CloseCase { "Save", orv::SaveChoice::Save, true, true, true },
        CloseCase { "SaveDialogCancelled", orv::SaveChoice::Save, false, false, false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopWindow, NothingIsAskedWhenNothingChangedSinceTheOpen)
{
    folder.write("Reports/one.rst",
        "Primary\r\n1\r\nsolar\r\nSecondary\r\n0\r\nExclusion\r\n0\r\nMasterUrl\r\n1\r\n"
        "http://a.example/,,,,,1,,,,,1\r\nApprovedUrl\r\n0\r\nEnd Data\r\n");
    dialogs.fileAnswers.push_back(folder.file("Reports/one.rst"));
    form->spdOpenClick();
    ASSERT_EQ(form->masterUrls.count(), 1);
    dialogs.calls.clear();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(DesktopWindow, SizeSplitterTabAndRecentFilesAreKeptBetweenStarts)
{
    orv::SessionStore store(QString::fromStdString(folder.file("Orvalen.conf")));
    form->RestoreSession(&store);
    form->resize(900, 640);
    QTest::qWait(0);
    form->MoveSplitterTo(300);
    form->Page1->setCurrentWidget(form->TabSheet3);
    form->Page1MouseDown();
    form->recentFiles.add(folder.file("Reports/one.rst"));
    form->close();
    form.reset();

    auto second = newWindow();
    second->hide();
    second->RestoreSession(&store);
    second->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second.get()));
    EXPECT_EQ(second->size(), QSize(900, 640));
    EXPECT_EQ(second->ListView1->width(), 300);
    EXPECT_EQ(second->Page1->currentWidget(), second->TabSheet3);
    EXPECT_EQ(second->Page1->height(), 200);
    EXPECT_EQ(second->recentFiles.files(), (std::vector<std::string> { folder.file("Reports/one.rst") }));
}

TEST_F(DesktopWindow, TheOpenFileNamesTheTitleAndComesBackFromRecentFilesAndADrop)
{
    addRow("http://a.example/");
    dialogs.fileAnswers.push_back(folder.file("Reports/one.rst"));
    form->mnuFileSaveAs->trigger();
    EXPECT_EQ(form->windowTitle(), "one.rst - Orvalen");
    form->ListView1->setChecked(0, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->windowTitle() == "one.rst* - Orvalen"; }, 5000));

    form->mnuFileCloseClick();
    EXPECT_EQ(form->windowTitle(), "Orvalen");
    QTest::qWait(0); // the menu is refilled once the command has returned
    const QList<QAction*> recent = form->mnuFileRecent->actions();
    ASSERT_EQ(recent.size(), 1);
    EXPECT_EQ(recent[0]->text().toStdString(), "&1 one.rst  (" + folder.path() + "Reports)");
    recent[0]->trigger();
    EXPECT_EQ(form->masterUrls.count(), 1);
    EXPECT_EQ(form->windowTitle(), "one.rst - Orvalen");

    form->mnuFileCloseClick();
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(QString::fromStdString(folder.file("Reports/one.rst"))) });
    QWidget* target = form->ListView2->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(form->masterUrls.count(), 1);
    EXPECT_EQ(form->approvedUrls.count(), 0) << "a dropped file is not a dropped row";
    EXPECT_EQ(form->windowTitle(), "one.rst - Orvalen");
}

TEST_F(DesktopWindow, MenusShowTheDesktopsKeysAndTheKeysWork)
{
    const std::pair<QAction*, const char*> keys[] = { { form->mnuFileNew, "Ctrl+N" }, { form->mnuFileOpen, "Ctrl+O" },
        { form->mnuFileSave, "Ctrl+S" }, { form->mnuFileSaveAs, "Ctrl+Shift+S" }, { form->mnuEditFind, "Ctrl+F" },
        { form->mnuEditFindNext, "F3" }, { form->mnuFilePrint, "Ctrl+P" }, { form->mnuFileExit, "Ctrl+Q" },
        { form->mnuHelpContents, "F1" }, { form->popRemoveFromList, "Del" } };
    for (const auto& [action, key] : keys)
        EXPECT_EQ(action->shortcut().toString().toStdString(), key) << action->text().toStdString();
    activate(form.get());
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(form->FindDialog1->isVisible());
}

TEST_F(DesktopWindow, ToolbarGlyphsAreDrawnForTheScreensPixels)
{
    const QIcon icon = form->spdFind->icon();
    const QPixmap fine = icon.pixmap(QSize(20, 20), 2.0);
    EXPECT_EQ(fine.size(), QSize(40, 40));
    EXPECT_EQ(fine.devicePixelRatio(), 2.0);
    const QImage blownUp
        = icon.pixmap(QSize(20, 20), 1.0).toImage().scaled(40, 40).convertToFormat(QImage::Format_ARGB32);
    EXPECT_NE(fine.toImage().convertToFormat(QImage::Format_ARGB32), blownUp);
}

} // namespace
