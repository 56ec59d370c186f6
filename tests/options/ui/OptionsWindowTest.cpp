// The options file and the engine rules through the real controls of a main
// window built on a program folder of its own.
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "app/controls/PageControl.h"
#include "app/controls/SpinButton.h"
#include "core/Lines.h"
#include "files/OptionsFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using orv::Engine;

namespace
{

const orv::Lines kAllOn = { "true", "true", "true", "true", "true", "true", "true", "true", "true", "true", "false",
    "255.255.255.255", "80", "30", "20", "20", "10", "20", "20", "20", "20", "20", "20", "20" };

class OptionsWindow : public ::testing::Test
{
protected:
    void SetUp() override { folder.makeProgramFolder(); }

    void writeOptions(const orv::Lines& lines) { orv::SaveLines(folder.file("search.txt"), lines); }
    orv::Lines savedOptions() const { return orv::LoadLines(folder.file("search.txt")); }

    TForm1& open()
    {
        form = std::make_unique<TForm1>(folder.path());
        form->show();
        // Leaving a box needs the focus, which only an active window has.
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // Types over the whole text of a box as the user does, key by key; an
    // empty text deletes what is there.
    static void retype(orv::EditBox* box, const QString& text)
    {
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }

    // Leaves the box for another control of the window.
    void leave(orv::EditBox* box)
    {
        box->setFocus(Qt::OtherFocusReason);
        form->edMaxSeconds->setFocus(Qt::TabFocusReason);
        if (box == form->edMaxSeconds)
            form->edHttpProxy->setFocus(Qt::TabFocusReason);
    }

    std::vector<std::string> errors() const
    {
        std::vector<std::string> out;
        for (const std::string& call : dialogs.calls)
            if (call.rfind("error: ", 0) == 0)
                out.push_back(call.substr(7));
        return out;
    }

    orv::test::TempFolder folder;
    orv::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(OptionsWindow, MissingFileIsReportedAndACompleteFileWritten)
{
    TForm1& f = open();
    ASSERT_EQ(errors(), std::vector<std::string> { "Cannot open file " + folder.file("search.txt") });
    EXPECT_EQ(savedOptions(), orv::OptionsToLines(orv::Options {}));
    EXPECT_EQ(f.edNetfindAolMax->text(), "10");
    EXPECT_FALSE(f.edAltaMax->isEnabled());
    EXPECT_FALSE(f.spinAlta->isEnabled());
    // The rest of the start-up still took place.
    EXPECT_FALSE(f.butAbort->isEnabled());
    EXPECT_FALSE(f.butProxyOk->isEnabled());
}

TEST_F(OptionsWindow, ShortFileKeepsWhatWasReadAndTheDefaultsBeyond)
{
    orv::Lines lines = kAllOn;
    lines[13] = "7";
    lines.resize(15); // up to AltaVista's maximum
    lines[14] = "150";
    writeOptions(lines);
    TForm1& f = open();
    ASSERT_EQ(errors(), std::vector<std::string> { "List index out of bounds (15)" });
    EXPECT_TRUE(f.chkThunderstone->isChecked());
    EXPECT_EQ(f.edMaxSeconds->text(), "7");
    EXPECT_EQ(f.edAltaMax->text(), "150");
    EXPECT_EQ(f.edExciteMax->text(), "20");
    const orv::Lines saved = savedOptions();
    ASSERT_EQ(saved.size(), 27u);
    EXPECT_EQ(saved[14], "150");
    EXPECT_EQ(saved[16], "10");
}

TEST_F(OptionsWindow, CapitalTrueLeavesTheEngineUnselected)
{
    orv::Lines lines = kAllOn;
    lines[0] = "True";
    writeOptions(lines);
    TForm1& f = open();
    EXPECT_TRUE(errors().empty());
    EXPECT_FALSE(f.chkAltaVista->isChecked());
    EXPECT_FALSE(f.edAltaMax->isEnabled());
    EXPECT_FALSE(f.spinAlta->isEnabled());
    EXPECT_TRUE(f.chkExcite->isChecked());
    EXPECT_TRUE(f.edExciteMax->isEnabled());
    EXPECT_TRUE(f.spinExcite->isEnabled());
    // "True" and "false" hold the same setting, so the file is not written again.
    EXPECT_EQ(savedOptions()[0], "True");
}

TEST_F(OptionsWindow, ReadingSpreadsEveryLineToItsControl)
{
    const orv::Lines lines = { "false", "true", "false", "true", "false", "true", "false", "true", "false", "true",
        "true", "10.1.2.3", "3128", "12", "30", "40", "50", "60", "70", "80", "90", "100", "200", "140" };
    writeOptions(lines);
    TForm1& f = open();
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(f.chkExcite->isChecked());
    EXPECT_TRUE(f.chkSnap->isChecked());
    EXPECT_TRUE(f.chkInfoseek->isChecked());
    EXPECT_TRUE(f.chkWebcrawler->isChecked());
    EXPECT_TRUE(f.chkThunderstone->isChecked());
    EXPECT_FALSE(f.chkYahoo->isChecked());
    EXPECT_TRUE(f.chkUseHttpProxy->isChecked());
    EXPECT_TRUE(f.edHttpProxy->isEnabled());
    EXPECT_EQ(f.edHttpProxy->text(), "10.1.2.3");
    EXPECT_EQ(f.edInfoseekMax->text(), "60");
    EXPECT_EQ(f.edSnapMax->text(), "140");
    EXPECT_EQ(f.clientProxy, "10.1.2.3");
    EXPECT_EQ(f.clientProxyPort, "3128");
    // A file of 24 lines, as earlier versions wrote it, gives one fetch at a time and HTTP/1.0
    // requests, and is left as it is.
    EXPECT_EQ(f.spinParallelFetches->value(), 1);
    EXPECT_FALSE(f.chkHttp11->isChecked());
    EXPECT_EQ(savedOptions(), lines);
}

TEST_F(OptionsWindow, ParallelFetchesAreReadSavedAndKeptWithinTheirBounds)
{
    orv::Lines lines = kAllOn;
    lines.push_back("12");
    writeOptions(lines);
    TForm1& f = open();
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(f.spinParallelFetches->value(), 12);

    f.spinParallelFetches->setFocus(Qt::OtherFocusReason);
    f.spinParallelFetches->selectAll();
    QTest::keyClicks(f.spinParallelFetches, "0");
    f.edMaxSeconds->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.spinParallelFetches->value(), 1);
    EXPECT_EQ(f.spinParallelFetches->text(), "1");

    f.spinParallelFetches->setFocus(Qt::OtherFocusReason);
    f.spinParallelFetches->selectAll();
    QTest::keyClicks(f.spinParallelFetches, "99");
    f.edMaxSeconds->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.spinParallelFetches->value(), 32);
    f.butOptionsApplyClick();
    EXPECT_EQ(savedOptions().at(24), "32");

