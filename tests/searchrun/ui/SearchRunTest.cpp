// Whole search runs over the engine simulator: the URLs sent, the pages
// fetched, the report, the merged list, and the ways a run ends early.
#include "SearchRunFixture.h"

#include "app/controls/EditBox.h"
#include "core/Lines.h"
#include "platform/WidgetText.h"
#include "platform/ui/Animate.h"
#include "platform/ui/UrlListView.h"
#include "rcadigi/Rcadigi.h"
#include "search/EngineCatalogue.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace orv::test
{
namespace
{

using Targets = std::vector<std::string>;

Targets targetsOf(const std::vector<SimRequest>& requests)
{
    Targets targets;
    for (const auto& r : requests)
        if (r.what != "site" && r.what != "fault")
            targets.push_back(r.target);
    return targets;
}

// The path the catalogue gives for one page of an engine.
std::string pathOf(Engine e, const std::string& q, const std::string& qe, int page, int start = 0,
    bool firstPage = true, const std::string& planetMax = "20")
{
    EngineQuery query;
    query.queryText = q;
    query.quotedQueryText = qe;
    query.page = page;
    query.start = start;
    query.firstPage = firstPage;
    query.planetMaxText = planetMax;
    return engineQueryPath(e, query);
}

class SearchRun : public SearchRunFixture
{
};

TEST_F(SearchRun, AllTenEnginesSendTheCatalogueUrlsAndMergeTheirLinks)
{
    EngineSim::Options options;
    options.resultsPerEngine = 45;
    start(options);
    acceptPrimary("red fox\n\"den\"");
    tickOnly({ Engine::AltaVista, Engine::Infoseek, Engine::Excite, Engine::Yahoo, Engine::NetfindAol,
        Engine::Webcrawler, Engine::Snap, Engine::Magellan, Engine::PlanetSearch, Engine::Thunderstone });
    // Maxima chosen so that the engines need 1, 2 or 3 pages.
    setMax(Engine::Infoseek, "45");
    setMax(Engine::Webcrawler, "60");
    setMax(Engine::Excite, "40");
    setMax(Engine::AltaVista, "30");
    setMax(Engine::Yahoo, "45");
    setMax(Engine::Snap, "60");
    setMax(Engine::Thunderstone, "20");
    setMax(Engine::PlanetSearch, "15");
    setMax(Engine::Magellan, "25");
    setMax(Engine::NetfindAol, "10");
    search();

    const std::string q = "red+fox+\"den\"";
    const std::string qe = "red+fox+%22den%22";
    const Targets expected = {
        pathOf(Engine::Infoseek, q, qe, 0),
        pathOf(Engine::Infoseek, q, qe, 20),
        pathOf(Engine::Webcrawler, q, qe, 0),
        pathOf(Engine::Excite, q, qe, 0),
        pathOf(Engine::Excite, q, qe, 20),
        pathOf(Engine::AltaVista, q, qe, 0),
        pathOf(Engine::AltaVista, q, qe, 10),
        pathOf(Engine::AltaVista, q, qe, 20),
        pathOf(Engine::Yahoo, q, qe, 1),
        pathOf(Engine::Yahoo, q, qe, 21),
        pathOf(Engine::Snap, q, qe, 0),
        pathOf(Engine::Snap, q, qe, 20),
        pathOf(Engine::Snap, q, qe, 40),
        pathOf(Engine::Thunderstone, q, qe, 0),
        pathOf(Engine::PlanetSearch, q, qe, 0, 0, true, "15"),
        pathOf(Engine::Magellan, q, qe, 0),
        pathOf(Engine::Magellan, q, qe, 0, 0, false),
        pathOf(Engine::Magellan, q, qe, 0, 10, false),
        pathOf(Engine::NetfindAol, q, qe, 0),
    };
    const auto requests = sim->requests();
    EXPECT_EQ(targetsOf(requests), expected);
    // Spot checks written out, so that a fault shared by the catalogue and
    // this test still shows.
    EXPECT_EQ(expected[0], "/Titles?sv=IS&lk=noframes&nh=20&ud4=0&st=0&qt=red+fox+%22den%22&col=WW&sf=1");
    EXPECT_EQ(expected[9], "/bin/query?p=%2Bred+fox+\"den\"&b=21&hc=0&hs=0");
    EXPECT_EQ(expected[17].back(), ' ');

    EXPECT_EQ(reportLines(),
        (std::vector<std::string> {
            "InfoSeek found\t\t\t45 urls",
            "Webcrawler found\t\t\t45 urls",
            "Excite found\t\t\t45 urls",
            "AltaVista found\t\t\t45 urls",
            "Yahoo found\t\t\t45 urls",
            "Snap found\t\t\t60 urls",
            "Thunderstone found\t\t45 urls",
            "PlanetSearch found\t\t                45 urls",
            "Magellan found\t\t\t45 urls",
            "Netfind.Aol found\t\t\t45 urls",
        }));

    const auto master = masterUrls();
    EXPECT_EQ(master, linksOf(requests));
    EXPECT_TRUE(std::is_sorted(master.begin(), master.end()));
    EXPECT_EQ(activity(), "Done.");
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_FALSE(form->butAbort->isEnabled());
    EXPECT_TRUE(form->butSearch->isEnabled());
    EXPECT_TRUE(dialogs.calls.empty());
    // Every engine data file was parsed and deleted.
    EXPECT_TRUE(std::filesystem::is_empty(folder.path() + "data"));
}

TEST_F(SearchRun, AbortDuringSecondPageKeepsTheFirstPageAndQueriesNothingMore)
{
    EngineSim::Options options;
    options.resultsPerEngine = 60;
    options.slow = "Infoseek:2";
    options.slowMs = 20000;
    start(options);
    acceptPrimary("fox");
    tickOnly({ Engine::Infoseek, Engine::Excite });
    setMax(Engine::Infoseek, "60");

    // Press Abort as soon as the simulator has the second page's request,
    // noting the buttons and the logo as the waiting request leaves them.
    bool searchEnabled = true, abortEnabled = false, retrieveEnabled = true, logoHidden = false;
    bool animationShown = false, countdownShown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (sim->requestsOf("Infoseek").size() == 2 && form->butAbort->isEnabled()) {
            searchEnabled = form->butSearch->isEnabled();
            abortEnabled = form->butAbort->isEnabled();
            retrieveEnabled = form->butRetrieve->isEnabled();
            logoHidden = form->imgLogo->isHidden();
            animationShown = !form->Animate1->isHidden() && form->Animate1->active() == form->Animate1->isOpen();
            countdownShown = !form->RCADigital1->isHidden();
            form->butAbort->click();
        }
    });
    poll.start(10);
    search();
    poll.stop();

    EXPECT_FALSE(searchEnabled);
    EXPECT_TRUE(abortEnabled);
    EXPECT_FALSE(retrieveEnabled);
    EXPECT_TRUE(logoHidden);
    EXPECT_TRUE(animationShown);
    EXPECT_TRUE(countdownShown);
    EXPECT_FALSE(form->imgLogo->isHidden());
    EXPECT_TRUE(form->Animate1->isHidden());
    EXPECT_FALSE(form->Animate1->active());
    EXPECT_TRUE(form->RCADigital1->isHidden());

    const auto infoseek = sim->requestsOf("Infoseek");
    ASSERT_EQ(infoseek.size(), 2u);
    EXPECT_TRUE(sim->requestsOf("Excite").empty());
    EXPECT_EQ(masterUrls(), linksOf({ infoseek[0] }));
    EXPECT_EQ(activity(), "Done.");
    EXPECT_FALSE(form->run.abortFlag);
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_FALSE(form->butAbort->isEnabled());
    EXPECT_TRUE(form->butSearch->isEnabled());
}

