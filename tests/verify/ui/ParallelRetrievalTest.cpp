// The Retrieve command with several requests in flight, against the same
// command one request at a time.
#include "RetrievalFixture.h"

#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace orv::test
{
namespace
{

// A page of the simulator: "site" is an ordinary page, any other kind one of
// its fault paths; a slow page answers after `ms`.
std::string path(const std::string& kind, int site, int ms = -1)
{
    char text[80];
    if (kind == "site")
        std::snprintf(text, sizeof text, "/site/%04d.html", site);
    else if (ms >= 0)
        std::snprintf(text, sizeof text, "/fault/%s/%04d.html?ms=%d", kind.c_str(), site, ms);
    else
        std::snprintf(text, sizeof text, "/fault/%s/%04d.html", kind.c_str(), site);
    return text;
}

// Everything a run decides, as the window shows and keeps it.
struct RunResult {
    std::vector<std::string> rows; // caption, status, tick
    std::vector<std::string> approved;
    std::vector<std::string> approvedDescriptions;
    std::vector<std::string> masterDescriptions;
    std::vector<std::string> approvedView;
    std::string checked, raw, confirmed, activity, title;

    bool operator==(const RunResult&) const = default;
};

void PrintTo(const RunResult& r, std::ostream* os)
{
    for (const auto& row : r.rows)
        *os << "\n  " << row;
    *os << "\n  approved:";
    for (size_t i = 0; i < r.approved.size(); ++i)
        *os << " " << r.approved[i] << " (" << (i < r.approvedDescriptions.size() ? r.approvedDescriptions[i] : "?")
            << ")";
    *os << "\n  counters " << r.checked << " / " << r.raw << " / " << r.confirmed << ", " << r.activity << ", "
        << r.title;
}

class ParallelRetrievalTest : public RetrievalFixture
{
protected:
    RunResult result() const
    {
        RunResult r;
        for (int row = 0; row < form->ListView1->count(); ++row)
            r.rows.push_back(form->ListView1->caption(row) + " | " + form->ListView1->status(row) + " | "
                + (form->ListView1->checked(row) ? "ticked" : "clear"));
        r.approved = form->approvedUrls.records();
        r.approvedDescriptions = form->approvedDescriptions;
        r.masterDescriptions = form->masterDescriptions;
        r.approvedView = approvedViewRows();
        r.checked = text(form->lblCheckedCount);
        r.raw = text(form->lblRawCount);
        r.confirmed = text(form->lblApprovedCount);
        r.activity = text(form->lblCurrentEngine);
        r.title = fromQ(form->windowTitle());
        return r;
    }

    // The same master list afresh: no ticks but the given ones, nothing
    // approved, no descriptions.
    void startOver(const std::vector<std::string>& records)
    {
        form->masterUrls.clear();
        form->masterDescriptions.clear();
        form->approvedUrls.clear();
        form->approvedDescriptions.clear();
        for (const std::string& record : records) {
            form->masterUrls.add(record);
            form->masterDescriptions.emplace_back("No Description");
        }
        form->PopulateListBox();
        form->PopulateTheApprovedBox();
    }

    bool dataFolderEmpty() const { return std::filesystem::is_empty(folder.path() + "data"); }
};

// Every kind of row a run meets, fetched one at a time and eight at a time:
// the rows, the approved list with its descriptions and the counters come out
// the same. The eight requests all go to one host, which allows four.
TEST_F(ParallelRetrievalTest, EightAtATimeDecideEveryRowAsOneAtATime)
{
    // The URL in two records is a page that passes: one that names its own
    // number (in its description, which not every page has).
    int twiceSite = 16;
    while (twiceSite < 30
        && fetch(path("site", twiceSite)).find(path("site", twiceSite).substr(6, 4)) == std::string::npos)
        ++twiceSite;
    ASSERT_LT(twiceSite, 30);
    const std::string twice = sim->url(path("site", twiceSite));
    const std::string twiceNumber = path("site", twiceSite).substr(6, 4);
    std::vector<std::string> records = {
        makeMasterRecord(sim->url(path("site", 10))), // approved
        makeMasterRecord(sim->url(path("site", 11))), // approved
        makeMasterRecord(sim->url(path("site", 12))), // excluded
        makeMasterRecord(sim->url(path("site", 13))), // fails the criteria
        makeMasterRecord(sim->url(path("site", 14)), '1'), // ticked: not fetched
        makeMasterRecord(sim->url(path("slow", 20, 8000))), // beyond the time-out
        makeMasterRecord(sim->url(path("404", 21))),
        makeMasterRecord(sim->url(path("empty", 22))),
        makeMasterRecord(sim->url(path("reset", 23))),
        makeMasterRecord(sim->url(path("redirect", 24))),
        makeMasterRecord(sim->url(path("cut", 25))), // arrives in part: "Error", unticked
        makeMasterRecord("http://no-such-host.invalid/page.html"),
        // The same URL in two records: approved twice, listed once.
        makeMasterRecord(twice),
        twice + ",,,,,0,,,,,2",
    };
    for (int site = 30; site < 46; ++site)
        records.push_back(makeMasterRecord(sim->url(path("slow", site, 40 * (site % 5)))));
    accept("0010\n0011\n0012\n0014\n0031\n0033\n0040\n" + twiceNumber, "<body>", "0012");
    form->edMaxSeconds->setText(QStringLiteral("1"));

    startOver(records);
    form->spinParallelFetches->setValue(1);
    form->butRetrieveClick();
    const RunResult oneAtATime = result();
    ASSERT_EQ(sim->maxOpenToOneAddress(), 1);

    startOver(records);
    form->spinParallelFetches->setValue(8);
    form->butRetrieveClick();
    const RunResult eightAtATime = result();

    EXPECT_EQ(eightAtATime, oneAtATime);
    EXPECT_EQ(sim->maxOpenToOneAddress(), 4) << "at most four requests to one host, and four were open at once";
    // The run did what the rows ask: a sample of the outcomes.
    EXPECT_EQ(status(sim->url(path("slow", 20, 8000))), "Timeout");
    EXPECT_EQ(status(sim->url(path("reset", 23))), "Site Not Found");
    EXPECT_EQ(status(sim->url(path("redirect", 24))), "Verified");
    EXPECT_EQ(status(sim->url(path("cut", 25))), "Error");
    EXPECT_GE(oneAtATime.approved.size(), 3u);
    EXPECT_NE(std::find(oneAtATime.approved.begin(), oneAtATime.approved.end(), twice), oneAtATime.approved.end());
    EXPECT_EQ(oneAtATime.confirmed, std::to_string(oneAtATime.approved.size()));
    EXPECT_EQ(oneAtATime.activity, "Done.");
    EXPECT_TRUE(dataFolderEmpty());
    EXPECT_FALSE(form->run.retrievalBusy);
    EXPECT_TRUE(form->butRetrieve->isEnabled());
}

// Abort in the middle of a run of eight at a time: the requests in flight end
// at once as aborted rows, nothing more is fetched, no page file stays.
TEST_F(ParallelRetrievalTest, AbortEndsEveryRequestInFlight)
{
    std::vector<std::string> urls;
    for (int i = 0; i < 12; ++i)
        urls.push_back(sim->url(path("slow", 60 + i, i < 2 ? 0 : 15000)));
    setMaster(urls);
    accept("html");
    form->spinParallelFetches->setValue(8);
    once(
        [&] {
            return form->ListView1->status(0) == "Verified" && form->ListView1->status(1) == "Verified"
                && form->ListView1->status(5) == "Contacting";
        },
        [&] { form->butAbortClick(); });

    form->butRetrieveClick();

    for (int row = 0; row < 2; ++row)
        EXPECT_TRUE(form->ListView1->checked(row)) << row;
    for (int row = 2; row < 6; ++row) {
        EXPECT_EQ(form->ListView1->status(row), "Contacting") << row;
        EXPECT_FALSE(form->ListView1->checked(row)) << row;
    }
    for (int row = 6; row < 12; ++row)
        EXPECT_EQ(form->ListView1->status(row), "Not Verified") << row;
    // The simulator may log a request sent just before Abort a little later;
    // once every connection is closed, only the six rows begun were asked.
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim->openConnections() == 0; }, 5000))
        << sim->openConnections() << " connections still open";
    for (int row = 6; row < 12; ++row)
        EXPECT_EQ(requestsFor(urls[static_cast<size_t>(row)].substr(sim->url("").size())), 0) << row;
    EXPECT_LE(sim->requests().size(), 6u);
    EXPECT_TRUE(dataFolderEmpty());
    EXPECT_EQ(text(form->lblCurrentEngine), "Done.");
    EXPECT_EQ(text(form->lblCheckedCount), "2");
    EXPECT_EQ(form->approvedUrls.count(), 2);
    EXPECT_FALSE(form->run.retrievalBusy);
    EXPECT_FALSE(form->run.abortFlag);
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_FALSE(form->butAbort->isEnabled());
}

} // namespace
} // namespace orv::test