    // A hand-edited line out of range comes in at its bound.
    lines.back() = "400";
    writeOptions(lines);
    form.reset();
    EXPECT_EQ(open().spinParallelFetches->value(), 32);
}

TEST_F(OptionsWindow, TypingRuleCapsAtOnceOthersWaitForLeaving)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    retype(f.edWebcrawlerMax, "250");
    EXPECT_EQ(f.edWebcrawlerMax->text(), "200");
    retype(f.edAltaMax, "250");
    EXPECT_EQ(f.edAltaMax->text(), "250");
    leave(f.edAltaMax);
    EXPECT_EQ(f.edAltaMax->text(), "200");
    EXPECT_TRUE(errors().empty());
}

struct LeaveCase {
    const char* box;
    const char* typed;
    const char* after;
};

class OptionsLeave : public OptionsWindow, public ::testing::WithParamInterface<LeaveCase>
{
};

TEST_P(OptionsLeave, LeavingTheBoxAppliesItsRule)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    auto* box = f.findChild<orv::EditBox*>(QString::fromLatin1(GetParam().box));
    ASSERT_TRUE(box);
    retype(box, QString::fromLatin1(GetParam().typed));
    leave(box);
    EXPECT_EQ(box->text().toStdString(), GetParam().after);
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, OptionsLeave,
    ::testing::Values(LeaveCase { "edYahooMax", "37", "20" }, LeaveCase { "edYahooMax", "5", "20" },
        LeaveCase { "edYahooMax", "", "20" }, LeaveCase { "edAltaMax", "37", "30" },
        LeaveCase { "edAltaMax", "0", "10" }, LeaveCase { "edThunderstoneMax", "30", "50" },
        LeaveCase { "edThunderstoneMax", "101", "200" }, LeaveCase { "edSnapMax", "", "20" },
        LeaveCase { "edMagellanMax", "", "0" }, LeaveCase { "edWebcrawlerMax", "7", "7" }));

TEST_F(OptionsWindow, ClearedMagellanBoxIsSavedAsZero)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    retype(f.edMagellanMax, "");
    EXPECT_EQ(f.edMagellanMax->text(), "0");
    leave(f.edMagellanMax);
    f.butOptionsApply->click();
    EXPECT_EQ(savedOptions()[21], "0");
}

