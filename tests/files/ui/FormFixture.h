#pragma once
// A main window on a fresh program folder with scripted dialogs and a
// recording shell, plus helpers that fill the lists the way a run would.
#include "app/HandlerGuard.h"
#include "app/TForm1.h"
#include "app/controls/PageControl.h"
#include "platform/ui/UrlListView.h"
#include "support/RecordingShell.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace orv::test
{

class FormTest : public ::testing::Test
{
protected:
    FormTest()
    {
        folder.makeProgramFolder();
        form = std::make_unique<TForm1>(folder.path());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        // Only what the test does is of interest (a missing options file
        // is reported at creation).
        dialogs.calls.clear();
    }

    // Runs a handler behind the same error boundary as the window's wiring.
    void run(void (TForm1::*handler)())
    {
        orv::runGuarded([&] { (form.get()->*handler)(); });
    }

    // Master records (as held) and the rebuilt results view.
    void setMaster(const Lines& records)
    {
        for (const auto& r : records)
            form->masterUrls.add(r);
        form->masterDescriptions.assign(static_cast<size_t>(form->masterUrls.count()), "desc");
        form->PopulateListBox();
    }
    void setApproved(const Lines& urls)
    {
        for (const auto& u : urls)
            form->approvedUrls.add(u);
        form->approvedDescriptions.assign(static_cast<size_t>(form->approvedUrls.count()), "desc");
        form->PopulateTheApprovedBox();
    }
    void typeCriteria(const char* primary, const char* secondary, const char* exclusion)
    {
        form->memPrimarySearchCriteria->setPlainText(QString::fromLatin1(primary));
        form->memSecondarySearchCriteria->setPlainText(QString::fromLatin1(secondary));
        form->memExclusionCriteria->setPlainText(QString::fromLatin1(exclusion));
    }
    void showTab(QWidget* page) { form->Page1->setCurrentWidget(page); }

    Lines captions(const UrlListView* view) const
    {
        Lines out;
        for (int i = 0; i < view->count(); ++i)
            out.push_back(view->caption(i));
        return out;
    }
    Lines statuses() const
    {
        Lines out;
        for (int i = 0; i < form->ListView1->count(); ++i)
            out.push_back(form->ListView1->status(i));
        return out;
    }
    std::vector<bool> ticks() const
    {
        std::vector<bool> out;
        for (int i = 0; i < form->ListView1->count(); ++i)
            out.push_back(form->ListView1->checked(i));
        return out;
    }
    static std::string text(const QLabel* label) { return label->text().toStdString(); }
    static std::string text(const QPlainTextEdit* memo) { return memo->toPlainText().toStdString(); }

    TempFolder folder;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    std::unique_ptr<TForm1> form;
};

} // namespace orv::test
