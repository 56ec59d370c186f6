// orvalen --batch as a user's script runs it: the real program, started as
// a process without any display, over the engine simulator. Its five outputs
// are checked against each other and against what the window writes for the
// same lists.
#include "app/TForm1.h"
#include "core/Lines.h"
#include "files/ResultsFile.h"
#include "search/UrlRecord.h"
#include "support/CsvReader.h"
#include "support/EngineSim.h"
#include "support/RecordingShell.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace orv::test
{
namespace
{

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class BatchRunTest : public ::testing::Test
{
protected:
    BatchRunTest()
    {
        folder.makeProgramFolder();
        // All ten engines, no proxy, two seconds per page, 20 results each.
        std::string options;
        for (int i = 0; i < 10; ++i)
            options += "true\r\n";
        options += "false\r\n255.255.255.255\r\n80\r\n2\r\n";
        for (int i = 0; i < 10; ++i)
            options += "20\r\n";
        folder.write("search.txt", options);
        SaveLines(folder.file("night.cri"), writeCriteriaTemplate({ { "solar", "wind" }, {}, { "fox" } }));
        QDir().mkpath(QString::fromStdString(folder.file("out")));
    }

    void startSimulator(EngineSim::Options options)
    {
        sim = std::make_unique<EngineSim>(options);
        sim->writeEnginesFile(folder.path());
    }

    // Starts orvalen with no display at all; `during` may act on it while it runs.
    Finished runOrvalen(QStringList args, const std::function<void(QProcess&, std::string&)>& during = {})
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
            env.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ORVALEN_BIN_DIR "/orvalen"), args);
        EXPECT_TRUE(process.waitForStarted(10000));
        Finished done;
        if (during)
            during(process, done.err);
        EXPECT_TRUE(process.waitForFinished(100000)) << "orvalen did not end";
        done.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        done.out = process.readAllStandardOutput().toStdString();
        done.err += process.readAllStandardError().toStdString();
        return done;
    }

    QStringList batch(QStringList more) const
    {
        return QStringList { "--batch", "--program-folder", QString::fromStdString(folder.path()) } + more;
    }

    QString out(const char* name) const { return QString::fromStdString(folder.file(std::string("out/") + name)); }
    std::string readOut(const char* name) const { return LoadFileBytes(folder.file(std::string("out/") + name)); }

    TempFolder folder;
    std::unique_ptr<EngineSim> sim;
};

// What the window itself writes after opening `resultsFile`.
struct WindowExports {
    std::string html, text, csv;
};

WindowExports windowExportsOf(const std::string& resultsFile)
{
    TempFolder programFolder;
    programFolder.makeProgramFolder();
    ScriptedDialogs dialogs;
    RecordingShell shell;
    TForm1 form(programFolder.path());
    form.OpenResultsFile(resultsFile);
    for (const char* name : { "w.htm", "w.txt", "w.csv" })
        dialogs.fileAnswers.push_back(programFolder.file(name));
    dialogs.confirmAnswers = { false, false }; // no report viewer
    form.mnuFileExportHtmlClick();
    form.mnuFileExportTextClick();
    form.mnuFileExportCsvClick();
    return { LoadFileBytes(programFolder.file("w.htm")), LoadFileBytes(programFolder.file("w.txt")),
        LoadFileBytes(programFolder.file("w.csv")) };
}

// A simulator without fault paths, so that every step of a run succeeds.
EngineSim::Options politeSim(int seed)
{
    EngineSim::Options options;
    options.seed = seed;
    options.resultsPerEngine = 10;
    options.faults = false;
    return options;
}

std::vector<std::string> column(const std::vector<std::vector<std::string>>& rows, size_t c)
{
    std::vector<std::string> values;
    for (size_t r = 1; r < rows.size(); ++r)
        values.push_back(rows[r].at(c));
    return values;
}

