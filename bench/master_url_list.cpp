// Offering 100,000 found URLs (a fifth of them letter-case variants of
// others) to the master URL list and rebuilding the results view, next to
// `sort -f -u` on the same URLs, measured in the same run.
#include "app/TForm1.h"
#include "platform/ui/UrlListView.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kUrls = 100000;

// Repeatable URLs in found order: 80,000 distinct addresses, then 20,000
// of them again with some letters raised, shuffled in among the others.
const std::vector<std::string>& foundUrls()
{
    static const std::vector<std::string> urls = [] {
        std::mt19937 rng(1999);
        const char* hosts[] = { "www.", "search.", "home.", "", "members." };
        const char* tlds[] = { ".com", ".org", ".net", ".edu", ".de" };
        std::vector<std::string> out;
        out.reserve(kUrls);
        const int distinct = kUrls * 4 / 5;
        for (int i = 0; i < distinct; ++i) {
            std::string url = "http://";
            url += hosts[rng() % 5];
            const int len = 4 + static_cast<int>(rng() % 10);
            for (int k = 0; k < len; ++k)
                url += static_cast<char>('a' + rng() % 26);
            url += tlds[rng() % 5];
            url += "/page" + std::to_string(i) + (rng() % 3 == 0 ? "/" : ".html");
            out.push_back(std::move(url));
        }
        for (int i = distinct; i < kUrls; ++i) {
            std::string variant = out[rng() % distinct];
            for (size_t k = 7; k < variant.size(); k += 1 + rng() % 4)
                variant[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(variant[k])));
            out.push_back(std::move(variant));
        }
        std::shuffle(out.begin() + distinct / 2, out.end(), rng);
        return out;
    }();
    return urls;
}

struct Window {
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
    Window() { form = std::make_unique<TForm1>(folder.path().toStdString() + "/"); }
    void empty()
    {
        form->masterUrls.clear();
        form->masterDescriptions.clear();
        form->ListView1->clear();
    }
};

void BM_OfferAndRebuild(benchmark::State& state)
{
    Window w;
    w.form->show();
    const auto& urls = foundUrls();
    for (auto _ : state) {
        state.PauseTiming();
        w.empty();
        state.ResumeTiming();
        for (const std::string& url : urls)
            w.form->UpdateMasterUrlList(url);
        w.form->ShowPendingRawCount(); // as a parser does when it returns
        w.form->PopulateListBox();
        QApplication::processEvents();
    }
    state.counters["records"] = w.form->masterUrls.count();
    state.counters["rows"] = w.form->ListView1->count();
}
BENCHMARK(BM_OfferAndRebuild)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_OfferOnly(benchmark::State& state)
{
    Window w;
    w.form->show();
    const auto& urls = foundUrls();
    for (auto _ : state) {
        state.PauseTiming();
        w.empty();
        state.ResumeTiming();
        for (const std::string& url : urls)
            w.form->UpdateMasterUrlList(url);
    }
    state.counters["records"] = w.form->masterUrls.count();
}
BENCHMARK(BM_OfferOnly)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_RebuildOnly(benchmark::State& state)
{
    Window w;
    w.form->show();
    for (const std::string& url : foundUrls())
        w.form->UpdateMasterUrlList(url);
    for (auto _ : state) {
        w.form->PopulateListBox();
        QApplication::processEvents();
    }
    state.counters["rows"] = w.form->ListView1->count();
}
BENCHMARK(BM_RebuildOnly)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The parts of one offer, apart: the sorted insertion alone, the provisional
// rows alone, the counter label alone.
void BM_PartSortedInsert(benchmark::State& state)
{
    for (auto _ : state) {
        orv::UrlList list;
        for (const std::string& url : foundUrls())
            list.add(url + ",,,,,0,,,,,0");
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_PartSortedInsert)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_PartProvisionalRows(benchmark::State& state)
{
    Window w;
    w.form->show();
    for (auto _ : state) {
        state.PauseTiming();
        w.empty();
        state.ResumeTiming();
        for (const std::string& url : foundUrls())
            w.form->ListView1->addRow(url, "UnVerified", false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PartProvisionalRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_PartCounterRepaint(benchmark::State& state)
{
    Window w;
    w.form->show();
    for (auto _ : state) {
        for (int i = 0; i < kUrls; ++i) {
            TForm1::SetLabelText(w.form->lblRawCount, std::to_string(i));
            w.form->lblRawCount->repaint();
        }
    }
}
BENCHMARK(BM_PartCounterRepaint)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

double childCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms
        = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The same URLs, as the parsers offer them (one "/" dropped, "http://" in
// front), one per line, folded and de-duplicated by the system's sort.
void BM_SortFoldUnique(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("urls.txt"));
    {
        std::ofstream out(input.toStdString(), std::ios::binary);
        for (std::string url : foundUrls()) {
            if (!url.empty() && url.back() == '/')
                url.pop_back();
            out << url << ",,,,,0,,,,,0\n";
        }
    }
    qsizetype lines = 0;
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess sort;
        sort.start(QStringLiteral("sort"), { QStringLiteral("-f"), QStringLiteral("-u"), input });
        sort.waitForFinished(-1);
        lines = sort.readAllStandardOutput().count('\n');
    }
    state.counters["records"] = static_cast<double>(lines);
    // The process's own processor time, which the real time above includes.
    state.counters["sort_cpu_ms"] = (childCpuMs() - cpuBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SortFoldUnique)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    orv::bench::BenchProgram program(argc, argv);
    return program.run();
}
