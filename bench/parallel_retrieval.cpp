// A retrieval run over 200 pages spread across 50 loopback hosts (127.0.0.2
// to 127.0.0.51, one simulator listening on all of them), each page answered
// after 50 ms, with 1, 4, 16 and 32 requests in flight; and, when it is
// installed, LinkChecker with 10 threads checking the same 200 links, all in
// the same program run so that they share the machine's load.
#include "app/TForm1.h"
#include "app/controls/NumberBox.h"
#include "platform/Dialogs.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr int kPages = 200;
constexpr int kHosts = 50;
constexpr int kAnswerMs = 50;

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
                QString::number(kPages), QStringLiteral("--no-faults"), QStringLiteral("--hosts"),
                QString::number(kHosts), QStringLiteral("--log"), folder.filePath(QStringLiteral("sim.log")) });
        QByteArray out;
        while (!out.contains('\n') && sim.waitForReadyRead(10000))
            out += sim.readAllStandardOutput();
        const QByteArray prefix = "enginesim ready port ";
        const qsizetype at = out.indexOf(prefix);
        if (at < 0)
            return false;
        const int port = out.mid(at + prefix.size()).trimmed().toInt();
        // The pages in list order go round the hosts, so that consecutive
        // rows ask different hosts, as found pages do.
        for (int i = 0; i < kPages; ++i) {
            char url[96];
            std::snprintf(
                url, sizeof url, "http://127.0.0.%d:%d/fault/slow/%04d.html?ms=%d", 2 + i % kHosts, port, i, kAnswerMs);
            urls.push_back(url);
        }

        orv::Dialogs::install(&dialogs);
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
        return form->ListView1->count() == kPages;
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

void BM_Retrieval(benchmark::State& state)
{
    TForm1& form = *world->form;
    form.spinParallelFetches->setValue(static_cast<int>(state.range(0)));
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
    if (verified != kPages)
        state.SkipWithError("not every page was verified");
    state.counters["verified"] = verified;
    state.counters["approved"] = form.approvedUrls.count();
}

void BM_LinkChecker10Threads(benchmark::State& state)
{
    const QString linkchecker = QStandardPaths::findExecutable(QStringLiteral("linkchecker"));
    if (linkchecker.isEmpty()) {
        state.SkipWithError("linkchecker is not installed (scripts/deps.sh bench)");
        return;
    }
    QTemporaryDir home; // its settings and cookies stay out of the user's home
    QStringList args = { QStringLiteral("--threads=10"), QStringLiteral("--recursion-level=0"),
        QStringLiteral("--no-status"), QStringLiteral("--output=none") };
    for (const auto& url : world->urls)
        args << QString::fromStdString(url);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    for (auto _ : state) {
        QProcess checker;
        checker.setProcessEnvironment(env);
        checker.start(linkchecker, args);
        if (!checker.waitForFinished(300000)) {
            state.SkipWithError("linkchecker did not finish");
            return;
        }
        // 0: every link valid; 1: some link invalid, which would not compare.
        if (checker.exitCode() != 0) {
            state.SkipWithError(
                ("linkchecker reported errors: " + checker.readAllStandardError().toStdString()).c_str());
            return;
        }
    }
}

BENCHMARK(BM_Retrieval)->Arg(1)->Arg(4)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LinkChecker10Threads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

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
