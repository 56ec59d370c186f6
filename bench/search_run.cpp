// A whole search run of all ten engines at maximum 200 against the engine
// simulator on 127.0.0.1: the time of a run and the time per request.
#include "app/controls/EditBox.h"
#include "core/Lines.h"
#include "platform/WidgetText.h"
#include "search/Engines.h"
#include "support/BenchSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{

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
    orv::bench::Simulator sim;
    if (!sim.start({ "--results-per-engine", "400", "--log", logPath, "--write-engines",
            QString::fromStdString(folder + "engines.txt") })) {
        state.SkipWithError("enginesim did not start");
        return;
    }
    orv::bench::SilentDialogs dialogs;
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
}
BENCHMARK(BM_SearchRunAllEnginesMax200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    orv::bench::BenchProgram program(argc, argv);
    return program.run();
}