TEST_F(OptionsWindow, SpinButtonsFollowTheEngineTable)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    f.edInfoseekMax->setText("30");
    f.spinInfoseek->downButton()->click();
    EXPECT_EQ(f.edInfoseekMax->text(), "10");
    leave(f.edInfoseekMax);
    EXPECT_EQ(f.edInfoseekMax->text(), "10");

    f.edThunderstoneMax->setText("30");
    f.spinThunderstone->upButton()->click();
    f.spinThunderstone->downButton()->click();
    EXPECT_EQ(f.edThunderstoneMax->text(), "30");
    f.edThunderstoneMax->setText("50");
    f.spinThunderstone->upButton()->click();
    EXPECT_EQ(f.edThunderstoneMax->text(), "100");

    f.edAltaMax->setText("195");
    f.spinAlta->upButton()->click();
    EXPECT_EQ(f.edAltaMax->text(), "205");
    f.spinAlta->upButton()->click();
    EXPECT_EQ(f.edAltaMax->text(), "205");
    EXPECT_TRUE(errors().empty());
}

TEST_F(OptionsWindow, NotANumberIsReportedAndTheBoxKeepsItsText)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    f.edAltaMax->setText("1x");
    f.spinAlta->upButton()->click();
    leave(f.edAltaMax);
    EXPECT_EQ(f.edAltaMax->text(), "1x");
    EXPECT_EQ(errors(),
        (std::vector<std::string> { "'1x' is not a valid integer value", "'1x' is not a valid integer value" }));

    dialogs.calls.clear();
    f.edSnapMax->setText("a");
    f.edSnapMax->end(false);
    QTest::keyClicks(f.edSnapMax, "b");
    EXPECT_EQ(f.edSnapMax->text(), "ab");
    EXPECT_EQ(errors(),
        (std::vector<std::string> { "'a' is not a valid integer value", "'ab' is not a valid integer value" }));
}

TEST_F(OptionsWindow, OnlyEngineChangesEnableApplyAndCancel)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    f.butOptionsApply->setEnabled(false);
    f.butOptionsCancel->setEnabled(false);
    retype(f.edMaxSeconds, "5");
    retype(f.edHttpProxy, "1.2.3.4");
    retype(f.edHttpProxyPort, "81");
    EXPECT_FALSE(f.butOptionsApply->isEnabled());
    EXPECT_FALSE(f.butOptionsCancel->isEnabled());

    f.chkYahoo->click();
    EXPECT_TRUE(f.butOptionsApply->isEnabled());
    EXPECT_TRUE(f.butOptionsCancel->isEnabled());
    EXPECT_FALSE(f.edYahooMax->isEnabled());
    EXPECT_FALSE(f.spinYahoo->isEnabled());

    f.butOptionsApply->click();
    EXPECT_FALSE(f.butOptionsApply->isEnabled());
    EXPECT_FALSE(f.butOptionsCancel->isEnabled());
    EXPECT_EQ(savedOptions()[6], "false");
    EXPECT_EQ(savedOptions()[13], "5");

    retype(f.edExciteMax, "40");
    EXPECT_TRUE(f.butOptionsApply->isEnabled());
}

TEST_F(OptionsWindow, OkWithoutProxySavesItsTextsAndClearsTheClient)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    f.chkUseHttpProxy->click();
    EXPECT_TRUE(f.butProxyOk->isEnabled());
    EXPECT_TRUE(f.edHttpProxy->isEnabled());
    retype(f.edHttpProxy, "10.9.8.7");
    retype(f.edHttpProxyPort, "8888");
    f.butProxyOk->click();
    EXPECT_EQ(f.clientProxy, "10.9.8.7");
    EXPECT_EQ(f.clientProxyPort, "8888");
    EXPECT_FALSE(f.butProxyOk->isEnabled());
    EXPECT_EQ(f.Page1->currentWidget(), f.TabSheet1);
    EXPECT_EQ(f.Page1->height(), 100);

    f.chkUseHttpProxy->click();
    f.butOptionsOK->click();
    EXPECT_TRUE(f.clientProxy.empty());
    EXPECT_TRUE(f.clientProxyPort.empty());
    EXPECT_FALSE(f.edHttpProxy->isEnabled());
    const orv::Lines saved = savedOptions();
    EXPECT_EQ(saved[10], "false");
    EXPECT_EQ(saved[11], "10.9.8.7");
    EXPECT_EQ(saved[12], "8888");
}

TEST_F(OptionsWindow, ApplyKeepsThePageShown)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    f.Page1->setCurrentWidget(f.TabSheet2);
    f.chkSnap->click();
    f.butOptionsApply->click();
    EXPECT_EQ(f.Page1->currentWidget(), f.TabSheet2);
    EXPECT_EQ(savedOptions()[3], "false");
}

TEST_F(OptionsWindow, UnwritableFileIsReported)
{
    writeOptions(kAllOn);
    TForm1& f = open();
    std::filesystem::remove(folder.file("search.txt"));
    std::filesystem::create_directory(folder.file("search.txt"));
    f.butOptionsApply->click();
    EXPECT_EQ(errors(), std::vector<std::string> { "Cannot create file " + folder.file("search.txt") });
}

} // namespace
