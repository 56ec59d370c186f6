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
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <filesystem>
#include <map>
#include <sys/stat.h>
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
        writeOptions(2);
        SaveLines(folder.file("night.cri"), writeCriteriaTemplate({ { "solar", "wind" }, {}, { "fox" } }));
        QDir().mkpath(QString::fromStdString(folder.file("out")));
    }

    // All ten engines, no proxy, `seconds` per page, 20 results each.
    void writeOptions(int seconds)
    {
        std::string options;
        for (int i = 0; i < 10; ++i)
            options += "true\r\n";
        options += "false\r\n255.255.255.255\r\n80\r\n" + std::to_string(seconds) + "\r\n";
        for (int i = 0; i < 10; ++i)
            options += "20\r\n";
        folder.write("search.txt", options);
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

ino_t inodeOf(const std::string& path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
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
    const std::string optionsBefore = folder.read("search.txt");
    const ino_t optionsInode = inodeOf(folder.file("search.txt"));
    const Finished run = runOrvalen(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Search pages go one at a time; only the retrieval overlaps requests.
    if (GetParam() > 1)
        EXPECT_GE(sim->maxOpenToOneAddress(), 2) << "pages were fetched in parallel";
    else
        EXPECT_EQ(sim->maxOpenToOneAddress(), 1) << "search.txt says one at a time";
    // Nothing changed the settings, so a read-only program folder would do:
    // search.txt is the very file it was, and --parallel held for the run only.
    EXPECT_EQ(inodeOf(folder.file("search.txt")), optionsInode) << "search.txt was written again";
    EXPECT_EQ(folder.read("search.txt"), optionsBefore);
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
    EXPECT_NE(missing.err.find("out/missing.rst: No such file or directory"), std::string::npos) << missing.err;
    EXPECT_FALSE(FileExists(folder.file("out/never.rst"))) << "no output after a failed step";

    SaveLines(folder.file("out/empty.rst"), writeResultsFile({}, {}, {}));
    const Finished unwritable
        = runOrvalen(batch({ "--open", out("empty.rst"), "--csv", out("no/such/folder.csv"), "--text", out("t.txt") }));
    EXPECT_EQ(unwritable.exitCode, 1) << unwritable.err;
    EXPECT_NE(unwritable.err.find("no/such/folder.csv: No such file or directory"), std::string::npos)
        << unwritable.err;
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
    writeOptions(60);
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

// Today's engines from the command line alone: the criteria, the engines
// and their maximum for this run, the list of engines, blocked answers in
// the JSON export and broken definitions on standard error.
TEST_F(BatchRunTest, CommandLineCriteriaAskTodaysEnginesAndTellWhatBlockedThem)
{
    const std::filesystem::path shipped = std::filesystem::path(ORVALEN_FIXTURES) / ".." / ".." / "dist" / "engines";
    std::filesystem::create_directories(folder.file("engines-shipped"));
    std::filesystem::create_directories(folder.file("engines"));
    for (const auto& file : std::filesystem::directory_iterator(shipped))
        std::filesystem::copy_file(file.path(), folder.file("engines-shipped/") + file.path().filename().string());
    folder.write("engines/broken.yml", "- name: Broken\n  engine: json_engine\n  paging: [yes\n");
    EngineSim::Options options = politeSim(3);
    options.resultsPerEngine = 30;
    options.throttle = "Brave";
    startSimulator(options);

    const Finished listed = runOrvalen(batch({ "--list-engines", "--engines", "excite,BING" }));
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    const std::string bingOrigin = sim->todayOrigin("Bing");
    EXPECT_NE(listed.out.find("Excite\tdrawn\tasked\thttp://" + sim->host() + "\tbuilt in\n"), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("Bing\tdefined\tasked\t" + bingOrigin + "\t" + folder.file("engines-shipped/")),
        std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("Infoseek\tdrawn\tnot asked\t"), std::string::npos) << listed.out;
    EXPECT_NE(listed.err.find(folder.file("engines/broken.yml") + ":"), std::string::npos) << listed.err;

    const Finished run = runOrvalen(batch({ "--primary", "red fox", "--primary", "den", "--all-primary", "--engines",
        "excite,BING,brave", "--max", "15", "--search", "--json", "-" }));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find(folder.file("engines/broken.yml") + ":"), std::string::npos) << "and the others run";
    for (const SimRequest& r : sim->requestsOf("Bing"))
        EXPECT_NE(r.target.find("red"), std::string::npos) << r.target;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(json["criteria"].toObject()["primary"].toObject()["match"].toString(), "all");
    std::map<std::string, QJsonObject> engines;
    for (const QJsonValue& e : json["engines"].toArray())
        engines[e.toObject()["engine"].toString().toStdString()] = e.toObject();
    ASSERT_EQ(engines.size(), 3u) << run.out;
    EXPECT_FALSE(engines["Excite"]["blocked"].toBool());
    EXPECT_TRUE(engines["Excite"]["reason"].isNull());
    EXPECT_EQ(engines["Bing"]["links"].toInt(), 15);
    EXPECT_EQ(engines["Bing"]["claimed"].toInt(), 30);
    EXPECT_TRUE(engines["Brave"]["blocked"].toBool());
    EXPECT_EQ(engines["Brave"]["reason"].toString(), "HTTP 429");

    const Finished unknown = runOrvalen(batch({ "--primary", "fox", "--engines", "altavista,nosuch", "--search" }));
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("'nosuch'"), std::string::npos) << unknown.err;
}

// Each fault of a file is told with the file, the line and the reason.
TEST_F(BatchRunTest, DamagedFilesAreToldByFileLineAndReason)
{
    Lines lying = writeResultsFile({ { "solar" }, {}, {} }, {}, { "http://a.example" });
    lying[lying.size() - 3] = "2";
    SaveLines(folder.file("out/lying.rst"), lying);
    SaveLines(folder.file("out/bad.rst"), { "Primary", "" });
    for (const auto& [file, says] : { std::pair { "lying.rst", "lying.rst line 11: the ApprovedUrl count 2 is more" },
             std::pair { "bad.rst", "bad.rst line 2: '' is not a valid integer value" } }) {
        const Finished run = runOrvalen(batch({ "--open", out(file), "--save", out("never.rst") }));
        EXPECT_EQ(run.exitCode, 1) << file;
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
        EXPECT_FALSE(FileExists(folder.file("out/never.rst"))) << file;
    }
    folder.write("search.txt", "true\r\ntrue\r\n");
    const Finished shortOptions = runOrvalen(batch({ "--open", out("lying.rst") }));
    EXPECT_NE(shortOptions.err.find("search.txt: line 3 is missing; the file has 2 of its 24 lines"), std::string::npos)
        << shortOptions.err;
}

// A loopback site: /cut promises 1000 bytes and sends 11, any other page
// comes without Content-Length and never ends.
class TwoPageSite : public QTcpServer
{
public:
    TwoPageSite()
    {
        EXPECT_TRUE(listen(QHostAddress::LocalHost, 0));
        QObject::connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                if (!socket->peek(4096).contains("\r\n\r\n"))
                    return;
                const bool cut = socket->readAll().startsWith("GET /cut");
                socket->write(cut ? "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n<html>solar"
                                  : "HTTP/1.0 200 OK\r\n\r\n<html><title>solar</title>solar wind");
                if (cut)
                    socket->disconnectFromHost();
            });
        });
    }
    std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(serverPort()) + path; }
};

