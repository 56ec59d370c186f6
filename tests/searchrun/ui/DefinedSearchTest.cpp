// Searches of today's engines through the window's Search, over the
// simulator playing them with the shipped definitions: paging, unwrapped
// links, the claimed count, blocked answers, broken definitions, and the
// same outcome whatever order the answers arrive in.
#include "SearchRunFixture.h"

#include "app/controls/NumberBox.h"
#include "core/Lines.h"
#include "search/ui/TfrmYield.h"

#include <QCheckBox>
#include <QTableWidget>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace orv::test
{
namespace
{

constexpr int kResults = 45; // what every engine of the simulator claims and serves
constexpr int kMaximum = 25; // more than two pages of ten

class DefinedSearch : public SearchRunFixture
{
protected:
    void startWith(EngineSim::Options options = {})
    {
        options.resultsPerEngine = kResults;
        options.faults = false;
        layOutShippedEngines();
        start(options);
        tickOnly({});
        acceptPrimary("red fox");
    }

    // The first `n` links the simulator gave an engine, in page order.
    std::set<std::string> firstLinks(const std::string& name, size_t n) const
    {
        std::vector<std::string> links;
        for (const SimRequest& r : sim->requestsOf(EngineSim::todayLogName(name)))
            links.insert(links.end(), r.links.begin(), r.links.end());
        links.resize(std::min(links.size(), n));
        return { links.begin(), links.end() };
    }

    std::set<std::string> masterSet() const
    {
        const auto urls = masterUrls();
        return { urls.begin(), urls.end() };
    }

    // The defined engines in catalogue order.
    std::vector<std::string> definedNames() const
    {
        std::vector<std::string> names;
        for (const CatalogueEntry* entry : form->catalogue.definedEntries())
            names.push_back(entry->name);
        return names;
    }
};

struct TodayCase {
    const char* name;
    bool claimsCount; // the page says how many results there are
    const char* linkPrefix; // where every link leads; empty: the simulator's sites
};

class DefinedSearchEach : public DefinedSearch, public ::testing::WithParamInterface<TodayCase>
{
};

TEST_P(DefinedSearchEach, ShippedDefinitionPagesUnwrapsAndCounts)
{
    const TodayCase& c = GetParam();
    startWith();
    tickDefinedOnly({ c.name }, kMaximum);
    search();

    const auto asked = sim->requestsOf(EngineSim::todayLogName(c.name));
    ASSERT_GE(asked.size(), 2u) << "paged";
    for (const SimRequest& r : asked) {
        EXPECT_EQ(r.status, "200") << r.target;
        // The query goes out as the definition puts it: DuckDuckGo's in a form.
        EXPECT_NE(r.target.find("red"), std::string::npos) << r.target;
        EXPECT_EQ(r.method, std::string(c.name) == "DuckDuckGo" ? "POST" : "GET");
    }
    const auto master = masterUrls();
    if (*c.linkPrefix == '\0') {
        EXPECT_EQ(masterSet(), firstLinks(c.name, kMaximum)) << "the links unwrapped, up to the maximum";
    } else {
        ASSERT_FALSE(master.empty());
        for (const std::string& url : master) {
            EXPECT_EQ(url.find(' '), std::string::npos) << url;
            EXPECT_TRUE(url.rfind(c.linkPrefix, 0) == 0 || url.rfind(sim->url("/"), 0) == 0) << url;
        }
    }
    const std::string count = c.claimsCount ? std::to_string(kResults) : std::to_string(kMaximum);
    EXPECT_EQ(reportLines(), (std::vector<std::string> { std::string(c.name) + " found\t\t\t" + count + " urls" }));
    const auto rows = form->yield.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, c.name);
    EXPECT_EQ(rows[0].pages, static_cast<int>(asked.size()));
    EXPECT_EQ(rows[0].links, kMaximum);
    EXPECT_FALSE(rows[0].blocked);
    EXPECT_EQ(activity(), "Done.");
}

INSTANTIATE_TEST_SUITE_P(Shipped, DefinedSearchEach,
    ::testing::Values(TodayCase { "DuckDuckGo", false, "" }, TodayCase { "Bing", true, "" },
        TodayCase { "Mojeek", true, "" }, TodayCase { "Brave", false, "" },
        TodayCase { "Wikipedia", true, "https://en.wikipedia.org/wiki/" },
        TodayCase { "Hacker News", true, "https://news.ycombinator.com/item?id=" }, TodayCase { "Crossref", true, "" },
        TodayCase { "arXiv", true, "" }, TodayCase { "Wiby", false, "" }, TodayCase { "SearXNG", false, "" }),
    [](const auto& info) {
        std::string name = info.param.name;
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        return name;
    });

TEST_F(DefinedSearch, BlockedAnswersShowTheirReasonInTheReportAndTheYield)
{
    EngineSim::Options options;
    options.challenge = "DuckDuckGo:2,Bing";
    options.throttle = "Brave";
    startWith(options);
    tickDefinedOnly({ "DuckDuckGo", "Bing", "Brave", "Wiby" }, kMaximum);
    search();

    std::map<std::string, std::string> lines;
    for (const std::string& line : reportLines())
        lines[line.substr(0, line.find(' '))] = line;
    EXPECT_EQ(lines["Brave"], "Brave blocked\t\t\tHTTP 429");
    EXPECT_EQ(lines["Bing"].rfind("Bing blocked\t\t\t", 0), 0u) << lines["Bing"];
    EXPECT_EQ(lines["DuckDuckGo"].rfind("DuckDuckGo blocked\t\t\t", 0), 0u) << lines["DuckDuckGo"];
    EXPECT_EQ(lines["Wiby"], "Wiby found\t\t\t25 urls") << "the others still run";
    EXPECT_EQ(sim->requestsOf("DuckDuckGo").size(), 2u) << "no page after the challenge";
    // The first page before the challenge still counts.
    const auto ddg = firstLinks("DuckDuckGo", 10);
    const auto master = masterSet();
    EXPECT_TRUE(std::includes(master.begin(), master.end(), ddg.begin(), ddg.end()));

    form->mnuEditYieldClick();
    const QTableWidget* grid = form->frmYield->gridYield;
    std::map<std::string, std::string> blockedCell;
    for (int r = 0; r < grid->rowCount(); ++r)
        blockedCell[grid->item(r, 0)->text().toStdString()]
            = grid->item(r, TfrmYield::kBlockedColumn)->text().toStdString();
    EXPECT_EQ(blockedCell["Brave"], "HTTP 429");
    EXPECT_FALSE(blockedCell["Bing"].empty());
    EXPECT_EQ(blockedCell["Wiby"], "");
}

TEST_F(DefinedSearch, TheOutcomeIsTheSameWhateverOrderTheAnswersArriveIn)
{
    startWith();
    const auto names = definedNames();
    for (auto& controls : form->definedControls) {
        controls.check->setChecked(true);
        controls.maxBox->setValue(kMaximum);
    }
    form->spinParallelFetches->setValue(1);
    search();
    const auto oneAtATime = masterUrls();
    const auto oneAtATimeReport = reportLines();
    ASSERT_EQ(oneAtATimeReport.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(oneAtATimeReport[i].rfind(names[i] + " ", 0), 0u) << "catalogue order";

    form->spinParallelFetches->setValue(10);
    search();
    EXPECT_EQ(masterUrls(), oneAtATime);
    EXPECT_EQ(reportLines(), oneAtATimeReport);
    // Each engine has its own address; asking at once shows as requests in
    // flight together, which the log's order of opens and closes tells.
    int open = 0, mostOpen = 0;
    for (const SimConnection& c : sim->connections()) {
        open += c.open ? 1 : -1;
        mostOpen = std::max(mostOpen, open);
    }
    EXPECT_GE(mostOpen, 3) << "the engines were asked at the same time";
}

TEST_F(DefinedSearch, ABrokenDefinitionIsReportedAndTheOthersRun)
{
    std::filesystem::create_directories(folder.file("engines"));
    SaveFileBytes(folder.file("engines/broken.yml"), "name: Broken\nengine: xpath\nsearch_url: [unclosed\n");
    startWith();
    tickDefinedOnly({ "Wiby" }, 10);
    search();
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind(folder.file("engines/broken.yml") + ":", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "Wiby found\t\t\t10 urls");
}

TEST_F(DefinedSearch, DrawnEnginesComeFirstAndGiveWhatTheyGaveBefore)
{
    startWith();
    tickOnly({ Engine::Excite });
    tickDefinedOnly({ "Crossref" }, 10);
    search();
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Excite found\t\t\t45 urls") << "as before: the claimed count";
    EXPECT_EQ(lines[1], "Crossref found\t\t\t45 urls");
    const auto excite = linksOf(sim->requestsOf("Excite"));
    const auto master = masterSet();
    EXPECT_TRUE(std::includes(master.begin(), master.end(), excite.begin(), excite.end()));
    const auto rows = form->yield.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].displayName(), "Excite");
    EXPECT_EQ(rows[1].displayName(), "Crossref");
}

