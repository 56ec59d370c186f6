// A retrieval run over 500 pages of the engine simulator on 127.0.0.1, next
// to one curl process fetching the same 500 URLs one after the other, both
// measured in the same program run so that they share the machine's load.
//
// Each iteration of BM_RetrievalRun clears the ticks and the approved list
// and runs the Retrieve command over all 500 rows: request, page file, page
// scan and the row's outcome. BM_CurlSequential runs one curl process that
// writes each page to a file of its own.
#include "support/BenchSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

constexpr int kSites = 500;

struct World {
    orv::bench::Simulator sim;
    std::vector<std::string> urls;
    orv::bench::RetrievalWindow window;

    bool start()
    {
        if (!sim.start({ QStringLiteral("--results-per-engine"), QString::number(kSites), QStringLiteral("--no-faults"),
                QStringLiteral("--log"), QStringLiteral("/dev/null") }))
            return false;
        for (int i = 0; i < kSites; ++i) {
            char path[64];
            std::snprintf(path, sizeof path, "/site/%04d.html", i);
            urls.push_back(sim.origin() + path);
        }
        return window.open(urls);
    }
};

World* world = nullptr;

void BM_RetrievalRun(benchmark::State& state)
{
    world->window.timeRetrievals(state);
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
    return orv::bench::RunOverWorld(argc, argv, world);
}
