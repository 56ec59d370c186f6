// A retrieval run over 200 pages spread across 50 loopback hosts (127.0.0.2
// to 127.0.0.51, one simulator listening on all of them), each page answered
// after 50 ms, with 1, 4, 16 and 32 requests in flight; and, when it is
// installed, LinkChecker with 10 threads checking the same 200 links, all in
// the same program run so that they share the machine's load.
#include "app/controls/NumberBox.h"
#include "support/BenchSupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

constexpr int kPages = 200;
constexpr int kHosts = 50;
constexpr int kAnswerMs = 50;

struct World {
    orv::bench::Simulator sim;
    std::vector<std::string> urls;
    orv::bench::RetrievalWindow window;

    bool start()
    {
        if (!sim.start({ QStringLiteral("--results-per-engine"), QString::number(kPages), QStringLiteral("--no-faults"),
                QStringLiteral("--hosts"), QString::number(kHosts), QStringLiteral("--log"), QStringLiteral("/dev/null") }))
            return false;
        // The pages in list order go round the hosts, so that consecutive
        // rows ask different hosts, as found pages do.
        for (int i = 0; i < kPages; ++i) {
            char url[96];
            std::snprintf(url, sizeof url, "http://127.0.0.%d:%d/fault/slow/%04d.html?ms=%d", 2 + i % kHosts,
                sim.port(), i, kAnswerMs);
            urls.push_back(url);
        }
        return window.open(urls);
    }
};

World* world = nullptr;

void BM_Retrieval(benchmark::State& state)
{
    world->window.form().spinParallelFetches->setValue(static_cast<int>(state.range(0)));
    world->window.timeRetrievals(state);
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
    return orv::bench::RunOverWorld(argc, argv, world);
}
