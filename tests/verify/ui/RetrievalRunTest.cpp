// The Retrieve command and "Scan Page" over the engine simulator's sites.
#include "RetrievalFixture.h"

#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "browse/ui/TfrmDescription.h"
#include "net/HttpProt.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListModel.h"
#include "platform/ui/UrlListView.h"
#include "verify/PageBound.h"
#include "verify/PageScan.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QLabel>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>
#include <filesystem>

namespace orv::test
{
namespace
{

std::string site(int n)
{
    char path[32];
    std::snprintf(path, sizeof path, "/site/%04d.html", n);
    return path;
}

class RetrievalRunTest : public RetrievalFixture
{
protected:
    std::string url(const std::string& path) const { return sim->url(path); }

    // The description the page at `path` should leave: what the primary
    // scan captures from the page the simulator serves.
    std::string descriptionOf(const std::string& path) const
    {
        return CaptureDescription(PageText::fromBytes(fetch(path))).value_or("No Description");
    }

    std::string masterDescription(const std::string& u) const
    {
        const int row = rowOf(u);
        return row < 0 ? "<no row>" : form->masterDescriptions.at(static_cast<size_t>(row));
    }

    bool dataFolderEmpty() const { return std::filesystem::is_empty(folder.path() + "data"); }

    void mixedHttpAndHttpsSites(int parallel);
};

TEST_F(RetrievalRunTest, MixedListEndsEachRowAsItsOutcome)
{
    const std::string pass1 = url(site(10)), pass2 = url(site(11)), excluded = url(site(12));
    const std::string failing = url(site(13)), tickedRow = url(site(14)), unreadable = url(site(15));
    const std::string slow = url("/fault/slow/0020.html?ms=8000"), notFound = url("/fault/404/0021.html");
    const std::string empty = url("/fault/empty/0022.html"), unknown = "http://no-such-host.invalid/page.html";
    setMaster(
        { pass1, pass2, excluded, failing, tickedRow, unreadable, slow, notFound, empty, unknown }, { tickedRow });
    accept("0010\n0011\n0012\n0014\n0015", "<body>", "0012");
    form->edMaxSeconds->setText(QStringLiteral("0"));

    // The page file of one site disappears before it is scanned.
    auto docEnd = form->Httpcli1.OnDocEnd;
    form->Httpcli1.OnDocEnd = [&](THttpCli* sender) {
        if (docEnd)
            docEnd(sender);
        if (sender->URL == unreadable)
            std::filesystem::remove(form->run.currentDataFile);
    };

    form->butRetrieveClick();

    struct Expect {
        std::string url;
        std::string status;
        bool tick;
    };
    const std::vector<Expect> expected = {
        { pass1, "Verified", true },
        { pass2, "Verified", true },
        { excluded, "Verified", true },
        { failing, "Verified", true },
        { tickedRow, "Not Verified", true },
        { unreadable, "File Not Found", true },
        { slow, "Timeout", false },
        { notFound, "Site Not Found", true },
        { empty, "Site Not Found", true },
        { unknown, "Site Not Found", true },
    };
    for (const Expect& e : expected) {
        EXPECT_EQ(status(e.url), e.status) << e.url;
        EXPECT_EQ(ticked(e.url), e.tick) << e.url;
    }

    // Checked: the ticked row and the five pages that arrived.
    EXPECT_EQ(text(form->lblCheckedCount), "6");
    EXPECT_EQ(text(form->lblRawCount), "10");
    EXPECT_EQ(text(form->lblApprovedCount), "2");
    EXPECT_EQ(text(form->lblCurrentEngine), "Done.");
    EXPECT_EQ(fromQ(form->windowTitle()), "Orvalen");
    EXPECT_FALSE(form->run.retrievalBusy);
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_TRUE(form->butSearch->isEnabled());
    EXPECT_FALSE(form->butAbort->isEnabled());

    // Scanned pages keep their title or description; the excluded, skipped
    // and unreadable ones keep what they had.
    EXPECT_EQ(masterDescription(pass1), descriptionOf(site(10)));
    EXPECT_EQ(masterDescription(failing), descriptionOf(site(13)));
    EXPECT_EQ(masterDescription(excluded), "No Description");
    EXPECT_EQ(masterDescription(tickedRow), "No Description");
    EXPECT_EQ(masterDescription(unreadable), "No Description");

    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { pass1, pass2 }));
    EXPECT_EQ(
        form->approvedDescriptions, (std::vector<std::string> { descriptionOf(site(10)), descriptionOf(site(11)) }));
    EXPECT_EQ(approvedViewRows(), (std::vector<std::string> { pass1, pass2 }));

