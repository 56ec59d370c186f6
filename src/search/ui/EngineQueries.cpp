// The ten engine query procedures and their common frame: one request, with
// time-out, for one result page of one engine, written to the engine data
// file by the document handlers.
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "platform/WidgetText.h"
#include "search/EngineCatalogue.h"
#include "search/SearchDriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace orv;

void TForm1::EngineSearch(Engine e, bool firstPage)
{
    EngineQuery query;
    query.queryText = criteria.queryText;
    query.quotedQueryText = criteria.quotedQueryText;
    query.page = run.pagingOf(e).page;
    query.start = run.pagingOf(e).start;
    query.firstPage = firstPage;
    query.planetMaxText = fromQ(edPlanetMax->text());

    if (Httpcli1.State() != THttpState::Idle || Httpcli1.Connected())
        Httpcli1.Abort();
    SetActivity(engineActivityText(e));
    Httpcli1.URL = engineQueryUrl(e, engineHosts.host(e), query);
    // The data file is named before the request, so that the document
    // handler writes the file the parser reads, and removed, so that a
    // request that fails before its document begins leaves no earlier page
    // for the parser.
    run.currentDataFile = dataFolder() + EngineDataFileName(e, Httpcli1.URL);
    DeleteFile(run.currentDataFile);
    run.searchDataFile = run.currentDataFile;
    butSearch->setEnabled(false);
    dataFileError.clear();
    try {
        Timer1->start();
        run.countdown = StrToInt(fromQ(edMaxSeconds->text()));
        Httpcli1.Http11 = false; // the drawn engines are asked as drawn
        Httpcli1.TargetAsGiven = true;
        Httpcli1.Get();
    } catch (const std::exception&) {
        // A failed, refused or aborted request is not reported: the parser
        // finds no file, or skips the page after a time-out.
    }
    run.searchDataFile.clear();
    butSearch->setEnabled(true);
    if (Httpcli1.RcvdStream)
        FreeReceiveStream();
    if (Httpcli1.BodyFailed()) {
        // A cut-off or unwritten page is not parsed: its file goes, and the
        // activity text says why the page was lost.
        DeleteFile(run.currentDataFile);
        dataFileError = Httpcli1.ReasonPhrase();
    }
    Timer1->stop();
}

void TForm1::AltaVistaSearch()
{
    EngineSearch(Engine::AltaVista, true);
}
void TForm1::InfoseekSearch()
{
    EngineSearch(Engine::Infoseek, true);
}
void TForm1::ExciteSearch()
{
    EngineSearch(Engine::Excite, true);
}
void TForm1::YahooSearch()
{
    EngineSearch(Engine::Yahoo, true);
}
void TForm1::WebcrawlerSearch()
{
    EngineSearch(Engine::Webcrawler, true);
}
void TForm1::SnapSearch()
{
    EngineSearch(Engine::Snap, true);
}
void TForm1::PlanetSearch()
{
    EngineSearch(Engine::PlanetSearch, true);
}
void TForm1::ThunderstoneSearch()
{
    EngineSearch(Engine::Thunderstone, true);
}
void TForm1::MagellanSearch(bool firstPage)
{
    EngineSearch(Engine::Magellan, firstPage);
}
void TForm1::NetfindAolSearch(bool firstPage)
{
    EngineSearch(Engine::NetfindAol, firstPage);
}
