// A retrieval run over 500 pages of the engine simulator on 127.0.0.1, next
// to one curl process fetching the same 500 URLs one after the other, both
// measured in the same program run so that they share the machine's load.
//
// Each iteration of BM_RetrievalRun clears the ticks and the approved list
// and runs the Retrieve command over all 500 rows: request, page file, page
// scan and the row's outcome. BM_CurlSequential runs one curl process that
// writes each page to a file of its own.
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

#include <cstdio>
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

struct World {
    QTemporaryDir folder;
    QProcess sim;
    int port = 0;
    std::vector<std::string> urls;
    std::unique_ptr<TForm1> form;
    SilentDialogs dialogs;

    bool start()
    {
        if (!folder.isValid())
            return false;
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/enginesim");
        sim.start(program,
            { QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--results-per-engine"),
                QString::number(kSites), QStringLiteral("--no-faults"), QStringLiteral("--log"),
                folder.filePath(QStringLiteral("sim.log")) });
        QByteArray out;
        while (!out.contains('\n') && sim.waitForReadyRead(10000))
            out += sim.readAllStandardOutput();
        const QByteArray prefix = "enginesim ready port ";
        const qsizetype at = out.indexOf(prefix);
        if (at < 0)
            return false;
        port = out.mid(at + prefix.size()).trimmed().toInt();
        for (int i = 0; i < kSites; ++i) {
            char path[64];
            std::snprintf(path, sizeof path, "/site/%04d.html", i);
            urls.push_back("http://127.0.0.1:" + std::to_string(port) + path);
        }

        orv::Dialogs::install(&dialogs);
        const std::string programFolder = folder.path().toStdString() + "/";
        QDir(folder.path()).mkpath(QStringLiteral("data"));
        form = std::make_unique<TForm1>(programFolder);
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

    ~World()
    {
        form.reset();
        orv::Dialogs::install(nullptr);
        if (sim.state() != QProcess::NotRunning) {
            sim.kill();
            sim.waitForFinished(5000);
        }
    }
};

World* world = nullptr;

void BM_RetrievalRun(benchmark::State& state)
{
    TForm1& form = *world->form;
    int verified = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int row = 0; row < form.ListView1->count(); ++row)
            form.ListView1->setChecked(row, false);
        form.approvedUrls.clear();
        form.approvedDescriptions.clear();
        state.ResumeTiming();

        form.butRetrieveClick();

        state.PauseTiming();
        verified = 0;
        for (int row = 0; row < form.ListView1->count(); ++row)
            verified += form.ListView1->status(row) == "Verified";
        state.ResumeTiming();
    }
    if (verified != kSites)
        state.SkipWithError("not every page was verified");
    state.counters["verified"] = verified;
    state.counters["approved"] = form.approvedUrls.count();
    state.counters["per_url"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSites, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_CurlSequential(benchmark::State& state)
{
    QTemporaryDir out;
    QFile config(out.filePath(QStringLiteral("urls.cfg")));
    if (!config.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the curl config");
        return;
    }
    for (int i = 0; i < kSites; ++i) {
        const std::string line = "url = \"" + world->urls[static_cast<size_t>(i)] + "\"\noutput = \""
            + out.path().toStdString() + "/" + std::to_string(i) + ".html\"\n";
        config.write(line.data(), static_cast<qint64>(line.size()));
    }
    config.close();
    for (auto _ : state) {
        QProcess curl;
        curl.start(QStringLiteral("curl"), { QStringLiteral("-s"), QStringLiteral("-K"), config.fileName() });
        if (!curl.waitForFinished(120000) || curl.exitCode() != 0) {
            state.SkipWithError("curl failed");
            return;
        }
    }
    state.counters["per_url"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSites, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_RetrievalRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CurlSequential)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    World w;
    if (!w.start()) {
        std::fprintf(stderr, "could not start the simulator or fill the list\n");
        return 1;
    }
    world = &w;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    world = nullptr;
    return 0;
}
