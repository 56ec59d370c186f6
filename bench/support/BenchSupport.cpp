#include "support/BenchSupport.h"

#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace orv::bench
{

void SilentDialogs::notice(const std::string& text)
{
    std::fprintf(stderr, "notice: %s\n", text.c_str());
}

void SilentDialogs::error(const std::string& text)
{
    std::fprintf(stderr, "error: %s\n", text.c_str());
}

Simulator::~Simulator()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool Simulator::start(const QStringList& args)
{
    process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/enginesim"),
        QStringList { QStringLiteral("--port"), QStringLiteral("0") } + args);
    // The ready line, then with TLS the line that names the TLS port.
    const bool tls = args.contains(QStringLiteral("--tls-port"));
    const QDeadlineTimer deadline(10000);
    QByteArray out;
    while (out.count('\n') < (tls ? 2 : 1) && !deadline.hasExpired() && process_.state() != QProcess::NotRunning)
        if (process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            out += process_.readAllStandardOutput();
    const auto portAfter = [&out](const QByteArray& prefix) {
        const qsizetype at = out.indexOf(prefix);
        return at < 0 ? 0 : out.mid(at + prefix.size()).split('\n').front().trimmed().toInt();
    };
    port_ = portAfter("enginesim ready port ");
    tlsPort_ = tls ? portAfter("enginesim tls port ") : 0;
    return port_ > 0 && (!tls || tlsPort_ > 0);
}

std::string Simulator::origin() const
{
    return "http://127.0.0.1:" + std::to_string(port_);
}

RetrievalWindow::~RetrievalWindow() = default;

bool RetrievalWindow::open(const std::vector<std::string>& urls)
{
    if (!folder_.isValid())
        return false;
    // Installed for good: it outlives every window, and a second window
    // does not take it away from the first.
    static SilentDialogs dialogs;
    Dialogs::install(&dialogs);
    QDir(folder_.path()).mkpath(QStringLiteral("data"));
    form_ = std::make_unique<TForm1>(folder_.path().toStdString() + "/");
    form_->memPrimarySearchCriteria->setPlainText(QStringLiteral("solar\nharbour"));
    form_->memSecondarySearchCriteria->setPlainText(QStringLiteral("</html>"));
    form_->memExclusionCriteria->setPlainText(QStringLiteral("bicycle"));
    form_->LoadTheLists();
    for (const auto& url : urls) {
        form_->masterUrls.add(makeMasterRecord(url));
        form_->masterDescriptions.emplace_back("No Description");
    }
    form_->PopulateListBox();
    return form_->ListView1->count() == static_cast<int>(urls.size());
}

double RetrievalWindow::timeRetrievals(benchmark::State& state)
{
    TForm1& form = *form_;
    const int rows = form.ListView1->count();
    int verified = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int row = 0; row < rows; ++row)
            form.ListView1->setChecked(row, false);
        form.approvedUrls.clear();
        form.approvedDescriptions.clear();
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        form.butRetrieveClick();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        state.PauseTiming();
        verified = 0;
        for (int row = 0; row < rows; ++row)
            verified += form.ListView1->status(row) == "Verified";
        state.ResumeTiming();
    }
    if (verified != rows)
        state.SkipWithError("not every page was verified");
    state.counters["verified"] = verified;
    state.counters["approved"] = form.approvedUrls.count();
    state.counters["per_url"] = benchmark::Counter(static_cast<double>(state.iterations()) * rows,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    return seconds / static_cast<double>(state.iterations());
}

namespace
{

QApplication* makeApplication(int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
}

} // namespace

BenchProgram::BenchProgram(int& argc, char** argv)
    : app_(makeApplication(argc, argv))
{
    benchmark::Initialize(&argc, argv);
}

BenchProgram::~BenchProgram() = default;

int BenchProgram::run()
{
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

int BenchProgram::setUpFailed()
{
    std::fprintf(stderr, "could not start the simulator or fill the list\n");
    return 1;
}

} // namespace orv::bench
