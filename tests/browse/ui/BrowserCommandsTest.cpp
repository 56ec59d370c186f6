// The browser commands of the main window, driven through its controls:
// detection from a registry file the test writes, choosing in the list,
// handing the selected URL over, the description window and help.
#include "app/TForm1.h"
#include "app/controls/CheckListBox.h"
#include "app/controls/PageControl.h"
#include "browse/ui/TfrmDescription.h"
#include "support/RecordingShell.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/ui/UrlListView.h"

namespace
{

const char* const kBothInstalled = "REGEDIT4\n"
                                   "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\n"
                                   "\"Install Directory\"=\"C:\\\\Netscape\"\n"
                                   "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\IE4\\Setup]\n"
                                   "\"Path\"=\"C:\\\\IE\"\n"
                                   "[HKEY_CLASSES_ROOT\\HTTP\\shell\\open\\command]\n"
                                   "@=\"C:\\\\NETSCAPE\\\\NETSCAPE.EXE %1\"\n";

class Browsers : public ::testing::Test
{
protected:
    void SetUp() override { start(kBothInstalled); }
    void TearDown() override
    {
        form.reset();
        ::unsetenv("ORVALEN_REGISTRY");
    }

    // Builds the main window with `registry` as the registry file.
    void start(const std::string& registry)
    {
        form.reset();
        folder.makeProgramFolder();
        folder.write("registry.reg", registry);
        ::setenv("ORVALEN_REGISTRY", folder.file("registry.reg").c_str(), 1);
        form = std::make_unique<TForm1>(folder.path());
        form->show();
        dialogs.calls.clear(); // start-up's own messages (no options file) are not ours
        // Open the "Browsers" tab as the user does, so the list has its size.
        QTabBar* bar = form->Page1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(form->Page1->indexOf(form->TabSheet3)).center());
    }

    std::vector<std::string> entries() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < form->listBrowsers->count(); ++i)
            out.push_back(form->listBrowsers->item(i)->text().toStdString()
                + (form->listBrowsers->isChecked(i) ? " [x]" : " [ ]"));
        return out;
    }

    void clickEntry(int row, bool onCheckMark = false)
    {
        QListWidget* list = form->listBrowsers;
        const QRect r = list->visualItemRect(list->item(row));
        const QPoint at = onCheckMark ? QPoint(r.left() + 10, r.center().y()) : r.center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    void addMaster(const std::string& url, const std::string& description)
    {
        form->ListView1->addRow(url, "Not Verified");
        form->masterDescriptions.push_back(description);
    }
    void addApproved(const std::string& url, const std::string& description)
    {
        form->ListView2->addRow(url);
        form->approvedDescriptions.push_back(description);
    }

    orv::test::TempFolder folder;
    orv::test::ScriptedDialogs dialogs;
    orv::test::RecordingShell shell;
    orv::test::RecordingLauncher launcher;
    std::unique_ptr<TForm1> form;
};

} // namespace

TEST_F(Browsers, StartUpListsTheInstalledBrowsersAndChoosesTheDefault)
{
    EXPECT_EQ(entries(), (std::vector<std::string> { "Netscape  [x]", "Internet Explorer [ ]" }));
    EXPECT_EQ(form->chosenBrowser, "Netscape ");

    start("REGEDIT4\n");
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(form->chosenBrowser, "none");
}

TEST_F(Browsers, ClickingAnEntryChoosesItAndClearsTheOthers)
{
    clickEntry(1);
    EXPECT_EQ(entries(), (std::vector<std::string> { "Netscape  [ ]", "Internet Explorer [x]" }));
    EXPECT_EQ(form->chosenBrowser, "Internet Explorer");

    // A click on the check mark of the checked entry keeps it checked.
    clickEntry(1, true);
    EXPECT_EQ(entries(), (std::vector<std::string> { "Netscape  [ ]", "Internet Explorer [x]" }));

    // The blank area below the entries changes nothing.
    QListWidget* list = form->listBrowsers;
    const QRect last = list->visualItemRect(list->item(1));
    ASSERT_LT(last.bottom() + 20, list->viewport()->height());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 15));
    EXPECT_EQ(entries(), (std::vector<std::string> { "Netscape  [ ]", "Internet Explorer [x]" }));
    EXPECT_EQ(form->chosenBrowser, "Internet Explorer");

    clickEntry(0);
    EXPECT_EQ(form->chosenBrowser, "Netscape ");
}

TEST_F(Browsers, GoToWebPageHandsTheSelectedUrlToTheChosenBrowser)
{
    addMaster("http://a.example/", "A");
    addMaster("http://b.example/", "B");
    addApproved("http://c.example/", "C");

    form->popGotoPageClick(); // nothing selected
    form->ListView1->selectRow(1);
    form->ListView1->selectRow(0);
    form->popGotoPageClick(); // the first selected row counts
    form->ListView2->selectRow(0);
    form->popGotoPageClick(); // the approved view wins
    EXPECT_EQ(
        launcher.calls, (std::vector<std::string> { "navigator: http://a.example/", "navigator: http://c.example/" }));
    EXPECT_TRUE(dialogs.calls.empty());
}

