// Closing the main window: the lists are released, but not under a run that
// is still waiting on a request further down the call stack.
#include "app/TForm1.h"
#include "core/Lines.h"
#include "files/OptionsFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace
{

class CloseWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.makeProgramFolder();
        orv::SaveLines(folder.file("search.txt"), orv::OptionsToLines(orv::Options {}));
        form = std::make_unique<TForm1>(folder.path());
        form->show();
        form->UpdateMasterUrlList("http://one.example/");
        form->approvedUrls.add("http://one.example");
        form->approvedDescriptions.emplace_back("One");
        form->criteria.primary = { "alpha" };
    }

    orv::test::TempFolder folder;
    orv::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(CloseWindow, ReleasesTheSevenLists)
{
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->masterUrls.empty());
    EXPECT_TRUE(form->approvedUrls.empty());
    EXPECT_TRUE(form->masterDescriptions.empty());
    EXPECT_TRUE(form->approvedDescriptions.empty());
    EXPECT_TRUE(form->criteria.primary.empty());
}

// Regression: closing during a request freed the lists the waiting run
// went on to use when its request returned.
TEST_F(CloseWindow, ARunWaitingOnARequestEndsOnItsOwnLists)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.start(10000);

    // A run as the search and retrieval runs are: Abort enabled, then a
    // nested wait that ends on the abort flag, then the next step.
    form->butAbort->setEnabled(true);
    QTimer::singleShot(0, form.get(), [this] { form->close(); });
    QEventLoop wait;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
        if (form->run.abortFlag || !watchdog.isActive())
            wait.quit();
    });
    poll.start(1);
    wait.exec();
    ASSERT_TRUE(watchdog.isActive()) << "the close never reached the waiting run";

    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->run.abortFlag);
    // The run may still read its row's description after the wait.
    ASSERT_EQ(form->masterDescriptions.size(), 1u);
    EXPECT_EQ(form->masterDescriptions.at(0), "No Description");
    EXPECT_EQ(form->masterUrls.count(), 1);
}

TEST_F(CloseWindow, ExitFromTheMenuClosesTheSameWay)
{
    form->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->run.abortFlag);
    EXPECT_TRUE(form->masterUrls.empty());
}

} // namespace