// Run with the program folder's "Parallel fetches" (1: search.txt has no
// such line) and with --parallel 4.
class BatchRunParallel : public BatchRunTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(BatchRunParallel, SearchAndRetrievalFromATemplateWriteFiveOutputsThatAgree)
{
    startSimulator(politeSim(3));
    QStringList args = batch({ "--criteria", QString::fromStdString(folder.file("night.cri")), "--search", "--retrieve",
        "--save", out("r.rst"), "--html", out("r.htm"), "--text", out("r.txt"), "--csv", out("r.csv"), "--json",
        out("r.json") });
    if (GetParam() > 1)
        args << "--parallel" << QString::number(GetParam());
    const Finished run = runOrvalen(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Search pages go one at a time; only the retrieval overlaps requests.
    if (GetParam() > 1)
        EXPECT_GE(sim->maxOpenToOneAddress(), 2) << "pages were fetched in parallel";
    else
        EXPECT_EQ(sim->maxOpenToOneAddress(), 1) << "search.txt says one at a time";
    const Lines options = LoadLines(folder.file("search.txt"));
    ASSERT_EQ(options.size(), 26u);
    EXPECT_EQ(options[24], "1") << "--parallel holds for the run only";
    EXPECT_EQ(options[25], "page source") << "a file without the line keeps matching the source";
    EXPECT_EQ(run.out, "") << "standard output stays empty";
    EXPECT_NE(run.err.find("search Infoseek page 1: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("retrieve 1/"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Engine yield:"), std::string::npos) << run.err;
    EXPECT_TRUE(QDir(QString::fromStdString(folder.file("data"))).isEmpty()) << "the run's pages are removed";

    const FileRead saved = readResultsFile(LoadLines(folder.file("out/r.rst")));
    ASSERT_TRUE(saved.complete());
    EXPECT_EQ(saved.criteria.primary, (Lines { "solar", "wind" }));
    const size_t records = saved.master.size();
    ASSERT_GT(records, 10u);
    ASSERT_FALSE(saved.approved.empty()) << "some pages hold solar or wind without fox";
    // Approved in list order, however the pages' answers interleaved.
    std::vector<std::string> inListOrder;
    for (const std::string& record : saved.master)
        if (std::find(saved.approved.begin(), saved.approved.end(), recordUrl(record)) != saved.approved.end())
            inListOrder.push_back(recordUrl(record));
    EXPECT_EQ(inListOrder, saved.approved);

    // The reports are the window's reports for the same lists.
    const WindowExports window = windowExportsOf(folder.file("out/r.rst"));
    EXPECT_EQ(readOut("r.htm"), window.html);
    EXPECT_EQ(readOut("r.txt"), window.text);

    // The CSV holds every master record in list order, with its row's state.
    const auto csv = readCsv(readOut("r.csv"));
    ASSERT_EQ(csv.size(), records + 1);
    for (size_t i = 0; i < records; ++i) {
        const auto& row = csv[i + 1];
        EXPECT_EQ(row[0], recordUrl(saved.master[i]));
        EXPECT_EQ(statusDigitForText(row[1]), recordStatusChar(saved.master[i])) << row[1];
        EXPECT_EQ(row[2], recordCheckChar(saved.master[i]) == '1' ? "true" : "false");
        const bool approved = std::find(saved.approved.begin(), saved.approved.end(), row[0]) != saved.approved.end();
        EXPECT_EQ(row[3], approved ? "true" : "false");
        EXPECT_FALSE(row[4].empty()) << "every URL came from some engine: " << row[0];
    }
    // The window's CSV of the reopened file agrees wherever a results file
    // can carry the data (engines and descriptions it does not store).
    const auto windowCsv = readCsv(window.csv);
    for (size_t c : { 0u, 1u, 2u, 3u })
        EXPECT_EQ(column(windowCsv, c), column(csv, c)) << "column " << c;

    // The JSON says the same as the CSV, and its yield adds up.
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(readOut("r.json")), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject json = doc.object();
    const QJsonArray results = json["results"].toArray();
    ASSERT_EQ(static_cast<size_t>(results.size()), records);
    std::map<std::string, int> approvedByEngine, verifiedByEngine;
    for (size_t i = 0; i < records; ++i) {
        const QJsonObject r = results[static_cast<qsizetype>(i)].toObject();
        const auto& row = csv[i + 1];
        EXPECT_EQ(r["url"].toString().toStdString(), row[0]);
        EXPECT_EQ(r["status"].toString().toStdString(), row[1]);
        EXPECT_EQ(r["checked"].toBool() ? "true" : "false", row[2]);
        EXPECT_EQ(r["approved"].toBool() ? "true" : "false", row[3]);
        EXPECT_EQ(r["description"].toString().toStdString(), row[5]);
        std::string engines;
        for (const auto& e : r["engines"].toArray()) {
            engines += (engines.empty() ? "" : ";") + e.toString().toStdString();
            approvedByEngine[e.toString().toStdString()] += r["approved"].toBool() ? 1 : 0;
            verifiedByEngine[e.toString().toStdString()] += r["status"].toString() == "Verified" ? 1 : 0;
        }
        EXPECT_EQ(engines, row[4]);
    }
    const QJsonArray engines = json["engines"].toArray();
    EXPECT_EQ(engines.size(), 10);
    int allNew = 0;
    for (const auto& value : engines) {
        const QJsonObject e = value.toObject();
        EXPECT_LE(e["new"].toInt(), e["links"].toInt()) << e["engine"].toString().toStdString();
        EXPECT_EQ(e["approved"].toInt(), approvedByEngine[e["engine"].toString().toStdString()]);
        EXPECT_EQ(e["verified"].toInt(), verifiedByEngine[e["engine"].toString().toStdString()]);
        allNew += e["new"].toInt();
    }
    EXPECT_EQ(static_cast<size_t>(allNew), records);
    const QJsonArray approvedJson = json["approved"].toArray();
    ASSERT_EQ(static_cast<size_t>(approvedJson.size()), saved.approved.size());
    for (size_t i = 0; i < saved.approved.size(); ++i)
        EXPECT_EQ(approvedJson[static_cast<qsizetype>(i)]["url"].toString().toStdString(), saved.approved[i]);
    EXPECT_EQ(json["criteria"]["exclusion"]["words"][0].toString(), "fox");
}

INSTANTIATE_TEST_SUITE_P(FetchesAtOnce, BatchRunParallel, ::testing::Values(1, 4));

TEST_F(BatchRunTest, AResultsFileIsOpenedRetrievedAndSavedAgain)
{
    startSimulator(politeSim(5));
    const Finished searched = runOrvalen(
        batch({ "--criteria", QString::fromStdString(folder.file("night.cri")), "--search", "--save", out("a.rst") }));
    ASSERT_EQ(searched.exitCode, 0) << searched.err;
    const FileRead before = readResultsFile(LoadLines(folder.file("out/a.rst")));
    ASSERT_FALSE(before.master.empty());
    for (const std::string& line : before.master)
        EXPECT_EQ(recordStatusChar(line), '0') << line;

    const Finished retrieved
        = runOrvalen(batch({ "--open", out("a.rst"), "--retrieve", "--save", out("b.rst"), "--csv", "-" }));
    ASSERT_EQ(retrieved.exitCode, 0) << retrieved.err;
    EXPECT_EQ(retrieved.err.find("Engine yield:"), std::string::npos) << "no search, no yield";
    const FileRead after = readResultsFile(LoadLines(folder.file("out/b.rst")));
    ASSERT_EQ(after.master.size(), before.master.size());
    for (size_t i = 0; i < after.master.size(); ++i) {
        EXPECT_EQ(recordUrl(after.master[i]), recordUrl(before.master[i]));
        EXPECT_NE(recordStatusChar(after.master[i]), '0') << "every row was fetched: " << after.master[i];
    }
    EXPECT_EQ(after.criteria, before.criteria);
    // The CSV went to standard output.
    const auto csv = readCsv(retrieved.out);
    EXPECT_EQ(csv.size(), after.master.size() + 1);
}

TEST_F(BatchRunTest, BadUsageEndsWithTwoAndAnUnreadableFileWithOne)
{
    const Finished bad = runOrvalen(batch({ "--open", out("a.rst"), "--frobnicate" }));
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("unknown option --frobnicate"), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("Usage:"), std::string::npos);