TEST_F(SearchRun, TimeOutSkipsThePageAndTheRunGoesOn)
{
    EngineSim::Options options;
    options.resultsPerEngine = 30;
    options.slow = "Excite";
    options.slowMs = 20000;
    start(options);
    acceptPrimary("fox");
    tickOnly({ Engine::Excite, Engine::AltaVista });
    setMax(Engine::AltaVista, "10");
    form->edMaxSeconds->setText("0");
    search();

    // Excite's first page timed out: no report line, no further page; AltaVista
    // is asked next and gives its links.
    EXPECT_EQ(sim->requestsOf("Excite").size(), 1u);
    ASSERT_EQ(sim->requestsOf("AltaVista").size(), 1u);
    EXPECT_EQ(reportLines(), std::vector<std::string> { "AltaVista found\t\t\t30 urls" });
    EXPECT_EQ(masterUrls(), linksOf(sim->requestsOf("AltaVista")));
    EXPECT_FALSE(form->run.timeoutFlag);
    EXPECT_EQ(activity(), "Done.");
    EXPECT_TRUE(dialogs.calls.empty());
}

// The run used to stop right after the error box: animation and countdown
// running, Abort on, Retrieve off, and the view left with unsorted
// provisional rows that no longer matched the list.
TEST_F(SearchRun, MaximumThatIsNoNumberShowsTheErrorThenEndsTheRunAsEveryRunEnds)
{
    EngineSim::Options options;
    options.resultsPerEngine = 20;
    start(options);
    acceptPrimary("fox");
    tickOnly({ Engine::Infoseek, Engine::Excite, Engine::AltaVista, Engine::Magellan });
    setMax(Engine::AltaVista, "2x");
    search();

    EXPECT_EQ(dialogs.calls, std::vector<std::string> { "error: '2x' is not a valid integer value" });
    EXPECT_EQ(sim->requestsOf("AltaVista").size(), 1u);
    EXPECT_TRUE(sim->requestsOf("Magellan").empty()) << "the engine walk ends at the error";
    // AltaVista's page fails at its count, before its links are taken.
    std::vector<SimRequest> before = sim->requestsOf("Infoseek");
    for (const SimRequest& r : sim->requestsOf("Excite"))
        before.push_back(r);
    const auto master = masterUrls();
    EXPECT_EQ(master, linksOf(before));
    // The view shows the list as it stands, row i record i.
    std::vector<std::string> rows;
    for (int row = 0; row < form->ListView1->count(); ++row)
        rows.push_back(form->ListView1->caption(row));
    EXPECT_EQ(rows, master);
    EXPECT_EQ(activity(), "Done.");
    EXPECT_FALSE(form->butAbort->isEnabled());
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_TRUE(form->butSearch->isEnabled());
    EXPECT_TRUE(form->Animate1->isHidden());
    EXPECT_FALSE(form->Animate1->active());
    EXPECT_TRUE(form->RCADigital1->isHidden());
    EXPECT_FALSE(form->imgLogo->isHidden());
    EXPECT_FALSE(form->ListsBusy());
}