    EXPECT_EQ(requestsFor(site(14)), 0) << "a ticked row is not fetched";
    EXPECT_TRUE(dataFolderEmpty()) << "page files are deleted after scanning";
}

// http and https sites in one run, one request at a time or eight at a time:
// pages served over TLS, four of them slow so that eight at a time holds four
// TLS connections open at once, a page that has moved to https, and a TLS
// failure, which stays unticked as "Error"; then Scan Page on two of them.
void RetrievalRunTest::mixedHttpAndHttpsSites(int parallel)
{
    EngineSim::Options options;
    options.tls = true;
    sim = std::make_unique<EngineSim>(options);
    const std::string plain = url(site(10)), secure = sim->httpsUrl(site(11)), moved = url("/secure/0031.html");
    const std::string tlsOnPlainPort = "https://127.0.0.1:" + std::to_string(sim->port()) + site(12);
    std::vector<std::string> slowSecure;
    for (int n = 40; n < 44; ++n)
        slowSecure.push_back(sim->httpsUrl("/fault/slow/00" + std::to_string(n) + ".html?ms=1000"));
    std::vector<std::string> urls = { plain, secure, moved, tlsOnPlainPort };
    urls.insert(urls.end(), slowSecure.begin(), slowSecure.end());
    setMaster(urls);
    accept("0010\n0011\n0031");
    form->edMaxSeconds->setText(QStringLiteral("10"));
    form->spinParallelFetches->setValue(parallel);

    form->butRetrieveClick();

    EXPECT_EQ(status(plain), "Verified");
    EXPECT_EQ(status(secure), "Verified");
    EXPECT_EQ(status(moved), "Verified");
    EXPECT_EQ(status(tlsOnPlainPort), "Error");
    EXPECT_TRUE(ticked(plain) && ticked(secure) && ticked(moved));
    EXPECT_FALSE(ticked(tlsOnPlainPort)) << "a TLS failure is tried again next run";
    // Why it ended in "Error" shows in the status cell's tooltip and the description window.
    const int failed = rowOf(tlsOnPlainPort);
    const QString reason = form->ListView1->rowModel()->index(failed, 1).data(Qt::ToolTipRole).toString();
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(form->ListView1->rowModel()->index(rowOf(plain), 1).data(Qt::ToolTipRole).isNull());
    form->ListView1->clearSelection();
    form->ListView1->selectRow(failed);
    form->popDescriptionClick();
    ASSERT_NE(frmDescription, nullptr);
    EXPECT_EQ(frmDescription->lblReason->text(), "Error: " + reason);
    EXPECT_TRUE(frmDescription->lblReason->isVisibleTo(frmDescription));
    frmDescription->hide();
    form->ListView1->clearSelection();
    for (const std::string& u : slowSecure) {
        EXPECT_EQ(status(u), "Verified") << u;
        EXPECT_TRUE(ticked(u)) << u;
    }
    // In the order of the sorted list, where "http:" comes before "https:".
    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { moved, plain, secure }));
    EXPECT_EQ(requestsFor("/secure/0031.html"), 1);
    EXPECT_EQ(requestsFor(site(31)), 1) << "the moved page is fetched over https";
    EXPECT_EQ(masterDescription(moved), descriptionOf(site(31)));
    EXPECT_EQ(text(form->lblCheckedCount), "7");
    // The moved page's request to the TLS port, which counts against the
    // plain port's host, may come on top of the four slow ones.
    if (parallel > 1) {
        EXPECT_GE(sim->maxOpenToOneAddress(), 4) << "four TLS connections to one host at once";
    } else {
        // Scan Page fetches an https row again, and a TLS failure stays
        // unticked there too.
        form->ListView1->selectRow(rowOf(secure));
        form->popScanPageClick();
        EXPECT_EQ(status(secure), "Verified");
        EXPECT_TRUE(ticked(secure));
        EXPECT_EQ(requestsFor(site(11)), 2);
        form->ListView1->selectRow(rowOf(tlsOnPlainPort));
        form->popScanPageClick();
        EXPECT_EQ(status(tlsOnPlainPort), "Error");
        EXPECT_FALSE(ticked(tlsOnPlainPort));
    }
    EXPECT_TRUE(dataFolderEmpty());
}

TEST_F(RetrievalRunTest, MixedHttpAndHttpsSites)
{
    mixedHttpAndHttpsSites(1);
}

TEST_F(RetrievalRunTest, MixedHttpAndHttpsSitesEightAtATime)
{
    mixedHttpAndHttpsSites(8);
}