// With neither known browser chosen, the desktop's default browser opens
// the page; only when there is none does the program say so.
TEST_F(Browsers, WithoutAKnownBrowserTheDesktopsDefaultOpensThePage)
{
    start("REGEDIT4\n");
    addMaster("http://a.example/", "A");
    addMaster("", "empty caption");
    form->ListView1->selectRow(0);
    launcher.hasDefaultBrowser = true;
    form->popGotoPageClick();
    EXPECT_EQ(launcher.calls, (std::vector<std::string> { "default: http://a.example/" }));
    EXPECT_TRUE(dialogs.calls.empty()) << "the desktop could open the page";
    EXPECT_EQ(form->chosenBrowser, "none");
    EXPECT_TRUE(entries().empty());

    launcher.hasDefaultBrowser = false;
    form->popGotoPageClick();
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "notice: No Browser is found" }));

    form->ListView1->setSelected(0, false);
    form->ListView1->selectRow(1);
    form->popGotoPageClick(); // an empty URL does nothing
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(launcher.calls.size(), 2u);
}

TEST_F(Browsers, TheExplorerIsReusedWhileItsWindowExists)
{
    clickEntry(1);
    addMaster("http://a.example/", "A");
    form->ListView1->selectRow(0);
    form->popGotoPageClick();
    form->popGotoPageClick();
    launcher.windowExists = false; // the user closed the explorer
    form->popGotoPageClick();
    form->popGotoPageClick();
    EXPECT_EQ(launcher.calls,
        (std::vector<std::string> { "explorer: http://a.example/", "explorer: http://a.example/", "raise explorer" }));
}

TEST_F(Browsers, DescriptionShowsTheApprovedDescriptionAndBothUrls)
{
    addMaster("http://a.example/", "About A");
    addMaster("http://b.example/", "About <b>B</b>");
    addApproved("http://c.example/", "About C");
    form->ListView1->selectRow(1);
    form->popDescriptionClick();
    ASSERT_NE(frmDescription, nullptr);
    EXPECT_TRUE(frmDescription->isVisible());
    EXPECT_EQ(frmDescription->lblDescription->text(), "About <b>B</b>");
    EXPECT_EQ(frmDescription->memSiteUrl->toPlainText(), "http://b.example/");

    form->ListView2->selectRow(0);
    form->popDescriptionClick();
    EXPECT_EQ(frmDescription->lblDescription->text(), "About C");
    EXPECT_EQ(frmDescription->memSiteUrl->toPlainText(), "http://b.example/\nhttp://c.example/");

    // A description list shorter than the view: no description, no crash.
    form->ListView1->addRow("http://d.example/");
    form->ListView1->setSelected(1, false);
    form->ListView1->selectRow(2);
    form->ListView2->setSelected(0, false);
    form->popDescriptionClick();
    EXPECT_EQ(frmDescription->lblDescription->text(), "");
    EXPECT_EQ(frmDescription->memSiteUrl->toPlainText(), "http://d.example/");
}

TEST_F(Browsers, TheDescriptionWindowHidesOnClicksKeysAndOk)
{
    addMaster("http://a.example/", "About A");
    form->ListView1->selectRow(0);
    auto show = [&] {
        form->popDescriptionClick();
        EXPECT_TRUE(frmDescription->isVisible());
    };
    show();
    QTest::mouseClick(frmDescription->lblDescription, Qt::LeftButton);
    EXPECT_FALSE(frmDescription->isVisible());
    show();
    QTest::mouseClick(frmDescription->GroupBox1, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(frmDescription->isVisible());
    show();
    QTest::mouseClick(frmDescription, Qt::LeftButton, {}, QPoint(2, frmDescription->height() - 3));
    EXPECT_FALSE(frmDescription->isVisible());
    show();
    frmDescription->setFocus();
    QTest::keyClick(frmDescription, Qt::Key_X);
    EXPECT_FALSE(frmDescription->isVisible());
    show();
    QTest::mouseClick(frmDescription->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(frmDescription->isVisible());
    EXPECT_TRUE(launcher.calls.empty());

    show();
    QTest::mouseClick(frmDescription->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(frmDescription->isVisible());
    EXPECT_EQ(launcher.calls, (std::vector<std::string> { "navigator: http://a.example/" }));
}

// Regression: Help and F1 asked for a help file of another system, which no
// Linux desktop opens, so nothing was shown.
TEST_F(Browsers, HelpAndF1OpenTheProgramFoldersHtmlHelpThroughTheShell)
{
    folder.write("Orvalen.html", "<!DOCTYPE html><title>Orvalen Help</title>");
    shell.answer = false; // a failure is not reported
    form->spdHelpClick();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(shell.opened, (std::vector<std::string> { folder.file("Orvalen.html"), folder.file("Orvalen.html") }));
    EXPECT_TRUE(dialogs.calls.empty());
}