    const Finished missing = runOrvalen(batch({ "--open", out("missing.rst"), "--save", out("never.rst") }));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("File not found"), std::string::npos) << missing.err;
    EXPECT_FALSE(FileExists(folder.file("out/never.rst"))) << "no output after a failed step";

    SaveLines(folder.file("out/empty.rst"), writeResultsFile({}, {}, {}));
    const Finished unwritable
        = runOrvalen(batch({ "--open", out("empty.rst"), "--csv", out("no/such/folder.csv"), "--text", out("t.txt") }));
    EXPECT_EQ(unwritable.exitCode, 1) << unwritable.err;
    EXPECT_TRUE(FileExists(folder.file("out/t.txt"))) << "the other outputs are still written";

    const Finished help = runOrvalen({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: orvalen", 0), 0u);
    const Finished version = runOrvalen({ "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("orvalen ", 0), 0u);
}

TEST_F(BatchRunTest, CtrlCAbortsWritesWhatWasGatheredAndEndsWithOne)
{
    // Every engine after the first answers slowly, so the run is surely
    // still searching when the signal comes.
    EngineSim::Options options = politeSim(7);
    options.slow = "Webcrawler,Excite,AltaVista,Yahoo,Snap,Thunderstone,PlanetSearch,Magellan,Netfind.Aol";
    options.slowMs = 1500;
    startSimulator(options);
    const Finished run = runOrvalen(batch({ "--criteria", QString::fromStdString(folder.file("night.cri")), "--search",
                                        "--retrieve", "--save", out("partial.rst"), "--json", out("partial.json") }),
        [](QProcess& process, std::string& err) {
            // Wait for the first engine's page, then interrupt.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    err += process.readAllStandardError().toStdString();
                    return err.find("search Infoseek page 1") != std::string::npos;
                },
                60000));
            ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        });
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
    const FileRead saved = readResultsFile(LoadLines(folder.file("out/partial.rst")));
    EXPECT_TRUE(saved.complete());
    EXPECT_FALSE(saved.master.empty()) << "Infoseek's links were gathered";
    EXPECT_TRUE(FileExists(folder.file("out/partial.json")));
    EXPECT_TRUE(QDir(QString::fromStdString(folder.file("data"))).isEmpty());
}