// A server that takes the connection and then says nothing holds the TLS
// handshake: the row's time-out ends it within a second of being due, and
// the row is left to be tried again.
TEST_F(RetrievalRunTest, SilentTlsServerTimesOut)
{
    QTcpServer silent; // accepts, and never reads or answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const std::string quiet = "https://127.0.0.1:" + std::to_string(silent.serverPort()) + site(1);
    setMaster({ quiet });
    accept("0001");
    form->edMaxSeconds->setText(QStringLiteral("0")); // due at the first tick, a second in

    QElapsedTimer clock;
    clock.start();
    form->butRetrieveClick();

    EXPECT_LT(clock.elapsed(), 1000 + 1000);
    EXPECT_EQ(status(quiet), "Timeout");
    EXPECT_FALSE(ticked(quiet));
    EXPECT_FALSE(watchdogFired);
    EXPECT_TRUE(dataFolderEmpty());
}

TEST_F(RetrievalRunTest, AbortDuringTheThirdOfTenUrlsLeavesTheRestAlone)
{
    // Every page goes through the slow path so that the rows sort in this
    // order; only the third one takes long.
    std::vector<std::string> urls;
    for (int i = 0; i < 10; ++i) {
        char path[64];
        std::snprintf(path, sizeof path, "/fault/slow/%04d.html?ms=%d", 40 + i, i == 2 ? 15000 : 0);
        urls.push_back(url(path));
    }
    setMaster(urls);
    accept("html");
    once([&] { return form->ListView1->status(2) == "Contacting"; }, [&] { form->butAbortClick(); });

    form->butRetrieveClick();

    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(form->ListView1->status(row), "Verified");
        EXPECT_TRUE(form->ListView1->checked(row));
    }
    EXPECT_EQ(form->ListView1->status(2), "Contacting");
    EXPECT_FALSE(form->ListView1->checked(2));
    for (int row = 3; row < 10; ++row) {
        EXPECT_EQ(form->ListView1->status(row), "Not Verified") << row;
        EXPECT_FALSE(form->ListView1->checked(row)) << row;
        EXPECT_EQ(requestsFor(urls[static_cast<size_t>(row)].substr(sim->url("").size())), 0) << row;
    }
    EXPECT_EQ(text(form->lblCurrentEngine), "Done.");
    EXPECT_EQ(text(form->lblCheckedCount), "2");
    EXPECT_EQ(form->approvedUrls.count(), 2);
    EXPECT_FALSE(form->run.retrievalBusy);
    EXPECT_FALSE(form->run.abortFlag);
    EXPECT_TRUE(form->butRetrieve->isEnabled());
}

TEST_F(RetrievalRunTest, SecondRetrieveAfterEveryRowWasTickedSendsNothing)
{
    const std::vector<std::string> urls = { url(site(1)), url(site(2)), url(site(3)) };
    setMaster(urls, urls);
    accept("html");

    form->butRetrieveClick();

    EXPECT_TRUE(sim->requests().empty());
    EXPECT_EQ(text(form->lblCheckedCount), "3");
    EXPECT_EQ(text(form->lblCurrentEngine), "Done.");
    for (const auto& u : urls)
        EXPECT_EQ(status(u), "Not Verified");
}

TEST_F(RetrievalRunTest, EmptyMasterListEndsAtOnce)
{
    accept("html");
    form->butRetrieveClick();
    EXPECT_TRUE(sim->requests().empty());
    EXPECT_EQ(text(form->lblCurrentEngine), "Done.");
    EXPECT_EQ(text(form->lblCheckedCount), "0");
    EXPECT_TRUE(form->butRetrieve->isEnabled());
}

TEST_F(RetrievalRunTest, RadioSwitchDuringARunActsOnTheNextPage)
{
    // Both pages hold "html" but not "zebra": under Any the first passes,
    // under All (switched while the first page is fetched) the second fails.
    const std::string first = url(site(30)), second = url(site(31));
    setMaster({ first, second });
    accept("html\nzebra");
    // Switch the moment the second row is contacted: the view reports the
    // status change synchronously, so no polling can miss a fast fetch.
    bool switched = false;
    QObject::connect(form->ListView1->model(), &QAbstractItemModel::dataChanged, form.get(), [&] {
        if (!switched && form->ListView1->status(1) == "Contacting") {
            switched = true;
            form->radPrimaryAll->setChecked(true);
        }
    });

    form->butRetrieveClick();

    EXPECT_TRUE(switched);
    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { first }));
    EXPECT_EQ(status(second), "Verified");
}

