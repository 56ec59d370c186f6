// A long retrieval run watched for growth: 10,000 URLs over the engine
// simulator on 127.0.0.1, every tenth of them on a fault path (slow, timed
// out, reset, 404, redirect, empty, cut off). It reports resident memory and
// open descriptors before the run, after the first 1,000 URLs and at the end,
// and the files left in data/.
//
// Targets: memory grows by less than 20 MB over the last 9,000 URLs,
// descriptors end at their count before the run, data/ ends empty.
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "platform/Dialogs.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr int kUrls = 10000;
constexpr int kFirst = 1000;

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
    QTemporaryDir folder;
    QProcess sim;
    std::unique_ptr<TForm1> form;
    SilentDialogs dialogs;

    bool start()
    {
        if (!folder.isValid())
            return false;
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/enginesim");
        // 3,334 results per engine make a corpus of 10,002 sites.
        sim.start(program,
            { QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--results-per-engine"),
                QStringLiteral("3334"), QStringLiteral("--log"), QStringLiteral("/dev/null") });
        QByteArray out;
        while (!out.contains('\n') && sim.waitForReadyRead(10000))
            out += sim.readAllStandardOutput();
        const QByteArray prefix = "enginesim ready port ";
        const qsizetype at = out.indexOf(prefix);
        if (at < 0)
            return false;
        const std::string host = "http://127.0.0.1:" + out.mid(at + prefix.size()).trimmed().toStdString();

        orv::Dialogs::install(&dialogs);
        QDir(folder.path()).mkpath(QStringLiteral("data"));
        form = std::make_unique<TForm1>(folder.path().toStdString() + "/");
        form->memPrimarySearchCriteria->setPlainText(QStringLiteral("solar\nharbour"));
        form->memSecondarySearchCriteria->setPlainText(QStringLiteral("</html>"));
        form->memExclusionCriteria->setPlainText(QStringLiteral("bicycle"));
        form->LoadTheLists();
        form->edMaxSeconds->setText(QStringLiteral("0"));
        for (int i = 0; i < kUrls; ++i) {
            form->masterUrls.add(orv::makeMasterRecord(host + soakPath(i)));
            form->masterDescriptions.emplace_back("No Description");
        }
        form->PopulateListBox();
        return form->ListView1->count() == kUrls;
    }

    std::string dataFolder() const { return folder.path().toStdString() + "/data"; }

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

void BM_SoakRetrieval(benchmark::State& state)
{
    TForm1& form = *world->form;
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
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(world->dataFolder()))
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