// A killed run's folder goes with the next run, a living run's stays; a page
// cut short by SIGTERM is not judged, and an Error says why in every output.
TEST_F(BatchRunTest, SignalsLeaveNoJudgedFragmentAndNoFolderOfADeadRun)
{
    writeOptions(60); // only a signal ends the endless page
    TwoPageSite site;
    folder.write("urls.txt", site.url("/cut") + "\n" + site.url("/endless") + "\n");
    const QString data = QString::fromStdString(folder.file("data/"));
    // The run folder, other than `known`, whose endless page has begun.
    auto waitForPage = [&](const QString& known) {
        QString running;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (const QString& name : QDir(data).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                    if (name != known && QFile::exists(data + name + "/endless"))
                        running = name;
                return !running.isEmpty();
            },
            60000));
        return running;
    };
    const QStringList retrieve { "--urls", QString::fromStdString(folder.file("urls.txt")), "--retrieve" };
    QString killed;
    runOrvalen(batch(retrieve), [&](QProcess& process, std::string&) {
        killed = waitForPage({});
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    });
    ASSERT_TRUE(!killed.isEmpty() && QDir(data + killed).exists()) << "SIGKILL leaves the folder";

    const Finished run = runOrvalen(batch(retrieve + QStringList { "--save", out("t.rst"), "--csv", out("t.csv") }),
        [&](QProcess& process, std::string&) {
            const QString running = waitForPage(killed);
            EXPECT_EQ(runOrvalen(batch({ "--urls", QString::fromStdString(folder.file("urls.txt")) })).exitCode, 0);
            EXPECT_FALSE(QDir(data + killed).exists()) << "the dead run's folder went";
            EXPECT_TRUE(QDir(data + running).exists()) << "the living run's folder stays";
            ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        });
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const FileRead saved = readResultsFile(LoadLines(folder.file("out/t.rst")));
    ASSERT_EQ(saved.master.size(), 2u);
    EXPECT_EQ(recordStatusChar(saved.master[0]), '3') << "the cut page is an Error";
    EXPECT_EQ(saved.master[1], site.url("/endless") + ",,,,,0,,,,,0")
        << "the interrupted page is neither ticked nor judged";

    const std::string reason = "Connection closed after 11 of 1000 bytes of the document";
    EXPECT_NE(run.err.find("retrieve 1/2 Error " + site.url("/cut") + ": " + reason), std::string::npos) << run.err;
    const auto csv = readCsv(readOut("t.csv"));
    ASSERT_EQ(csv.size(), 3u);
    EXPECT_EQ(csv[0].back() + "|" + csv[1].back() + "|" + csv[2].back(), "reason|" + reason + "|");
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
