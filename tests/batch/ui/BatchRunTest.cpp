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

#include <csignal>
#include <filesystem>
#include <map>

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

} // namespace
} // namespace orv::test
