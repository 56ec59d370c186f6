// The "Search Criteria" tab: Accept, the change handlers, and rebuilding
// "Your Results".
#include "app/TForm1.h"
#include "app/controls/PageControl.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>

namespace orv::test
{
namespace
{

class CriteriaTabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.makeProgramFolder();
        form = std::make_unique<TForm1>(folder.path());
        // Start-up has its own messages (no options file here).
        dialogs.calls.clear();
    }

    TempFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(CriteriaTabTest, EmptyPrimaryBoxIsRefusedAndChangesNothing)
{
    form->memPrimarySearchCriteria->setPlainText(QStringLiteral("kept"));
    form->butAcceptClick();
    form->memPrimarySearchCriteria->clear();
    form->memSecondarySearchCriteria->setPlainText(QStringLiteral("new secondary"));

    form->butAcceptClick();

    EXPECT_EQ(dialogs.calls.back(), "notice: Please specify a Primary Search Criteria ");
    EXPECT_EQ(form->criteria.primary, (Lines { "kept" }));
    EXPECT_TRUE(form->criteria.secondary.empty());
    EXPECT_TRUE(form->butAccept->isEnabled());
}

TEST_F(CriteriaTabTest, AcceptBuildsTheListsAndShowsTheMainTab)
{
    form->Page1->setCurrentWidget(form->TabSheet4);
    form->memPrimarySearchCriteria->setPlainText(QStringLiteral("solar panel\n\"wind turbine\""));
    form->memSecondarySearchCriteria->setPlainText(QStringLiteral("grid\n\nstorage\n"));
    form->memExclusionCriteria->setPlainText(QStringLiteral("toy"));
    EXPECT_TRUE(form->butAccept->isEnabled());

    form->butAcceptClick();

    EXPECT_TRUE(dialogs.calls.empty()) << ::testing::PrintToString(dialogs.calls);
    EXPECT_EQ(form->criteria.queryText, "solar+panel+\"wind+turbine\"");
    EXPECT_EQ(form->criteria.quotedQueryText, "solar+panel+%22wind+turbine%22");
    EXPECT_EQ(form->criteria.secondary, (Lines { "grid", "storage" }));
    EXPECT_EQ(form->criteria.exclusion, (Lines { "toy" }));
    EXPECT_FALSE(form->butAccept->isEnabled());
    EXPECT_EQ(form->Page1->currentWidget(), form->TabSheet1);
    EXPECT_EQ(form->Page1->height(), 100);
}

// Whatever script is typed reaches the lists and the query text as UTF-8,
// nothing replaced by "?".
TEST_F(CriteriaTabTest, CriteriaInAnyScriptAreAcceptedAsTyped)
{
    const std::string greek = "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1";
    const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xB8";
    const std::string cjk = "\xE6\x9D\xB1\xE4\xBA\xAC";
    const std::string curly = "\xE2\x80\x9C"
                              "don\xE2\x80\x99t\xE2\x80\x9D";
    form->memPrimarySearchCriteria->setPlainText(toQ(greek + "\n" + cjk));
    form->memSecondarySearchCriteria->setPlainText(toQ(curly));
    form->memExclusionCriteria->setPlainText(toQ(cyrillic));
    form->butAcceptClick();
    EXPECT_EQ(form->criteria.primary, (Lines { greek, cjk }));
    EXPECT_EQ(form->criteria.secondary, (Lines { curly }));
    EXPECT_EQ(form->criteria.exclusion, (Lines { cyrillic }));
    EXPECT_EQ(form->criteria.queryText, greek + "+" + cjk);
    EXPECT_EQ(fromQ(form->memSecondarySearchCriteria->toPlainText()), curly);
}

TEST_F(CriteriaTabTest, PrimaryBoxWithOnlyALineBreakIsAccepted)
{
    form->memPrimarySearchCriteria->setPlainText(QStringLiteral("\n"));
    form->butAcceptClick();
    EXPECT_TRUE(dialogs.calls.empty()) << ::testing::PrintToString(dialogs.calls);
    EXPECT_EQ(form->criteria.primary, (Lines { "" }));
    EXPECT_EQ(form->criteria.queryText, "");
}

TEST_F(CriteriaTabTest, EditingAnyBoxEnablesAcceptButChangesNoList)
{
    form->memPrimarySearchCriteria->setPlainText(QStringLiteral("first"));
    form->butAcceptClick();
    for (QPlainTextEdit* box :
        { form->memPrimarySearchCriteria, form->memSecondarySearchCriteria, form->memExclusionCriteria }) {
        form->butAccept->setEnabled(false);
        box->setPlainText(QStringLiteral("edited"));
        EXPECT_TRUE(form->butAccept->isEnabled());
    }
    EXPECT_EQ(form->criteria.primary, (Lines { "first" }));
}

TEST_F(CriteriaTabTest, PopulateTheApprovedBoxShowsTheListInOrder)
{
    form->approvedUrls.add("http://b.test");
    form->approvedUrls.add("http://a.test");
    form->ListView2->addRow("stale row");

    form->PopulateTheApprovedBox();

    ASSERT_EQ(form->ListView2->count(), 2);
    EXPECT_EQ(form->ListView2->caption(0), "http://a.test");
    EXPECT_EQ(form->ListView2->caption(1), "http://b.test");
    EXPECT_EQ(fromQ(form->lblApprovedCount->text()), "2");
    EXPECT_EQ(fromQ(form->lblCurrentEngine->text()), "Sorting Data and Removing Duplicates....");
    const QRect count = form->lblApprovedCount->geometry();
    EXPECT_EQ(form->lblConfirmed->x(), count.x() + count.width() + 6);
}

} // namespace
} // namespace orv::test