// With "/" in the query, PlanetSearch and Thunderstone wrote their pages
// under the name after the "/" while their parsers read their fixed names:
// both engines' links were lost and a stray file stayed in data/.
TEST_F(SearchRun, SlashInTheQueryKeepsEveryEnginesLinks)
{
    EngineSim::Options options;
    options.resultsPerEngine = 15;
    start(options);
    acceptPrimary("TCP/IP");
    tickOnly({ Engine::Excite, Engine::Thunderstone, Engine::PlanetSearch });
    search();

    ASSERT_EQ(sim->requestsOf("Thunderstone").size(), 1u);
    ASSERT_EQ(sim->requestsOf("PlanetSearch").size(), 1u);
    EXPECT_FALSE(sim->requestsOf("PlanetSearch")[0].links.empty());
    EXPECT_EQ(reportLines(),
        (std::vector<std::string> { "Excite found\t\t\t15 urls", "Thunderstone found\t\t15 urls",
            "PlanetSearch found\t\t                15 urls" }));
    EXPECT_EQ(masterUrls(), linksOf(sim->requests()));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path() + "data")) << "no stray data file";
}

// A request that failed before its document began left the data file of an
// earlier request in place, and the parser read that old page as this one.
TEST_F(SearchRun, FailedRequestLeavesNoEarlierPageToParse)
{
    start({});
    // Excite is asked at a port where nothing listens.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int deadPort = closed.serverPort();
    closed.close();
    const std::string engines = folder.read("engines.txt") + "Excite=127.0.0.1:" + std::to_string(deadPort) + "\n";
    folder.write("engines.txt", engines);
    // An Excite page left over from an earlier run.
    folder.write("data/search.gw", LoadFileBytes(std::string(ORVALEN_FIXTURES) + "/parse/excite.html"));
    acceptPrimary("fox");
    tickOnly({ Engine::Excite, Engine::AltaVista });
    search();

    EXPECT_EQ(reportLines(), std::vector<std::string> { "AltaVista found\t\t\t100 urls" });
    EXPECT_EQ(masterUrls(), linksOf(sim->requestsOf("AltaVista")));
    EXPECT_FALSE(FileExists(folder.path() + "data/search.gw"));
    EXPECT_EQ(activity(), "Done.");
    EXPECT_TRUE(dialogs.calls.empty());
}

