// A retrieval run over 500 pages of the engine simulator on 127.0.0.1 over
// https, next to the same 500 pages over http, in the same program run so
// that both share the machine's load. The simulator serves both from one
// process; its certificate authority is the only one the program trusts.
//
// Each iteration clears the ticks and the approved list and runs the
// Retrieve command over all 500 rows: connection (and, over https, the TLS
// handshake and the certificate check), request, page file, page scan and
// the row's outcome.
#include "app/TForm1.h"
#include "platform/Dialogs.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr int kSites = 500;

// Answers every box without showing anything.
class SilentDialogs final : public orv::Dialogs
{
public:
    void notice(const std::string&) override { }
    bool confirm(const std::string&) override { return true; }
    void error(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> openFile(const orv::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const orv::FileDialogRequest&) override { return std::nullopt; }
    bool print() override { return false; }
    bool printSetup() override { return false; }
};

// A program folder and its window, with the master list set to `urls`.
struct Program {
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;

    bool start(const std::vector<std::string>& urls)
    {
        if (!folder.isValid())
            return false;
        QDir(folder.path()).mkpath(QStringLiteral("data"));
        form = std::make_unique<TForm1>(folder.path().toStdString() + "/");
        form->memPrimarySearchCriteria->setPlainText(QStringLiteral("solar\nharbour"));
        form->memSecondarySearchCriteria->setPlainText(QStringLiteral("</html>"));
        form->memExclusionCriteria->setPlainText(QStringLiteral("bicycle"));
        form->LoadTheLists();
        for (const auto& url : urls) {
            form->masterUrls.add(orv::makeMasterRecord(url));
            form->masterDescriptions.emplace_back("No Description");
        }
        form->PopulateListBox();
        return form->ListView1->count() == kSites;
    }
};

struct World {
    QTemporaryDir folder;
    QProcess sim;
    Program plain, secure;
    SilentDialogs dialogs;

    bool start()
    {
        if (!folder.isValid())
            return false;
        const QString caFile = folder.filePath(QStringLiteral("ca.pem"));
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/enginesim");
        sim.start(program,
            { QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--tls-port"), QStringLiteral("0"),
                QStringLiteral("--tls-ca"), caFile, QStringLiteral("--results-per-engine"), QString::number(kSites),
                QStringLiteral("--no-faults"), QStringLiteral("--log"), folder.filePath(QStringLiteral("sim.log")) });
        QByteArray out;
        while (out.count('\n') < 2 && sim.waitForReadyRead(10000))
            out += sim.readAllStandardOutput();
        const int port = portAfter(out, "enginesim ready port ");
        const int tlsPort = portAfter(out, "enginesim tls port ");
        if (port <= 0 || tlsPort <= 0)
            return false;
        // Only the simulator's authority is trusted, and it is read before
        // the first TLS session starts.
        ::setenv("SSL_CERT_FILE", caFile.toLocal8Bit().constData(), 1);
        ::setenv("SSL_CERT_DIR", folder.path().toLocal8Bit().constData(), 1);

        std::vector<std::string> http, https;
        for (int i = 0; i < kSites; ++i) {
            char path[64];
            std::snprintf(path, sizeof path, "/site/%04d.html", i);
            http.push_back("http://127.0.0.1:" + std::to_string(port) + path);
            https.push_back("https://127.0.0.1:" + std::to_string(tlsPort) + path);
        }
        orv::Dialogs::install(&dialogs);
        return plain.start(http) && secure.start(https);
    }

    static int portAfter(const QByteArray& out, const QByteArray& prefix)
    {
        const qsizetype at = out.indexOf(prefix);
        return at < 0 ? 0 : out.mid(at + prefix.size()).split('\n').front().trimmed().toInt();
    }

    ~World()
    {
        plain.form.reset();
        secure.form.reset();
        orv::Dialogs::install(nullptr);
        if (sim.state() != QProcess::NotRunning) {
            sim.kill();
            sim.waitForFinished(5000);
        }
    }
};

World* world = nullptr;
double httpSecondsPerRun = 0;

// Runs Retrieve over every row of `form`; the seconds per run.
double retrieve(benchmark::State& state, TForm1& form)
{
    int verified = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int row = 0; row < form.ListView1->count(); ++row)
            form.ListView1->setChecked(row, false);
        form.approvedUrls.clear();
        form.approvedDescriptions.clear();
        state.ResumeTiming();

        const auto t0 = std::chrono::steady_clock::now();
        form.butRetrieveClick();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

        state.PauseTiming();
        verified = 0;
        for (int row = 0; row < form.ListView1->count(); ++row)
            verified += form.ListView1->status(row) == "Verified";
        state.ResumeTiming();
    }
    if (verified != kSites)
        state.SkipWithError("not every page was verified");
    state.counters["verified"] = verified;
    state.counters["per_url"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSites, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    return seconds / static_cast<double>(state.iterations());
}

void BM_RetrievalHttp(benchmark::State& state)
{
    httpSecondsPerRun = retrieve(state, *world->plain.form);
}

void BM_RetrievalHttps(benchmark::State& state)
{
    const double perRun = retrieve(state, *world->secure.form);
    if (httpSecondsPerRun > 0)
        state.counters["x_http"] = perRun / httpSecondsPerRun;
}

BENCHMARK(BM_RetrievalHttp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RetrievalHttps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    World w;
    if (!w.start()) {
        std::fprintf(stderr, "could not start the simulator or fill the lists\n");
        return 1;
    }
    world = &w;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    world = nullptr;
    return 0;
}