TEST_F(RetrievalRunTest, SecondRunKeepsEachApprovedUrlWithItsOwnDescription)
{
    // The first run approves the later URL, the second an earlier one; the
    // descriptions must follow their URLs into sorted order.
    const std::string early = url(site(50)), late = url(site(51));
    setMaster({ early, late });
    accept("0051");
    form->butRetrieveClick();
    form->ListView1->setChecked(rowOf(early), false);
    accept("0050");
    form->butRetrieveClick();

    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { early, late }));
    EXPECT_EQ(
        form->approvedDescriptions, (std::vector<std::string> { descriptionOf(site(50)), descriptionOf(site(51)) }));
}

TEST_F(RetrievalRunTest, ScanPageOnATickedRowFetchesItAgain)
{
    const std::string a = url(site(60)), b = url(site(61));
    setMaster({ a, b }, { a });
    accept("0060");
    form->ListView1->selectRow(rowOf(a));

    form->popScanPageClick();

    EXPECT_EQ(requestsFor(site(60)), 1);
    EXPECT_EQ(status(a), "Verified");
    EXPECT_TRUE(ticked(a));
    EXPECT_EQ(text(form->lblRawCount), "1") << "a verified scan takes one off Total Urls";
    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { a }));
    EXPECT_EQ(approvedViewRows(), (std::vector<std::string> { a }));
    EXPECT_EQ(text(form->lblCurrentEngine), "Sorting Data and Removing Duplicates....");
    EXPECT_EQ(fromQ(form->windowTitle()), "Orvalen");
    EXPECT_FALSE(form->run.retrievalBusy);
    EXPECT_TRUE(form->butRetrieve->isEnabled());
}

TEST_F(RetrievalRunTest, ScanPageWorksAgainRightAfterAnAbortedScan)
{
    const std::string slow = url("/fault/slow/0070.html?ms=15000"), fast = url(site(71));
    setMaster({ slow, fast });
    accept("html");
    form->ListView1->selectRow(rowOf(slow));
    once([&] { return status(slow) == "Contacting"; }, [&] { form->butAbortClick(); });

    form->popScanPageClick();

    EXPECT_EQ(status(slow), "Contacting");
    EXPECT_FALSE(ticked(slow));
    EXPECT_FALSE(form->run.retrievalBusy);

    form->ListView1->clearSelection();
    form->ListView1->selectRow(rowOf(fast));
    form->popScanPageClick();

    EXPECT_EQ(status(fast), "Verified");
    EXPECT_EQ(requestsFor(site(71)), 1);
}

TEST_F(RetrievalRunTest, ScanPageIsRefusedDuringARetrievalRun)
{
    const std::string slow = url("/fault/slow/0080.html?ms=300"), other = url(site(81));
    setMaster({ slow, other });
    accept("html");
    bool refused = false;
    once([&] { return status(slow) == "Contacting"; },
        [&] {
            form->ListView1->clearSelection();
            form->ListView1->selectRow(rowOf(other));
            form->popScanPageClick();
            refused = status(other) == "Not Verified";
        });

    form->butRetrieveClick();

    EXPECT_TRUE(refused);
    EXPECT_EQ(requestsFor(site(81)), 1) << "fetched once, by the run itself";
}

// Regression: a page cut off in transit was scanned as if whole and recorded
// as "Verified", so no later run fetched it again.
TEST_F(RetrievalRunTest, CutOffPageEndsAsErrorUntickedAndUnscanned)
{
    const std::string cut = url("/fault/cut/0030.html"), whole = url(site(31));
    setMaster({ cut, whole });
    accept("<html>"); // every page passes, whole or in part
    form->butRetrieveClick();

    EXPECT_EQ(status(cut), "Error");
    EXPECT_FALSE(ticked(cut));
    EXPECT_EQ(masterDescription(cut), "No Description");
    EXPECT_EQ(status(whole), "Verified");
    EXPECT_EQ(approvedViewRows(), std::vector<std::string> { whole });
    EXPECT_EQ(text(form->lblCheckedCount), "1");
    EXPECT_TRUE(dataFolderEmpty()) << "the fragment is deleted";

    form->SaveResultsFile(folder.path() + "run.rst");
    EXPECT_NE(folder.read("run.rst").find(cut + ",,,,,0,,,,,3"), std::string::npos);

    // The next run tries the cut page again, and only it.
    form->butRetrieveClick();
    EXPECT_EQ(requestsFor("/fault/cut/0030.html"), 2);
    EXPECT_EQ(requestsFor(site(31)), 1);
}

