// The Search command: empties the lists, walks the ticked engines page by
// page through their query procedures and parsers, and shows the merged,
// sorted master URL list.
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "app/controls/PageControl.h"
#include "core/Text.h"
#include "parse/ui/TfrmStats.h"
#include "platform/Dialogs.h"
#include "platform/ui/UrlListView.h"
#include "search/SearchDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace orv;

namespace
{

// The window's side of the engine walk: its check boxes, query procedures and parsers.
class WindowSearchSteps final : public SearchSteps
{
public:
    explicit WindowSearchSteps(TForm1& form)
        : form_(form)
    {
    }

    bool engineTicked(Engine e) override { return form_.engineCheck(e)->isChecked(); }

    void queryPage(Engine e, bool firstPage) override
    {
        form_.searchingEngine = e;
        form_.yield.engineAsked(e);
        documentsBefore_ = form_.documentsBegun;
        switch (e) {
        case Engine::Infoseek:
            form_.InfoseekSearch();
            break;
        case Engine::Webcrawler:
            form_.WebcrawlerSearch();
            break;
        case Engine::Excite:
            form_.ExciteSearch();
            break;
        case Engine::AltaVista:
            form_.AltaVistaSearch();
            break;
        case Engine::Yahoo:
            form_.YahooSearch();
            break;
        case Engine::Snap:
            form_.SnapSearch();
            break;
        case Engine::Thunderstone:
            form_.ThunderstoneSearch();
            break;
        case Engine::PlanetSearch:
            form_.PlanetSearch();
            break;
        case Engine::Magellan:
            form_.MagellanSearch(firstPage);
            break;
        case Engine::NetfindAol:
            form_.NetfindAolSearch(firstPage);
            break;
        }
    }

    void parsePage(Engine e) override
    {
        // A page counts as fetched when its document arrived and is read.
        if (form_.documentsBegun != documentsBefore_ && !form_.run.abortFlag && !form_.run.timeoutFlag)
            form_.yield.pageFetched(e);
        const int offeredBefore = form_.urlsOffered;
        switch (e) {
        case Engine::Infoseek:
            form_.ParseInfoseek();
            break;
        case Engine::Webcrawler:
            form_.ParseWebcrawler();
            break;
        case Engine::Excite:
            form_.ParseExcite();
            break;
        case Engine::AltaVista:
            form_.ParseAltaVista();
            break;
        case Engine::Yahoo:
            form_.ParseYahoo();
            break;
        case Engine::Snap:
            form_.ParseSnap();
            break;
        case Engine::Thunderstone:
            form_.ParseThunderstone();
            break;
        case Engine::PlanetSearch:
            form_.ParsePlanetSearch();
            break;
        case Engine::Magellan:
            form_.ParseMagellan();
            break;
        case Engine::NetfindAol:
            form_.ParseNetfindAol();
            break;
        }
        // The parser's caption would hide why the page was lost.
        if (!form_.dataFileError.empty())
            form_.SetActivity(form_.dataFileError);
        form_.searchingEngine.reset();
        if (form_.runObserver)
            form_.runObserver->enginePageDone(e, form_.urlsOffered - offeredBefore, form_.masterUrls.count());
    }

private:
    TForm1& form_;
    int documentsBefore_ = 0;
};

} // namespace

void TForm1::ClearUrlListsForSearch()
{
    masterUrls.clear();
    masterDescriptions.clear();
    approvedDescriptions.clear();
    ListView1->clear();
    ListView2->clear();
    SetLabelText(lblRawCount, "0");
    ShowApprovedCount(0);
    yield.clear();
}

void TForm1::butSearchClick()
{
    Page1->setCurrentWidget(TabSheet1);
    placePage1(100);
    frmStats->clearReport();
    run.abortFlag = false;
    run.timeoutFlag = false;
    run.resetPaging();
    SetLabelText(lblRawCount, "0");
    SetLabelText(lblCheckedCount, "0");
    ClearUrlListsForSearch();

    if (memPrimarySearchCriteria->toPlainText().isEmpty()) {
        Dialogs::current().notice("Please specify a Primary Search Criteria ");
        spdNewClick();
    } else {
        butAbort->setEnabled(true);
        butRetrieve->setEnabled(false);
        ShowRunIndicators();
        engineHosts = EngineHosts::load(programFolder());
        yield.startSearch();

        WindowSearchSteps steps(*this);
        run.searchBusy = true;
        try {
            RunEngines(run, steps);
            // The engines defined as data follow the drawn ones.
            SearchDefinedEngines();
        } catch (const std::exception& error) {
            searchingEngine.reset();
            searchingDefined.reset();
            // A maximum box that is not a number ends the engine walk. The
            // error is shown, then the run ends as every run ends, so that
            // the view, the buttons and the indicators match the lists.
            Dialogs::current().error(error.what());
        }
        run.searchBusy = false;

        if (run.abortFlag) {
            run.abortFlag = false;
            SetActivity("Aborted by user");
        }
        approvedUrls.clear();
        butSearch->setEnabled(true);
        PopulateListBox();
        SetActivity("Done.");
        butAbort->setEnabled(false);
        if (!masterUrls.empty())
            butRetrieve->setEnabled(true);
    }
    HideRunIndicators();
}
