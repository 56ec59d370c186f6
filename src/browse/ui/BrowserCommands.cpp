// The browser commands of the main window: detecting the installed
// browsers, choosing one in the list, handing the selected URL to it, the
// description window and the help file.
#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "app/controls/CheckListBox.h"
#include "browse/BrowserDetection.h"
#include "browse/HelpFile.h"
#include "browse/ui/TfrmDescription.h"
#include "platform/BrowserLauncher.h"
#include "platform/Dialogs.h"
#include "platform/WidgetText.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/ui/DesktopLook.h"
#include "platform/ui/UrlListView.h"

#include <QLabel>
#include <QPlainTextEdit>

void TForm1::FindDefaultBrowser()
{
    const orv::DetectedBrowsers found = orv::detectBrowsers(orv::Registry::load());
    listBrowsers->clear();
    for (const orv::BrowserEntry& entry : found.entries) {
        listBrowsers->addCheckItem(orv::toQ(entry.text));
        listBrowsers->setChecked(listBrowsers->count() - 1, entry.checked);
    }
    chosenBrowser = found.chosen;
}

void TForm1::listBrowsersMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    const QListWidgetItem* hit = listBrowsers->itemAt(x, y);
    if (!hit)
        return;
    const int row = listBrowsers->row(hit);
    for (int i = 0; i < listBrowsers->count(); ++i)
        listBrowsers->setChecked(i, i == row);
    const std::string text = orv::fromQ(hit->text());
    if (text == orv::kBrowserExplorer || text == orv::kBrowserNetscape)
        chosenBrowser = text;
}

void TForm1::popGotoPageClick()
{
    try {
        // The approved view's selection wins over the results view's.
        std::string url;
        bool found = false;
        if (ListView1->firstSelected() >= 0) {
            url = ListView1->caption(ListView1->firstSelected());
            found = true;
        }
        if (ListView2->firstSelected() >= 0) {
            url = ListView2->caption(ListView2->firstSelected());
            found = true;
        }
        if (!found || url.empty())
            return;
        if (chosenBrowser == orv::kBrowserNetscape)
            GotoNetscape(url);
        else if (chosenBrowser == orv::kBrowserExplorer)
            GotoIExplorer(url);
        else if (chosenBrowser == orv::kBrowserNone) {
            // Neither known browser is chosen; the desktop's own default
            // browser (of any make) still opens the page when there is one.
            if (!orv::BrowserLauncher::current().openWithDefaultBrowser(url))
                orv::Dialogs::current().notice("No Browser is found");
        }
    } catch (...) {
        // Opening a web page is never reported when it fails.
    }
}

void TForm1::GotoNetscape(const std::string& url)
{
    orv::BrowserLauncher::current().openUrl(orv::BrowserKind::Navigator, url);
}

void TForm1::GotoIExplorer(const std::string& url)
{
    orv::BrowserLauncher& launcher = orv::BrowserLauncher::current();
    // The first hand-over starts the explorer; later ones reuse its window
    // while it is still there and do nothing once it was closed.
    if (!explorerStarted) {
        explorerStarted = launcher.openUrl(orv::BrowserKind::IExplorer, url);
        return;
    }
    if (launcher.explorerWindowExists()) {
        launcher.openUrl(orv::BrowserKind::IExplorer, url);
        launcher.raiseExplorerWindow();
    }
}

void TForm1::popDescriptionClick()
{
    TfrmDescription* window = frmDescription ? frmDescription : new TfrmDescription(this);
    orv::CloseOnEscape(window);
    window->memSiteUrl->clear();
    window->lblDescription->clear();
    auto describe = [window](orv::UrlListView* view, const std::vector<std::string>& descriptions) {
        const int row = view->firstSelected();
        if (row < 0)
            return;
        // A description list shorter than its view shows no description
        // rather than reading past its end.
        const size_t index = static_cast<size_t>(row);
        window->lblDescription->setText(index < descriptions.size() ? orv::toQ(descriptions[index]) : QString());
        window->memSiteUrl->appendPlainText(orv::toQ(view->caption(row)));
    };
    describe(ListView1, masterDescriptions);
    describe(ListView2, approvedDescriptions);
    // A row that ended in "Error" says why, as the batch exports do.
    const int row = ListView1->firstSelected();
    const std::string reason = row >= 0 ? ListView1->reason(row) : std::string();
    window->lblReason->setText(reason.empty() ? QString() : orv::toQ(ListView1->status(row) + ": " + reason));
    window->lblReason->setVisible(!reason.empty());
    window->lblDescription->repaint();
    window->show();
    window->raise();
}

void TForm1::spdHelpClick()
{
    // A missing help file or a failing desktop is not reported.
    orv::Shell::open(orv::FindHelpFile(programFolder(), orv::executableFolder()));
}