TEST_F(DefinedSearch, ANewUsersFolderAsksTodaysEnginesAndAnOldOneKeepsItsChoices)
{
    layOutShippedEngines();
    folder.makeProgramFolder();
    auto rowsOf = [](const TForm1& window) {
        std::map<std::string, std::pair<bool, int>> rows;
        const auto defined = window.catalogue.definedEntries();
        for (size_t i = 0; i < defined.size(); ++i)
            rows[defined[i]->name]
                = { window.definedControls[i].check->isChecked(), window.definedControls[i].maxBox->value() };
        return rows;
    };
    {
        TForm1 fresh(folder.path());
        const auto rows = rowsOf(fresh);
        ASSERT_EQ(rows.size(), 10u) << "one row per shipped definition";
        for (const auto& [name, row] : rows)
            EXPECT_EQ(row.first, name != "SearXNG") << name << ": SearXNG waits for its URL";
        for (Engine e : kAllEngines)
            EXPECT_FALSE(fresh.engineCheck(e)->isChecked()) << "their hosts are gone";
        ASSERT_NE(fresh.definedEngineList, nullptr);
        fresh.definedControls[0].maxBox->setValue(70);
        fresh.definedControls[1].check->setChecked(false);
        fresh.butOptionsApplyClick();
    }
    const std::string saved = folder.read("defined-engines.txt");
    EXPECT_NE(saved.find("SearXNG=false,20\r\n"), std::string::npos) << saved;
    folder.write("defined-engines.txt", saved + "Gone Engine=true,50\r\n");
    {
        TForm1 again(folder.path());
        EXPECT_EQ(again.definedControls[0].maxBox->value(), 70) << "kept in its own file";
        EXPECT_FALSE(again.definedControls[1].check->isChecked());
        again.butOptionsApplyClick();
    }
    EXPECT_NE(folder.read("defined-engines.txt").find("Gone Engine=true,50\r\n"), std::string::npos)
        << "the line of an engine whose definition is gone stays";
    // An options file from before, asking a drawn engine: no defined engine
    // is asked until the user ticks one.
    TempFolder old;
    old.makeProgramFolder();
    std::filesystem::copy(folder.file("engines-shipped"), old.file("engines-shipped"));
    std::string options = "true\r\n"; // AltaVista
    for (int i = 0; i < 10; ++i)
        options += "false\r\n"; // the other nine and the proxy
    options += "255.255.255.255\r\n80\r\n30\r\n";
    for (int i = 0; i < 10; ++i)
        options += "20\r\n";
    old.write("search.txt", options);
    TForm1 existing(old.path());
    EXPECT_TRUE(existing.engineCheck(Engine::AltaVista)->isChecked());
    for (const auto& [name, row] : rowsOf(existing))
        EXPECT_FALSE(row.first) << name;
    EXPECT_EQ(old.read("search.txt").substr(0, 6), "true\r\n") << "search.txt keeps its lines";
}

} // namespace
} // namespace orv::test
