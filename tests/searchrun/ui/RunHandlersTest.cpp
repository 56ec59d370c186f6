// The time-out tick and the Abort command on their own, without a request.
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "rcadigi/Rcadigi.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace orv::test
{
namespace
{

class RunHandlers : public ::testing::Test
{
protected:
    RunHandlers()
    {
        folder.makeProgramFolder();
        form = std::make_unique<TForm1>(folder.path());
        dialogs.calls.clear(); // start-up may report the missing options file
    }
    TempFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(RunHandlers, CountdownRunsOutOnTheTickAfterZero)
{
    form->edMaxSeconds->setText("7");
    form->run.countdown = 1;
    form->Timer1->start();
    form->Timer1Timer();
    EXPECT_EQ(form->RCADigital1->value(), 1);
    EXPECT_FALSE(form->run.timeoutFlag);
    EXPECT_EQ(form->run.countdown, 0);
    EXPECT_TRUE(form->Timer1->isActive());
    form->Timer1Timer();
    EXPECT_TRUE(form->run.timeoutFlag);
    EXPECT_EQ(form->lblCurrentEngine->text(), "skipped....");
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->run.countdown, 7); // reloaded for the next request
}

TEST_F(RunHandlers, AbortSetsTheFlagAndRestoresButtonsAndTitle)
{
    form->butAbort->setEnabled(true);
    form->butSearch->setEnabled(false);
    form->butRetrieve->setEnabled(false);
    form->ShowRunIndicators();
    form->setWindowTitle("Receiving 100");
    form->butAbortClick();
    EXPECT_TRUE(form->run.abortFlag);
    EXPECT_FALSE(form->butAbort->isEnabled());
    EXPECT_TRUE(form->butSearch->isEnabled());
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_FALSE(form->imgLogo->isHidden());
    EXPECT_TRUE(form->ProgressBar1->isHidden());
    EXPECT_EQ(form->windowTitle(), "Orvalen");
    EXPECT_TRUE(dialogs.calls.empty());
}

} // namespace
} // namespace orv::test
