// A whole search run of all ten engines at maximum 200 against the engine
// simulator on 127.0.0.1: the time of a run and the time per request.
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "core/Lines.h"
#include "platform/Dialogs.h"
#include "platform/Latin1.h"
#include "search/Engines.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace
{

// Dialogs that answer nothing: a benchmark run shows no boxes.
class SilentDialogs final : public orv::Dialogs
{
public:
    void notice(const std::string& text) override { std::fprintf(stderr, "notice: %s\n", text.c_str()); }
    bool confirm(const std::string&) override { return true; }
    void error(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> openFile(const orv::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const orv::FileDialogRequest&) override { return std::nullopt; }
    bool print() override { return false; }
    bool printSetup() override { return false; }
};

// Starts the simulator beside this program; its port, or 0 when it did not start.
int startSimulator(QProcess& sim, const QString& logPath, const std::string& enginesFile)
{
    sim.start(QCoreApplication::applicationDirPath() + "/enginesim",
        { "--port", "0", "--results-per-engine", "400", "--log", logPath, "--write-engines",
            QString::fromStdString(enginesFile) });
    const QDeadlineTimer deadline(10000);
    QByteArray out;
    while (!out.contains('\n') && !deadline.hasExpired() && sim.state() != QProcess::NotRunning)
        if (sim.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            out += sim.readAllStandardOutput();
    const qsizetype at = out.lastIndexOf(' ');
    return at < 0 ? 0 : out.mid(at + 1).trimmed().toInt();
}

long countRequests(const QString& logPath)
{
    std::ifstream log(logPath.toStdString());
    long requests = 0;
    for (std::string line; std::getline(log, line);)
        if (!line.empty() && line[0] != ' ' && line.rfind("conn ", 0) != 0)
            ++requests;
    return requests;
}

void BM_SearchRunAllEnginesMax200(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    for (const char* sub : { "data", "Reports", "Templates" })
        std::filesystem::create_directories(folder + sub);
    const QString logPath = dir.filePath("requests.log");
    QProcess sim;
    if (startSimulator(sim, logPath, folder + "engines.txt") == 0) {
        state.SkipWithError("enginesim did not start");
        return;
    }
    SilentDialogs dialogs;
    orv::Dialogs::install(&dialogs);
    {
        TForm1 form(folder);
        form.memPrimarySearchCriteria->setPlainText("solar wind");
        form.criteria = orv::BuildWordLists("solar wind", "", "");
        for (orv::Engine e : orv::kAllEngines) {
            form.engineCheck(e)->setChecked(true);
            form.engineMaxBox(e)->setText("200");
        }
        form.edMaxSeconds->setText("30");
        int urls = 0;
        for (auto _ : state) {
            form.butSearchClick();
            urls = form.masterUrls.count();
        }
        const long requests = countRequests(logPath);
        state.counters["requests_per_run"] = static_cast<double>(requests) / static_cast<double>(state.iterations());
        state.counters["time_per_request"] = benchmark::Counter(
            static_cast<double>(requests), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["master_urls"] = urls;
    }
    orv::Dialogs::install(nullptr);
    sim.terminate();
    sim.waitForFinished(5000);
}
BENCHMARK(BM_SearchRunAllEnginesMax200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