// Open, New, Close and Retrieve used to run inside a waiting request and
// change the lists under the run.
TEST_F(SearchRun, CommandsThatReplaceTheListsWaitForTheRun)
{
    EngineSim::Options options;
    options.resultsPerEngine = 20;
    options.slow = "Excite";
    options.slowMs = 1500;
    start(options);
    acceptPrimary("fox");
    tickOnly({ Engine::Infoseek, Engine::Excite });
    folder.write("Reports/old.rst", "[Primary]\r\nold\r\n");
    dialogs.fileAnswers.push_back(folder.path() + "Reports/old.rst");

    bool tried = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (tried || activity() != "Searching Excite...")
            return;
        tried = true;
        form->spdOpenClick();
        form->spdNewClick();
        form->mnuFileCloseClick();
        form->butRetrieveClick();
    });
    poll.start(10);
    search();
    poll.stop();

    ASSERT_TRUE(tried);
    EXPECT_EQ(dialogs.calls,
        std::vector<std::string>(4, "notice: Please wait until the search/retrieval has finished"));
    EXPECT_EQ(masterUrls(), linksOf(sim->requests()));
    EXPECT_EQ(form->ListView1->count(), form->masterUrls.count());
    EXPECT_EQ(fromQ(form->memPrimarySearchCriteria->toPlainText()), "fox");
    EXPECT_EQ(activity(), "Done.");
}

TEST_F(SearchRun, NoEngineTickedSendsNothing)
{
    start({});
    acceptPrimary("fox");
    tickOnly({});
    search();
    EXPECT_TRUE(sim->requests().empty());
    EXPECT_TRUE(masterUrls().empty());
    EXPECT_EQ(activity(), "Done.");
    EXPECT_FALSE(form->butRetrieve->isEnabled());
    EXPECT_FALSE(form->butAbort->isEnabled());
}

TEST_F(SearchRun, EmptyPrimaryMemoAsksForCriteriaAndSearchesNothing)
{
    start({});
    acceptPrimary("fox");
    tickOnly({ Engine::Infoseek });
    search();
    ASSERT_FALSE(masterUrls().empty());
    const size_t before = sim->requests().size();

    form->memPrimarySearchCriteria->setPlainText(QString());
    dialogs.calls.clear();
    search();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls[0], "notice: Please specify a Primary Search Criteria ");
    EXPECT_EQ(sim->requests().size(), before);
    EXPECT_TRUE(masterUrls().empty());
    EXPECT_FALSE(form->butAbort->isEnabled());
}

// A document name of ".." (a query ending in "/..") used to name the program
// folder itself, so the page could not be written and its links were lost.
TEST_F(SearchRun, DocumentNameDotDotIsWrittenToTempfileAndParsed)
{
    EngineSim::Options options;
    options.resultsPerEngine = 10;
    start(options);
    acceptPrimary("fox/..");
    tickOnly({ Engine::Magellan });
    search();
    const auto magellan = sim->requestsOf("Magellan");
    ASSERT_EQ(magellan.size(), 1u);
    EXPECT_EQ(magellan[0].target, "/search.gw?c=web&look=magellan&search=fox/..");
    EXPECT_EQ(reportLines(), std::vector<std::string> { "Magellan found\t\t\t10 urls" });
    EXPECT_EQ(masterUrls(), linksOf(magellan));
    EXPECT_FALSE(FileExists(folder.path() + "data/tempfile"));
}

// Without a "data" folder no data file can be created: every engine is still
// asked, nothing is shown in a box, and the run ends normally.
TEST_F(SearchRun, MissingDataFolderSkipsThePagesAndGoesOn)
{
    start({}, false);
    acceptPrimary("fox");
    tickOnly({ Engine::Infoseek, Engine::Excite, Engine::Thunderstone });
    search();
    EXPECT_EQ(sim->requestsOf("Infoseek").size(), 1u);
    EXPECT_EQ(sim->requestsOf("Excite").size(), 1u);
    EXPECT_EQ(sim->requestsOf("Thunderstone").size(), 1u);
    EXPECT_EQ(form->dataFileError, "Cannot create " + folder.path() + "data/thunderstone");
    EXPECT_TRUE(masterUrls().empty());
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(activity(), "Done.");
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "data"));
}

// Regression: an engine page cut off in transit was parsed as if whole.
TEST_F(SearchRun, CutOffEnginePageIsNotParsed)
{
    EngineSim::Options options;
    options.resultsPerEngine = 30;
    options.cut = "Excite";
    start(options);
    acceptPrimary("fox");
    tickOnly({ Engine::Excite, Engine::AltaVista });
    setMax(Engine::AltaVista, "10");
    search();

    EXPECT_EQ(sim->requestsOf("Excite").size(), 1u);
    EXPECT_EQ(reportLines(), std::vector<std::string> { "AltaVista found\t\t\t30 urls" });
    EXPECT_EQ(masterUrls(), linksOf(sim->requestsOf("AltaVista")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path() + "data"));
    EXPECT_EQ(activity(), "Done.");
    EXPECT_TRUE(dialogs.calls.empty());
}

} // namespace
} // namespace orv::test