TEST_F(BatchRunTest, CtrlCDuringParallelFetchesEndsTheRequestsInFlightAndWritesEveryRow)
{
    // Pages that answer after 30 s, under a time-out of 60 s: only the abort
    // can end the run early.
    std::string options;
    for (int i = 0; i < 10; ++i)
        options += "true\r\n";
    options += "false\r\n255.255.255.255\r\n80\r\n60\r\n";
    for (int i = 0; i < 10; ++i)
        options += "20\r\n";
    folder.write("search.txt", options);
    startSimulator(politeSim(7));
    std::string urls;
    for (int i = 0; i < 8; ++i)
        urls += sim->url("/fault/slow/000" + std::to_string(i) + ".html?ms=30000") + "\n";
    folder.write("urls.txt", urls);

    QElapsedTimer clock;
    clock.start();
    const Finished run = runOrvalen(batch({ "--urls", QString::fromStdString(folder.file("urls.txt")), "--retrieve",
                                        "--parallel", "4", "--save", out("p.rst"), "--csv", out("p.csv") }),
        [this](QProcess& process, std::string&) {
            EXPECT_TRUE(QTest::qWaitFor([this] { return sim->openConnections() == 4; }, 60000))
                << "four requests in flight";
            ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        });
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_LT(clock.elapsed(), 25000) << "the abort ended the requests in flight";
    EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
    const FileRead saved = readResultsFile(LoadLines(folder.file("out/p.rst")));
    EXPECT_TRUE(saved.complete());
    EXPECT_EQ(saved.master.size(), 8u);
    EXPECT_EQ(readCsv(readOut("p.csv")).size(), 9u);
    EXPECT_TRUE(QDir(QString::fromStdString(folder.file("data"))).isEmpty()) << "no page file is left behind";
}

