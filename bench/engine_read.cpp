// Reading each shipped engine's answer (links, titles, count) with its
// definition, next to `xmllint --html --xpath` asking the same selectors of
// the same page, in the same run. Each page is our own fixture grown to the
// size of a real answer: its results repeated and 200 KB of inline style and
// script, as today's result pages carry.
#include "engines/EngineDefinition.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <fstream>
#include <sstream>
#include <string>

namespace
{

struct PageCase {
    const char* engine;
    const char* fixture;
    const char* resultMarker; // a result's first line starts with this; it is repeated
    const char* peerXpath; // the definition's selectors, flattened for xmllint
    bool xml = false;
};

const PageCase kPages[] = {
    { "DuckDuckGo", "duckduckgo.html",
        "<div class=\"result results_links web-result\"><div class=\"links_main\"><h2 class=\"result__title\"><a "
        "class=\"result__a\" href=\"https://direct",
        "//div[@id=\"links\"]/div[contains(@class,\"web-result\")]//h2/a/@href | "
        "//div[@id=\"links\"]/div[contains(@class,\"web-result\")]//h2/a" },
    { "Bing", "bing.html", "<li class=\"b_algo\">",
        "//ol[@id=\"b_results\"]/li[contains(@class,\"b_algo\")]//h2/a/@href | "
        "//ol[@id=\"b_results\"]/li[contains(@class,\"b_algo\")]//h2/a | //span[@class=\"sb_count\"]" },
    { "Mojeek", "mojeek.html", "<li>",
        "//ul[contains(@class,\"results-standard\")]/li//h2/a/@href | "
        "//ul[contains(@class,\"results-standard\")]/li//h2/a | "
        "//*[starts-with(normalize-space(text()),\"Results \") and contains(text(),\" from \")]" },
    { "Brave", "brave.html", "<div class=\"snippet svelte-1\"",
        "//div[@data-type=\"web\"]//a[starts-with(@href,\"https://\")]/@href | "
        "//div[@data-type=\"web\"]//div[contains(@class,\"title\")]" },
    { "arXiv", "arxiv.xml", "<entry><id>http://arxiv.org/abs/2101.00002",
        "//*[local-name()=\"entry\"]/*[local-name()=\"id\"] | //*[local-name()=\"entry\"]/*[local-name()=\"title\"] | "
        "//*[local-name()=\"totalResults\"]",
        true },
};

constexpr int kResultCopies = 20;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The fixture with its first result repeated and, for HTML, 200 KB of
// style and script before the results.
std::string grownPage(const PageCase& c)
{
    std::string page = readFile(std::string(ORVALEN_SOURCE_DIR) + "/tests/fixtures/engines/" + c.fixture);
    const size_t start = page.find(c.resultMarker);
    const size_t end = page.find('\n', start);
    if (start == std::string::npos || end == std::string::npos)
        return page;
    const std::string result = page.substr(start, end - start + 1);
    std::string copies;
    for (int i = 0; i < kResultCopies; ++i)
        copies += result;
    page.insert(end + 1, copies);
    if (!c.xml) {
        std::string filler = "<style>";
        while (filler.size() < 100 * 1024)
            filler += ".c" + std::to_string(filler.size()) + "{margin:0 auto;color:#333;font:13px arial}\n";
        filler += "</style><script>";
        while (filler.size() < 200 * 1024)
            filler += "var v" + std::to_string(filler.size()) + "=function(a){return a<1?0:a*2};\n";
        filler += "</script>";
        page.insert(page.find("<body>") + 6, filler);
    }
    return page;
}

// Processor time of the finished child processes, in milliseconds.
double childCpuMs()
{
    rusage u {};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

const orv::EngineDefinition& shipped(const std::string& name)
{
    static const orv::DefinedEngines all
        = orv::LoadEngineDefinitions(std::string(ORVALEN_SOURCE_DIR) + "/dist/engines/", "");
    for (const orv::EngineDefinition& d : all.engines)
        if (d.name == name)
            return d;
    std::abort();
}

void BM_DefinitionRead(benchmark::State& state, const PageCase& c)
{
    const orv::EngineDefinition& def = shipped(c.engine);
    const std::string page = grownPage(c);
    const orv::EngineRequest asked = orv::FirstRequest(def, "orvalen");
    size_t links = 0;
    for (auto _ : state) {
        const orv::EngineAnswer a = orv::ReadAnswer(def, 200, "", page, asked.url, asked, 1, "orvalen");
        links = a.links.size();
        benchmark::DoNotOptimize(a.claimed);
    }
    state.counters["links"] = static_cast<double>(links);
    state.counters["page_kb"] = static_cast<double>(page.size()) / 1024.0;
}

void BM_XmllintXpath(benchmark::State& state, const PageCase& c)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("page").toStdString();
    std::ofstream(file, std::ios::binary) << grownPage(c);
    QStringList args;
    if (!c.xml)
        args << "--html";
    args << "--xpath" << c.peerXpath << QString::fromStdString(file);
    qsizetype bytes = 0;
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess xmllint;
        xmllint.start("xmllint", args);
        if (!xmllint.waitForFinished(30000)) {
            state.SkipWithError("xmllint did not run (scripts/deps.sh bench installs libxml2-utils)");
            return;
        }
        bytes = xmllint.readAllStandardOutput().size();
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
    // The processor time of xmllint itself, beside the CPU column of ours.
    state.counters["xmllint_cpu_ms"] = (childCpuMs() - cpuBefore) / static_cast<double>(state.iterations());
}

// What starting xmllint alone costs, to read the figures above beside ours.
void BM_XmllintStartOnly(benchmark::State& state)
{
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess xmllint;
        xmllint.start("xmllint", { "--version" });
        xmllint.waitForFinished(30000);
    }
    state.counters["xmllint_cpu_ms"] = (childCpuMs() - cpuBefore) / static_cast<double>(state.iterations());
}

// JSON answers have no xmllint peer; their reading is timed alone.
void BM_DefinitionReadJson(benchmark::State& state, const char* engine, const char* fixture)
{
    const orv::EngineDefinition& def = shipped(engine);
    const std::string one = readFile(std::string(ORVALEN_SOURCE_DIR) + "/tests/fixtures/engines/" + fixture);
    const orv::EngineRequest asked = orv::FirstRequest(def, "orvalen");
    size_t links = 0;
    for (auto _ : state) {
        const orv::EngineAnswer a = orv::ReadAnswer(def, 200, "", one, asked.url, asked, 1, "orvalen");
        links = a.links.size();
    }
    state.counters["links"] = static_cast<double>(links);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const PageCase& c : kPages) {
        benchmark::RegisterBenchmark((std::string("DefinitionRead/") + c.engine).c_str(), BM_DefinitionRead, c)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("XmllintXpath/") + c.engine).c_str(), BM_XmllintXpath, c)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime()
            ->Iterations(30);
    }
    benchmark::RegisterBenchmark("XmllintStartOnly", BM_XmllintStartOnly)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->Iterations(30);
    for (auto [engine, fixture] : { std::pair { "Wikipedia", "wikipedia.json" },
             std::pair { "Hacker News", "hackernews.json" }, std::pair { "Crossref", "crossref.json" },
             std::pair { "Wiby", "wiby.json" }, std::pair { "SearXNG", "searxng.json" } })
        benchmark::RegisterBenchmark(
            (std::string("DefinitionReadJson/") + engine).c_str(), BM_DefinitionReadJson, engine, fixture)
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
