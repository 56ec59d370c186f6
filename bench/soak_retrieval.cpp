// A long retrieval run watched for growth: 10,000 URLs over the engine
// simulator on 127.0.0.1, every tenth of them on a fault path (slow, timed
// out, reset, 404, redirect, empty, cut off). It reports resident memory and
// open descriptors before the run, after the first 1,000 URLs and at the end,
// and the files left in data/.
//
// Targets: memory grows by less than 20 MB over the last 9,000 URLs,
// descriptors end at their count before the run, data/ ends empty.
#include "app/controls/EditBox.h"
#include "platform/ui/UrlListView.h"
#include "support/BenchSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace
{

constexpr int kUrls = 10000;
constexpr int kFirst = 1000;

// Resident set size of this process in MB.
double residentMB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 20, '\n');
    }
    return -1;
}

int openDescriptors()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// The path of URL i. Every tenth URL takes a fault path; the faults cycle
// through this pattern of twenty. A slow site answers after 200 ms, inside
// the time-out; a timed-out one would answer after 5 s.
std::string soakPath(int i)
{
    static const std::array<const char*, 20> kFaults
        = { "slow", "reset", "404", "redirect", "empty", "cut", "slow", "reset", "404", "redirect", "empty", "cut",
              "slow", "reset", "404", "redirect", "empty", "cut", "cut", "timeout" };
    char number[8];
    std::snprintf(number, sizeof number, "%04d", i);
    if (i % 10 != 9)
        return std::string("/site/") + number + ".html";
    const std::string kind = kFaults[static_cast<size_t>((i / 10) % 20)];
    if (kind == "slow")
        return "/fault/slow/" + std::string(number) + ".html?ms=200";
    if (kind == "timeout")
        return "/fault/slow/" + std::string(number) + ".html?ms=5000";
    return "/fault/" + kind + "/" + number + ".html";
}

struct World {
    orv::bench::Simulator sim;
    orv::bench::RetrievalWindow window;

    bool start()
    {
        // 3,334 results per engine make a corpus of 10,002 sites.
        if (!sim.start({ QStringLiteral("--results-per-engine"), QStringLiteral("3334"), QStringLiteral("--log"),
                QStringLiteral("/dev/null") }))
            return false;
        std::vector<std::string> urls;
        for (int i = 0; i < kUrls; ++i)
            urls.push_back(sim.origin() + soakPath(i));
        if (!window.open(urls))
            return false;
        window.form().edMaxSeconds->setText(QStringLiteral("0"));
        // The run as a new user's folder makes it: HTTP/1.1 connections on.
        window.form().chkHttp11->setChecked(true);
        return true;
    }
};

World* world = nullptr;

void BM_SoakRetrieval(benchmark::State& state)
{
    TForm1& form = world->window.form();
    double rssStart = 0, rssFirst = 0, rssEnd = 0;
    int fdsStart = 0, fdsFirst = 0, fdsEnd = 0, firstAt = -1, dataLeft = 0;
    std::map<std::string, int> outcomes;
    for (auto _ : state) {
        rssStart = residentMB();
        fdsStart = openDescriptors();
        // Looks in from inside the run, between requests as they wait.
        QTimer probe;
        probe.setInterval(20);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (firstAt < 0 && form.run.currentUrlIndex >= kFirst) {
                firstAt = form.run.currentUrlIndex;
                rssFirst = residentMB();
                fdsFirst = openDescriptors();
            }
        });
        probe.start();
        form.butRetrieveClick();
        probe.stop();
        rssEnd = residentMB();
        fdsEnd = openDescriptors();
    }
    for (int row = 0; row < form.ListView1->count(); ++row)
        ++outcomes[form.ListView1->status(row)];
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(world->window.dataFolder()))
        ++dataLeft;

    state.counters["rss_start_MB"] = rssStart;
    state.counters["rss_1000_MB"] = rssFirst;
    state.counters["rss_end_MB"] = rssEnd;
    state.counters["rss_growth_MB"] = rssEnd - rssFirst;
    state.counters["fds_start"] = fdsStart;
    state.counters["fds_1000"] = fdsFirst;
    state.counters["fds_end"] = fdsEnd;
    state.counters["data_left"] = dataLeft;
    state.counters["probe_at"] = firstAt;
    for (const auto& [status, n] : outcomes)
        std::fprintf(stderr, "soak: %-16s %d\n", status.c_str(), n);
    std::fprintf(stderr,
        "soak: RSS %.1f MB at start, %.1f MB after %d URLs, %.1f MB at the end (growth %.1f MB, target < 20)\n"
        "soak: descriptors %d at start, %d after %d URLs, %d at the end (target: back to %d)\n"
        "soak: files left in data/: %d (target 0)\n",
        rssStart, rssFirst, firstAt, rssEnd, rssEnd - rssFirst, fdsStart, fdsFirst, firstAt, fdsEnd, fdsStart,
        dataLeft);
}

BENCHMARK(BM_SoakRetrieval)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return orv::bench::RunOverWorld(argc, argv, world);
}
