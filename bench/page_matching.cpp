// Judging the same pages both ways: on the text a reader sees (HTML parsed,
// Unicode folding) and on the page source (the drawn line scan), each page
// decoded first; and beside them `grep -c -i -F` over the same files, the
// everyday tool for the page source question. Goal: page text within twice
// the time of page source.
#include "core/Lines.h"
#include "verify/PageJudge.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

constexpr int kPages = 200;

const orv::WordLists& criteria()
{
    static const orv::WordLists lists = [] {
        orv::WordLists w;
        w.primary = { "solar panel", "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", "wind turbine" };
        w.secondary = { "inverter", "grid storage" };
        w.exclusion = { "zebra crossing" };
        return w;
    }();
    return lists;
}

// A page of a documentation site of today: scripts and styles in the head,
// navigation, paragraphs with inline markup, entities, a table, and some
// Greek and Cyrillic text; about 60 KB.
std::string page(int n)
{
    std::string p = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>Manual page "
        + std::to_string(n)
        + " &mdash; Solar Panel guide</title>\n<meta name=\"description\" content=\"How to wire a solar panel &amp; "
          "inverter\">\n<style>body{font-family:sans-serif}.theme-dark{color:#eee}</style>\n"
          "<script>window.theme = localStorage.getItem('theme'); function toggle(){ document.body.classList."
          "toggle('theme-dark'); }</script>\n</head><body>\n<nav class=\"theme-nav\"><ul><li><a href=\"/\">Home</a>"
          "<li><a href=\"/docs\">Docs</a><li><a href=\"/api\">API</a></ul></nav>\n";
    for (int s = 0; s < 60; ++s) {
        p += "<h2 id=\"s" + std::to_string(s) + "\">Section " + std::to_string(s) + "</h2>\n";
        p += "<p class=\"lead\">The <b>process</b>\xE2\x80\x99s output goes to the <a href=\"/grid\">grid</a> "
             "through an inverter; see Box&lt;T&gt; and the\nnotes below. "
             "\xCE\xA9\xCE\x9C\xCE\x88\xCE\x93\xCE\x91 and \xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2 "
             "appear in translated pages, as does caf\xC3\xA9.</p>\n";
        p += "<p>Each array holds the measured values of one day, written as text with a blank between "
             "them and a line break after every twelfth value, so that a reader can follow them.</p>\n";
        p += "<table><tr><td>wind</td><td>turbine</td><td>" + std::to_string(n * s) + "</td></tr></table>\n";
        p += "<pre><code>let x = values.iter().map(|v| v * 2).collect::&lt;Vec&lt;_&gt;&gt;();</code></pre>\n";
        p += "<!-- generated section " + std::to_string(s) + " -->\n";
    }
    p += "<script src=\"/static/app.js\"></script></body></html>\n";
    return p;
}

const std::vector<std::string>& pageFiles()
{
    static const std::vector<std::string> files = [] {
        const std::string folder
            = (std::filesystem::temp_directory_path() / ("orvalen-page-matching-" + std::to_string(::getpid())))
                  .string()
            + "/";
        std::filesystem::create_directories(folder);
        static const struct Cleanup {
            std::string folder;
            ~Cleanup() { std::filesystem::remove_all(folder); }
        } cleanup { folder };
        std::vector<std::string> names;
        for (int i = 0; i < kPages; ++i) {
            names.push_back(folder + "page" + std::to_string(i) + ".html");
            orv::SaveFileBytes(names.back(), page(i));
        }
        return names;
    }();
    return files;
}

int64_t totalBytes()
{
    int64_t total = 0;
    for (const std::string& file : pageFiles())
        total += static_cast<int64_t>(std::filesystem::file_size(file));
    return total;
}

void judgeAll(benchmark::State& state, orv::MatchOn on)
{
    const auto& files = pageFiles();
    int approved = 0;
    for (auto _ : state) {
        approved = 0;
        for (const std::string& file : files) {
            const auto judge = orv::MakePageJudge(criteria(), on, "text/html; charset=utf-8");
            approved += orv::JudgePageFile(file, *judge, {}).approved() ? 1 : 0;
        }
        benchmark::DoNotOptimize(approved);
    }
    state.counters["approved"] = approved;
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

void BM_PageSource(benchmark::State& state)
{
    judgeAll(state, orv::MatchOn::PageSource);
}

void BM_PageText(benchmark::State& state)
{
    judgeAll(state, orv::MatchOn::PageText);
}

// One grep over every page with all six criteria, counting matching lines.
void BM_GrepCountIgnoreCase(benchmark::State& state)
{
    std::string command = "grep -c -i -F";
    const orv::WordLists& w = criteria();
    for (const auto* list : { &w.primary, &w.secondary, &w.exclusion })
        for (const std::string& c : *list)
            command += " -e '" + c + "'";
    for (const std::string& file : pageFiles())
        command += " " + file;
    long lines = 0;
    for (auto _ : state) {
        FILE* out = ::popen(command.c_str(), "r");
        if (!out) {
            state.SkipWithError("grep could not be started");
            return;
        }
        char buffer[4096];
        lines = 0;
        while (std::fgets(buffer, sizeof buffer, out)) {
            const char* colon = std::strrchr(buffer, ':');
            lines += colon ? std::atol(colon + 1) : 0;
        }
        if (::pclose(out) == -1) {
            state.SkipWithError("grep failed");
            return;
        }
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.SetBytesProcessed(state.iterations() * totalBytes());
}

} // namespace

BENCHMARK(BM_PageSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrepCountIgnoreCase)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
