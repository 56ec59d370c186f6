// The main window's composition: captions, hints, separators, initial states,
// the tab geometry, the minimum size and the About window.
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "app/controls/PageControl.h"
#include "core/Lines.h"
#include "files/OptionsFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace
{

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.makeProgramFolder();
        orv::SaveLines(folder.file("search.txt"), orv::OptionsToLines(orv::Options {}));
        form = std::make_unique<TForm1>(folder.path());
        form->show();
    }

    // The captions of a menu in order, separators as "-".
    static std::vector<std::string> captions(const QMenu* menu)
    {
        std::vector<std::string> out;
        for (const QAction* action : menu->actions())
            out.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        return out;
    }

    void clickTab(QWidget* page)
    {
        QTabBar* bar = form->Page1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(form->Page1->indexOf(page)).center());
    }

    orv::test::TempFolder folder;
    orv::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindow, MenusCarryTheirCaptionsAndSeparators)
{
    const QList<QAction*> top = form->MainMenu1->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "&Edit");
    EXPECT_EQ(top[2]->text(), "&Help");
    EXPECT_EQ(captions(form->mnuFile),
        (std::vector<std::string> { "&New Search Criteria", "&Open Results", "Open &Recent", "&Save", "Save &As...",
            "&Close", "S&tats", "&Export", "Export &CSV...", "Export &JSON...", "P&rint Setup", "&Print", "E&xit" }));
    EXPECT_EQ(captions(form->mnuFileExport), (std::vector<std::string> { "&Html", "&Text" }));
    EXPECT_TRUE(form->mnuFileExportHtml->isCheckable());
    EXPECT_EQ(captions(form->mnuEdit),
        (std::vector<std::string> { "Cu&t          Ctrl+X", "&Copy       Ctrl+C", "&Paste      Ctrl+V",
            "C&lear Checkboxes", "&Find", "Find &Next", "Engine &Yield" }));
    EXPECT_FALSE(form->mnuClearCheckboxes->isEnabled());
    EXPECT_FALSE(form->mnuEditYield->isEnabled()) << "no search has run";
    EXPECT_TRUE(form->mnuEditCut->shortcut().isEmpty());
    EXPECT_EQ(captions(form->mnuHelp), (std::vector<std::string> { "&Orvalen Help", "&About" }));
    EXPECT_EQ(captions(form->UrlListPopup),
        (std::vector<std::string> { "&Go to Web Page", "&Scan Page", "&Description", "-", "Cu&t", "&Copy", "&Paste",
            "-", "Re&move From List" }));
}

TEST_F(MainWindow, ToolbarButtonsCarryTheirHintsLeftToRight)
{
    const std::vector<std::pair<QWidget*, const char*>> expected = { { form->spdNew, "New Search Criteria" },
        { form->spdOpen, "Open Existing Results File" }, { form->spdSave, "Save Search File" },
        { form->spdCut, "Cut to Clipboard" }, { form->spdCopy, "Copy to Clipboard" },
        { form->spdPaste, "Paste from Clipboard" }, { form->spdDelete, "Delete Record(s)" },
        { form->spdFind, "Find Record" }, { form->spdPrint, "Print List(s)" }, { form->spdHelp, "Help" },
        { form->butSearch, "Initiate New Search" }, { form->butAbort, "Abort Search/Retrieval" },
        { form->butRetrieve, "Verify Sites" } };
    int lastX = -1;
    for (const auto& [button, hint] : expected) {
        EXPECT_EQ(button->toolTip().toStdString(), hint);
        EXPECT_GT(button->x(), lastX) << hint;
        EXPECT_EQ(button->parentWidget(), form->Panel1);
        lastX = button->x();
    }
    EXPECT_EQ(form->butSearch->text(), "&Search");
    EXPECT_EQ(form->butAbort->text(), "&Abort");
    EXPECT_EQ(form->butRetrieve->text(), "&Retrieve");
    EXPECT_EQ(form->Panel1->height(), 49);
    EXPECT_EQ(form->Panel1->y(), 0);
    // The logo keeps to the right end of the toolbar.
    EXPECT_GT(form->imgLogo->x(), lastX);
    EXPECT_LE(form->Panel1->width() - (form->imgLogo->x() + form->imgLogo->width()), 8);
    EXPECT_TRUE(form->imgLogo->isVisible());
}