// Lists replaced inside a waiting request used to take the run's outcomes
// into the wrong rows; a nested Retrieve marked every row "Site Not Found".
TEST_F(RetrievalRunTest, CommandsThatReplaceTheListsWaitForTheRunAndTheScan)
{
    const std::string slow = url("/fault/slow/0090.html?ms=300"), other = url(site(91));
    setMaster({ slow, other });
    accept("html");
    folder.write("Reports/old.rst", "[Primary]\r\nold\r\n");
    dialogs.fileAnswers = { folder.path() + "Reports/old.rst", folder.path() + "Reports/old.rst" };
    dialogs.calls.clear();
    int tries = 0;
    const auto tryEach = [&] {
        ++tries;
        form->spdOpenClick();
        form->spdNewClick();
        form->mnuFileCloseClick();
        form->butRetrieveClick();
    };

    once([&] { return status(slow) == "Contacting"; }, tryEach);
    form->butRetrieveClick();
    form->ListView1->selectRow(rowOf(slow));
    once([&] { return status(slow) == "Contacting"; }, tryEach);
    form->popScanPageClick();

    EXPECT_EQ(tries, 2);
    EXPECT_EQ(dialogs.calls, std::vector<std::string>(8, "notice: Please wait until the search/retrieval has finished"));
    EXPECT_EQ(status(slow), "Verified");
    EXPECT_EQ(status(other), "Verified");
    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { slow, other }));
    EXPECT_EQ(fromQ(form->memPrimarySearchCriteria->toPlainText()), "html");
    EXPECT_EQ(requestsFor(site(91)), 1);
}

// A local server whose one page grows past the retrieval bound and then
// stalls, never ending its body.
class EndlessPageServer
{
public:
    explicit EndlessPageServer(std::string body)
        : body_(std::move(body))
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (answered_ || !request_.contains("\r\n\r\n"))
                        return;
                    answered_ = true;
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n");
                    socket->write(body_.data(), static_cast<qint64>(body_.size()));
                });
            }
        });
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/huge.html"; }

private:
    std::string body_;
    QTcpServer server_;
    QByteArray request_;
    bool answered_ = false;
};

// A page past 16 MiB had no bound but the time-out: it was received until
// then and ended as "Timeout". Now it is cut at the bound, and what arrived
// is scanned: a criterion just before the bound counts, one after it not.
// A page with "quagga" 10,000 bytes before the bound, "yak" 10,000 bytes
// after it, and 64 KiB past it, after which its server stalls.
std::string PageReachingPastTheBound()
{
    const std::string line = std::string(1023, 'a') + "\n";
    std::string body = "<title>Huge</title>\n";
    const auto fillTo = [&](long long size) {
        while (static_cast<long long>(body.size() + line.size()) <= size)
            body += line;
    };
    fillTo(kRetrievedPageLimit - 10000);
    body += "quagga\n";
    fillTo(kRetrievedPageLimit + 10000);
    body += "yak\n";
    fillTo(kRetrievedPageLimit + 65536);
    return body;
}

TEST_F(RetrievalRunTest, PagePastTheBoundIsCutThereAndScanned)
{
    EndlessPageServer server(PageReachingPastTheBound());
    setMaster({ server.url() });
    accept("quagga", "", "yak");

    long long keptBytes = -1;
    auto docEnd = form->Httpcli1.OnDocEnd;
    form->Httpcli1.OnDocEnd = [&](THttpCli* sender) {
        keptBytes = QFileInfo(QString::fromStdString(form->run.currentDataFile)).size();
        if (docEnd)
            docEnd(sender);
    };

    form->butRetrieveClick();

    EXPECT_EQ(keptBytes, kRetrievedPageLimit);
    EXPECT_EQ(status(server.url()), "Verified");
    EXPECT_TRUE(ticked(server.url()));
    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { server.url() }));
    EXPECT_EQ(form->masterDescriptions.at(0), "Huge");
    EXPECT_TRUE(dataFolderEmpty());
}

// Parallel fetches have clients of their own; the bound holds there too.
// Uncut, the page would be excluded by "yak" or end as "Timeout".
TEST_F(RetrievalRunTest, PagePastTheBoundIsCutThereInParallelFetchesToo)
{
    EndlessPageServer server(PageReachingPastTheBound());
    setMaster({ server.url() });
    accept("quagga", "", "yak");
    form->spinParallelFetches->setValue(4);

    form->butRetrieveClick();

    EXPECT_EQ(status(server.url()), "Verified");
    EXPECT_EQ(form->approvedUrls.records(), (std::vector<std::string> { server.url() }));
    EXPECT_EQ(form->masterDescriptions.at(0), "Huge");
    EXPECT_TRUE(dataFolderEmpty());
}

} // namespace
} // namespace orv::test
