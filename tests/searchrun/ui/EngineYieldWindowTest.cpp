// The engine yield of a real search and retrieval over the simulator: the
// counts are replayed from the simulator's own log, and the "Engine Yield"
// window shows exactly them.
#include "SearchRunFixture.h"

#include "core/Lines.h"
#include "core/Text.h"
#include "files/ResultsFile.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"
#include "search/ui/TfrmYield.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <map>
#include <set>

namespace orv::test
{
namespace
{

class EngineYieldWindow : public SearchRunFixture
{
protected:
    bool yieldCommandEnabled()
    {
        form->mnuEditClick();
        return form->mnuEditYield->isEnabled();
    }

    std::string cell(int row, int column) const
    {
        const QTableWidgetItem* item = form->frmYield->gridYield->item(row, column);
        return item ? fromQ(item->text()) : std::string("<none>");
    }
};

struct Expected {
    int pages = 0;
    int links = 0;
    int newUrls = 0;
    std::set<std::string> urls;
};

TEST_F(EngineYieldWindow, ShowsWhatEachEngineBroughtAndWhatPassed)
{
    EngineSim::Options options;
    options.seed = 4;
    options.resultsPerEngine = 30;
    options.faults = false;
    start(options);
    acceptPrimary("solar");
    form->criteria = BuildWordLists("solar", "wind", "");
    tickOnly({ Engine::Infoseek, Engine::Excite, Engine::Snap });
    setMax(Engine::Infoseek, "30"); // two pages
    setMax(Engine::Excite, "10");
    setMax(Engine::Snap, "20");
    EXPECT_FALSE(yieldCommandEnabled()) << "no search has run";
    search();
    ASSERT_TRUE(yieldCommandEnabled());

    // Replay the simulator's answers in the order they were given.
    std::map<std::string, Expected> expected;
    std::set<std::string> seen;
    for (const SimRequest& r : sim->requests()) {
        if (r.what == "site" || r.what == "fault" || r.what == "-")
            continue;
        Expected& e = expected[r.what];
        ++e.pages;
        for (const std::string& link : r.links) {
            ++e.links;
            e.urls.insert(LowerCase(link));
            e.newUrls += seen.insert(LowerCase(link)).second ? 1 : 0;
        }
    }
    ASSERT_EQ(expected.size(), 3u);

    form->butRetrieve->click();
    ASSERT_EQ(fromQ(form->lblCurrentEngine->text()), "Done.");

    // Verified and approved per engine, counted from the rows.
    std::map<std::string, int> verified;
    std::map<std::string, int> approved;
    for (int i = 0; i < form->masterUrls.count(); ++i) {
        const std::string url = recordUrl(form->masterUrls.at(i));
        for (const auto& [engine, e] : expected) {
            if (!e.urls.count(LowerCase(url)))
                continue;
            verified[engine] += form->ListView1->status(i) == "Verified" ? 1 : 0;
            approved[engine] += form->approvedUrls.indexOf(url) >= 0 ? 1 : 0;
        }
    }
    ASSERT_GT(form->approvedUrls.count(), 0) << "some pages pass solar and wind";

    form->mnuEditYield->trigger();
    ASSERT_NE(form->frmYield, nullptr);
    EXPECT_TRUE(form->frmYield->isVisible());
    const QTableWidget* grid = form->frmYield->gridYield;
    ASSERT_EQ(grid->rowCount(), 3);
    const std::vector<std::string> order { "Infoseek", "Excite", "Snap" };
    int mostApproved = 0;
    for (const auto& [engine, count] : approved)
        mostApproved = std::max(mostApproved, count);
    for (int row = 0; row < 3; ++row) {
        const std::string& engine = order[static_cast<size_t>(row)];
        const Expected& e = expected[engine];
        SCOPED_TRACE(engine);
        EXPECT_EQ(cell(row, 0), engine);
        // What the report line shows; Snap reports its pages times 20.
        EXPECT_EQ(cell(row, 1), engine == "Snap" ? "40" : "30");
        EXPECT_EQ(cell(row, 2), IntToStr(e.pages));
        EXPECT_EQ(cell(row, 3), IntToStr(e.links));
        EXPECT_EQ(cell(row, 4), IntToStr(e.newUrls));
        EXPECT_EQ(cell(row, 5), IntToStr(verified[engine]));
        EXPECT_EQ(cell(row, 6), IntToStr(approved[engine]));
        const QTableWidgetItem* bar = grid->item(row, TfrmYield::kBarColumn);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->data(Qt::UserRole).toInt(), approved[engine]);
        EXPECT_EQ(bar->data(Qt::UserRole + 1).toInt(), mostApproved);
    }
    form->frmYield->butOk->click();
    EXPECT_FALSE(form->frmYield->isVisible());

    // Opening a results file clears the yield with the lists.
    SaveLines(folder.file("Reports/saved.rst"), writeResultsFile({ { "solar" }, {}, {} }, {}, {}));
    form->OpenResultsFile(folder.file("Reports/saved.rst"));
    EXPECT_FALSE(yieldCommandEnabled());
    EXPECT_TRUE(form->yield.rows().empty());
}

} // namespace
} // namespace orv::test