// Serves fixed pages with their own headers from a thread of its own, so that
// it answers while the test waits for the program to end.
class PagePeer
{
public:
    using Page = std::pair<std::string, std::string>; // Content-Type, body

    explicit PagePeer(std::map<std::string, Page> pages)
        : pages_(std::move(pages))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 8) != 0
            || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            ADD_FAILURE() << "the page peer cannot listen";
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~PagePeer()
    {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    void serve()
    {
        for (;;) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0)
                return;
            std::string request;
            char buffer[2048];
            ssize_t n = 0;
            while (request.find("\r\n\r\n") == std::string::npos && (n = ::recv(client, buffer, sizeof buffer, 0)) > 0)
                request.append(buffer, static_cast<size_t>(n));
            const size_t start = request.find(' ') + 1;
            const auto it = pages_.find(request.substr(start, request.find(' ', start) - start));
            const std::string answer = it == pages_.end()
                ? std::string("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                : "HTTP/1.0 200 OK\r\nContent-Type: " + it->second.first + "\r\nContent-Length: "
                    + std::to_string(it->second.second.size()) + "\r\n\r\n" + it->second.second;
            (void)!::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    std::map<std::string, Page> pages_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// Criteria in Greek, Cyrillic and CJK from a template given on the command
// line, against pages in KOI8-R (header), Shift_JIS (meta) and undeclared
// Windows-1252: page text finds them by case folding in every set and not in
// a script; page source finds only exact bytes, markup included.
TEST_F(BatchRunTest, MatchChoosesPageTextOrSourceOverPagesInTheirOwnSets)
{
    const PagePeer peer({
        { "/koi8",
            { "text/html; charset=KOI8-R",
                "<title>\xF0\xD2\xC9\xD7\xC5\xD4</title><p>\xF0\xD2\xC9\xD7\xC5\xD4!</p>" } },
        { "/sjis", { "text/html", "<meta charset=\"Shift_JIS\"><title>T</title><p>\x93\x8C\x8B\x9E</p>" } },
        { "/cp1252", { "text/html", "<title>caf\xE9 \x93q\x94</title><p>CAF\xC9</p>" } },
        { "/script",
            { "text/html; charset=utf-8", "<script>var s='\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1';</script>" } },
    });
    const Lines primary = { "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "\xE6\x9D\xB1\xE4\xBA\xAC",
        "caf\xC3\xA9", "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1" };
    SaveLines(folder.file("world.cri"), writeCriteriaTemplate({ primary, {}, { "\xE2\x80\x9Cnever\xE2\x80\x9D" } }));
    std::string urls;
    for (const char* path : { "/koi8", "/sjis", "/cp1252", "/script" })
        urls += peer.url(path) + "\n";
    folder.write("urls.txt", urls);

    const auto approvedOf = [&](const char* match) {
        const Finished run
            = runOrvalen(batch({ "--criteria", QString::fromStdString(folder.file("world.cri")), "--urls",
                QString::fromStdString(folder.file("urls.txt")), "--retrieve", "--match", match, "--json", "-" }));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
        EXPECT_EQ(json["criteria"]["matchOn"].toString(), QString::fromLatin1(match));
        EXPECT_EQ(json["criteria"]["primary"]["words"][0].toString().toStdString(), primary[0]);
        std::map<std::string, std::string> approved;
        for (const QJsonValue a : json["approved"].toArray())
            approved[a["url"].toString().toStdString()] = a["description"].toString().toStdString();
        return approved;
    };
    EXPECT_EQ(approvedOf("text"),
        (std::map<std::string, std::string> { { peer.url("/cp1252"), "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D" },
            { peer.url("/koi8"), "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82" }, { peer.url("/sjis"), "T" } }));
    EXPECT_EQ(approvedOf("source"),
        (std::map<std::string, std::string> { { peer.url("/cp1252"), "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D" },
            { peer.url("/script"), "No Description" }, { peer.url("/sjis"), "T" } }));
}

} // namespace
} // namespace orv::test
