// Writing and reading a results file of 100,000 master records, and laying
// out their printout: a saved search of that size must save and open in well
// under a second.
#include "files/ResultsFile.h"
#include "files/Printout.h"

#include <benchmark/benchmark.h>

namespace
{

std::vector<orv::MasterRowState> masterRows(int n)
{
    std::vector<orv::MasterRowState> rows;
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        rows.push_back({ "http://site" + std::to_string(i) + ".example/path/page.html,,,,,0,,,,,0", i % 3 == 0,
            i % 2 ? "Verified" : "Not Verified" });
    return rows;
}

void BM_WriteResultsFile(benchmark::State& state)
{
    const auto rows = masterRows(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(orv::writeResultsFile({ { "solar" }, {}, {} }, rows, {}));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadResultsFile(benchmark::State& state)
{
    const orv::Lines file
        = orv::writeResultsFile({ { "solar" }, {}, {} }, masterRows(static_cast<int>(state.range(0))), {});
    for (auto _ : state)
        benchmark::DoNotOptimize(orv::readResultsFile(file));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LayOutPrintout(benchmark::State& state)
{
    orv::Lines master;
    for (const auto& row : masterRows(static_cast<int>(state.range(0))))
        master.push_back(row.record);
    const orv::Lines lines = orv::printoutLines(orv::PrintChoice::Raw, master, {});
    const orv::PageMetrics page { 100, 6000, 4800 };
    const auto width = [](std::string_view text) { return static_cast<int>(text.size()) * 60; };
    for (auto _ : state)
        benchmark::DoNotOptimize(orv::layOutPrintout(lines, page, width));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_WriteResultsFile)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadResultsFile)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOutPrintout)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