TEST_F(MainWindow, CreationLeavesTheDocumentedStartingState)
{
    EXPECT_EQ(form->windowTitle(), "Orvalen");
    EXPECT_TRUE(form->butSearch->isEnabled());
    EXPECT_FALSE(form->butAbort->isEnabled());
    EXPECT_FALSE(form->butRetrieve->isEnabled());
    EXPECT_EQ(form->lblCurrentEngine->text(), "Ready");
    EXPECT_FALSE(form->ProgressBar1->isVisible());
    EXPECT_EQ(form->ProgressBar1->minimum(), 0);
    EXPECT_EQ(form->ProgressBar1->maximum(), 100);
    EXPECT_EQ(form->Page1->currentWidget(), form->TabSheet1);
    EXPECT_EQ(form->Page1->height(), 100);
    EXPECT_FALSE(form->butProxyOk->isEnabled());
    EXPECT_TRUE(form->memPrimarySearchCriteria->toPlainText().isEmpty());
    EXPECT_TRUE(form->radPrimaryAny->isChecked());
    EXPECT_TRUE(form->radSecondaryAny->isChecked());
    EXPECT_TRUE(form->radExclusionAny->isChecked());
    EXPECT_EQ(form->memExclusionCriteria->toolTip(), "These are words you don't want");
    EXPECT_EQ(form->memPrimarySearchCriteria->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form->Page1->tabText(0), "Main");
    EXPECT_EQ(form->Page1->tabText(1), "Engines");
    EXPECT_EQ(form->Page1->tabText(2), "Browsers");
    EXPECT_EQ(form->Page1->tabText(3), "Search Criteria");
}

TEST_F(MainWindow, RadioPairsChooseIndependently)
{
    form->radPrimaryAll->click();
    form->radExclusionAll->click();
    EXPECT_TRUE(form->radPrimaryAll->isChecked());
    EXPECT_FALSE(form->radPrimaryAny->isChecked());
    EXPECT_TRUE(form->radSecondaryAny->isChecked());
    EXPECT_TRUE(form->radExclusionAll->isChecked());
}

struct TabCase {
    int index;
    int height;
};

class TabGeometry : public MainWindow, public ::testing::WithParamInterface<TabCase>
{
};

TEST_P(TabGeometry, ThePageControlSlidesUpByWhatItsPageNeeds)
{
    const int listHeight = form->listArea->height();
    form->butOptionsApply->setEnabled(true);
    form->butOptionsCancel->setEnabled(true);
    form->butAccept->setEnabled(true);
    QWidget* page = form->Page1->widget(GetParam().index);
    clickTab(page);
    EXPECT_EQ(form->Page1->currentWidget(), page);
    EXPECT_EQ(form->Page1->height(), GetParam().height);
    EXPECT_EQ(form->Page1->y() + form->Page1->height(), form->centralWidget()->height());
    EXPECT_EQ(form->listArea->height(), listHeight) << "the lists keep their size";
    const bool settings = page == form->TabSheet2 || page == form->TabSheet3;
    EXPECT_EQ(form->butOptionsApply->isEnabled(), !settings);
    EXPECT_EQ(form->butOptionsCancel->isEnabled(), !settings);
    EXPECT_EQ(form->butAccept->isEnabled(), page != form->TabSheet4);
}

INSTANTIATE_TEST_SUITE_P(Pages, TabGeometry,
    ::testing::Values(TabCase { 0, 100 }, TabCase { 1, 200 }, TabCase { 2, 200 }, TabCase { 3, 380 }));

TEST_F(MainWindow, CriteriaTabPutsTheCaretInThePrimaryMemo)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    clickTab(form->TabSheet4);
    EXPECT_TRUE(form->memPrimarySearchCriteria->hasFocus());
    clickTab(form->TabSheet1);
    EXPECT_EQ(form->Page1->height(), 100);
}

TEST_F(MainWindow, WindowSnapsBackToItsMinimumSize)
{
    form->resize(300, 600);
    EXPECT_EQ(form->width(), 512);
    EXPECT_EQ(form->height(), 600);
    form->resize(700, 100);
    EXPECT_EQ(form->width(), 700);
    EXPECT_EQ(form->height(), 256);
    form->resize(800, 500);
    QTest::qWait(0);
    EXPECT_EQ(form->Panel3->width(), form->Page1->width() - 10);
}

TEST_F(MainWindow, AboutWindowIsModelessAndOkHidesIt)
{
    form->mnuHelpAbout->trigger();
    ASSERT_TRUE(frmAbout);
    EXPECT_TRUE(frmAbout->isVisible());
    EXPECT_FALSE(frmAbout->isModal());
    EXPECT_EQ(frmAbout->butOk->text(), "&Ok");
    frmAbout->butOk->click();
    EXPECT_FALSE(frmAbout->isVisible());
}

} // namespace

namespace
{

TEST_F(MainWindow, KeyboardChoiceOfAPageMovesThePageControlToo)
{
    QTest::keyClick(form->Page1, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->Page1->currentWidget(), form->TabSheet2);
    EXPECT_EQ(form->Page1->height(), 200);
    // A page the program chooses itself leaves the geometry to its caller.
    form->Page1->setCurrentWidget(form->TabSheet4);
    EXPECT_EQ(form->Page1->height(), 200);
}

} // namespace
