#include "batch/ui/BatchRun.h"

#include "app/HandlerGuard.h"
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "app/controls/PageControl.h"
#include "batch/BatchProgress.h"
#include "batch/RunFolders.h"
#include "batch/ui/BatchDialogs.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "platform/FileNames.h"
#include "platform/ui/UrlListView.h"
#include "search/EngineHosts.h"
#include "search/UrlsFile.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/ioctl.h>
#include <unistd.h>

namespace orv
{

namespace
{

// Ctrl-C (and a timer's SIGTERM) are turned into a byte on a pipe, which the
// event loop reads; the handler itself does nothing else. A second signal
// ends the program the usual way.
int interruptPipe[2] = { -1, -1 };

extern "C" void onInterrupt(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
    std::signal(signal, SIG_DFL);
}

class InterruptWatch
{
public:
    explicit InterruptWatch(std::function<void()> onInterrupt_)
    {
        if (::pipe(interruptPipe) != 0)
            return;
        notifier_ = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(
            notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this, callback = std::move(onInterrupt_)] {
                char byte = 0;
                [[maybe_unused]] const ssize_t got = ::read(interruptPipe[0], &byte, 1);
                if (interrupted)
                    return;
                interrupted = true;
                callback();
            });
        std::signal(SIGINT, onInterrupt);
        std::signal(SIGTERM, onInterrupt);
    }
    ~InterruptWatch()
    {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        notifier_.reset();
        for (int& fd : interruptPipe) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool interrupted = false;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

// Writes the runs' progress to standard error: plain lines into a file or
// a pipe, one line redrawn in place on a terminal.
class ProgressPrinter final : public RunObserver
{
public:
    explicit ProgressPrinter(const TForm1& form)
        : form_(form)
        , live_(::isatty(STDERR_FILENO) == 1)
    {
    }

    void enginePageDone(Engine engine, int links, int masterCount) override
    {
        const int page = ++pages_[engine];
        put(enginePageLine(engineCaption(engine), page, links, masterCount));
    }

    void definedEngineDone(const std::string& name, int pages, int links, int masterCount) override
    {
        put(enginePageLine(name, pages, links, masterCount));
    }

    // Rows fetched in parallel end out of order, so the live line counts the
    // rows that ended rather than showing a row's number.
    void urlStarted(int, int total, const std::string& url) override
    {
        if (live_)
            put(liveProgressLine("retrieve", urlsDone_, total, form_.approvedUrls.count(), url, columns() - 1));
    }

    void urlDone(int index, int total, const std::string& url, const std::string& statusText, bool skipped) override
    {
        ++urlsDone_;
        const std::string reason = skipped ? std::string() : reasonOf(index);
        if (!live_) {
            put(urlProgressLine(index, total, skipped ? "skipped" : statusText, url, reason));
            return;
        }
        // A row that failed keeps its line above the live one.
        if (!reason.empty())
            message(urlProgressLine(index, total, statusText, url, reason));
        put(liveProgressLine("retrieve", urlsDone_, total, form_.approvedUrls.count(), url, columns() - 1));
    }

    // Ends the live line, so that what follows starts on a line of its own.
    void finishLine()
    {
        if (live_ && lineOpen_)
            std::fputs("\n", stderr);
        lineOpen_ = false;
    }

    void message(const std::string& text)
    {
        finishLine();
        std::fprintf(stderr, "%s\n", text.c_str());
    }

private:
    std::string reasonOf(int row) const
    {
        return row >= 0 && row < form_.ListView1->count() ? form_.ListView1->reason(row) : std::string();
    }

    void put(const std::string& line)
    {
        if (live_) {
            std::string cut = line;
            if (static_cast<int>(cut.size()) > columns() - 1)
                cut.resize(static_cast<size_t>(std::max(0, columns() - 1)));
            std::fprintf(stderr, "\r%s\x1b[K", cut.c_str());
            lineOpen_ = true;
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        std::fflush(stderr);
    }

    static int columns()
    {
        winsize size {};
        if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 10)
            return size.ws_col;
        return 80;
    }

    const TForm1& form_;
    const bool live_;
    bool lineOpen_ = false;
    int urlsDone_ = 0;
    std::map<Engine, int> pages_;
};

class BatchRun
{
public:
    BatchRun(const BatchOptions& options, TForm1& form, BatchDialogs& dialogs, QTemporaryDir& scratch)
        : options_(options)
        , form_(form)
        , dialogs_(dialogs)
        , scratch_(scratch)
        , progress_(form)
        , interrupt_([this] { interrupt(); })
    {
        form_.runObserver = &progress_;
    }
    ~BatchRun() { form_.runObserver = nullptr; }
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    int run(bool startupFailed)
    {
        // Broken definitions are told first; the other engines still run.
        for (const DefinitionProblem& problem : form_.catalogue.problems())
            progress_.message("orvalen: " + DescribeProblem(problem));
        if (!chooseEngines())
            return 2;
        if (options_.listEngines) {
            listEngines();
            if (!options_.criteriaGiven() && options_.criteriaFile.empty() && options_.resultsFile.empty()
                && options_.urlsFile.empty() && !options_.search && !options_.retrieve && !options_.anyOutput())
                return 0;
        }
        const bool stepsRan = load() && offerUrls() && search(startupFailed) && retrieve();
        // Outputs are written after every step ran, or from what was gathered
        // when the run was interrupted.
        bool outputsWritten = true;
        if (stepsRan || interrupt_.interrupted)
            outputsWritten = writeOutputs();
        printYield();
        return stepsRan && outputsWritten && !interrupt_.interrupted ? 0 : 1;
    }

private:
    void interrupt()
    {
        progress_.message("orvalen: interrupted; writing what was gathered");
        if (form_.butAbort->isEnabled())
            form_.butAbortClick();
    }

    bool interrupted()
    {
        QCoreApplication::processEvents();
        return interrupt_.interrupted;
    }

    // Runs one window command behind the window's own error boundary. A
    // message it shows means it did not do its work.
    template <typename F> bool command(F&& body)
    {
        const int errors = dialogs_.errors;
        const int notices = dialogs_.notices;
        runGuarded(std::forward<F>(body));
        progress_.finishLine();
        dialogs_.nextPath.clear();
        return dialogs_.errors == errors && dialogs_.notices == notices;
    }

    void showTab(QWidget* tab) { form_.Page1->setCurrentWidget(tab); }

    // --engines and --max, for this run only: the boxes are written to the
    // options files only by the Options tab's OK or Apply.
    bool chooseEngines()
    {
        if (!options_.engines.empty()) {
            std::vector<const CatalogueEntry*> chosen;
            for (const std::string& name : options_.engines) {
                const CatalogueEntry* entry = form_.catalogue.find(name);
                if (!entry) {
                    progress_.message("orvalen: no engine is named '" + name + "' (see --list-engines)");
                    return false;
                }
                chosen.push_back(entry);
            }
            for (Engine e : kAllEngines)
                form_.engineCheck(e)->setChecked(false);
            for (auto& controls : form_.definedControls)
                controls.check->setChecked(false);
            for (const CatalogueEntry* entry : chosen) {
                if (entry->drawn)
                    form_.engineCheck(*entry->drawn)->setChecked(true);
                else if (static_cast<size_t>(entry->definition) < form_.definedControls.size())
                    form_.definedControls[static_cast<size_t>(entry->definition)].check->setChecked(true);
            }
        }
        if (options_.maximum) {
            for (Engine e : kAllEngines)
                form_.engineMaxBox(e)->setText(QString::number(*options_.maximum));
            for (auto& controls : form_.definedControls)
                controls.maxBox->setValue(*options_.maximum);
        }
        return true;
    }

    void listEngines()
    {
        const EngineHosts hosts = EngineHosts::load(form_.programFolder());
        for (const CatalogueEntry& entry : form_.catalogue.entries()) {
            std::string line;
            if (entry.drawn) {
                const std::string& host = hosts.host(*entry.drawn);
                line = CatalogueListLine(entry.name, true, form_.engineCheck(*entry.drawn)->isChecked(),
                    StartsWith(host, "https://") ? host : "http://" + host, {});
            } else {
                const EngineDefinition& def = form_.catalogue.definitionOf(entry);
                const std::string origin = hosts.definedOrigin(entry.name);
                const size_t row = static_cast<size_t>(entry.definition);
                const bool asked = row < form_.definedControls.size() && form_.definedControls[row].check->isChecked();
                line = CatalogueListLine(entry.name, false, asked,
                    !origin.empty() ? origin : UrlOrigin(def.firstPageUrl.empty() ? def.searchUrl : def.firstPageUrl),
                    def.file);
            }
            std::printf("%s\n", line.c_str());
        }
        std::fflush(stdout);
    }

    // Criteria from the command line, typed into the "Search Criteria" tab
    // and accepted there.
    bool typeCriteria()
    {
        auto joined = [](const std::vector<std::string>& lines) {
            std::string text;
            for (const std::string& line : lines)
                text += (text.empty() ? "" : "\n") + line;
            return QString::fromStdString(text);
        };
        showTab(form_.TabSheet4);
        form_.memPrimarySearchCriteria->setPlainText(joined(options_.primary));
        form_.memSecondarySearchCriteria->setPlainText(joined(options_.secondary));
        form_.memExclusionCriteria->setPlainText(joined(options_.exclude));
        (options_.allPrimary ? form_.radPrimaryAll : form_.radPrimaryAny)->setChecked(true);
        (options_.allSecondary ? form_.radSecondaryAll : form_.radSecondaryAny)->setChecked(true);
        showTab(form_.TabSheet1);
        return command([this] { form_.butAcceptClick(); });
    }

    bool load()
    {
        if (options_.criteriaGiven())
            return typeCriteria();
        if (!options_.criteriaFile.empty()) {
            // Open in template mode, then Accept, as on the "Search Criteria" tab.
            showTab(form_.TabSheet4);
            dialogs_.nextPath = options_.criteriaFile;
            const bool opened = command([this] { form_.spdOpenClick(); });
            showTab(form_.TabSheet1);
            return opened && command([this] { form_.butAcceptClick(); });
        }
        if (!options_.resultsFile.empty()) {
            showTab(form_.TabSheet1);
            dialogs_.nextPath = options_.resultsFile;
            return command([this] { form_.spdOpenClick(); });
        }
        return true;
    }

    bool offerUrls()
    {
        if (options_.urlsFile.empty())
            return !interrupted();
        return command([this] {
            // A line that is no URL is told and left out; the others go on.
            const UrlsFileRead read = ReadUrlsFile(options_.urlsFile);
            for (const std::string& problem : read.problems)
                progress_.message("orvalen: " + problem);
            for (const std::string& url : read.urls)
                form_.UpdateMasterUrlList(url);
            form_.PopulateListBox();
            if (!form_.masterUrls.empty())
                form_.butRetrieve->setEnabled(true);
        }) && !interrupted();
    }

    bool search(bool startupFailed)
    {
        if (!options_.search)
            return !interrupted();
        if (startupFailed) {
            progress_.message(
                "orvalen: not searching without the engine settings of " + form_.programFolder() + "search.txt");
            return false;
        }
        return command([this] { form_.butSearchClick(); }) && !interrupted();
    }

    bool retrieve()
    {
        if (!options_.retrieve)
            return !interrupted();
        // For this run only: the box is read by the retrieval and written to
        // search.txt only by the Options tab's OK or Apply, which a batch
        // run never presses.
        if (options_.parallel)
            form_.spinParallelFetches->setValue(*options_.parallel);
        if (options_.http11)
            form_.chkHttp11->setChecked(*options_.http11);
        if (options_.matchOn)
            form_.cboMatchOn->setCurrentIndex(*options_.matchOn == MatchOn::PageText ? 0 : 1);
        return command([this] { form_.butRetrieveClick(); }) && !interrupted();
    }

    // Writes one output through its window command; "-" goes through a
    // scratch file to standard output.
    template <typename F> bool output(const std::string& path, F&& windowCommand)
    {
        if (path.empty())
            return true;
        const bool toStandardOutput = path == "-";
        const std::string target
            = toStandardOutput ? pathFromQ(scratch_.filePath(QStringLiteral("standard-output"))) : path;
        dialogs_.nextPath = target;
        if (!command(std::forward<F>(windowCommand)))
            return false;
        if (!toStandardOutput)
            return true;
        return command([&target] {
            const std::string bytes = LoadFileBytes(target);
            if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
                throw Exception(std::string("cannot write to standard output: ") + std::strerror(errno));
        });
    }

    bool writeOutputs()
    {
        bool ok = true;
        ok = output(options_.save, [this] {
            showTab(form_.TabSheet1);
            form_.spdSaveClick();
        }) && ok;
        ok = output(options_.html, [this] { form_.mnuFileExportHtmlClick(); }) && ok;
        ok = output(options_.text, [this] { form_.mnuFileExportTextClick(); }) && ok;
        ok = output(options_.csv, [this] { form_.mnuFileExportCsvClick(); }) && ok;
        ok = output(options_.json, [this] { form_.mnuFileExportJsonClick(); }) && ok;
        return ok;
    }

    void printYield()
    {
        progress_.finishLine();
        if (!form_.yield.searched())
            return;
        std::fprintf(stderr, "Engine yield:\n");
        for (const std::string& line : yieldSummaryLines(form_.yield.rows()))
            std::fprintf(stderr, "  %s\n", line.c_str());
        std::fprintf(stderr, "%d URLs, %d approved\n", form_.masterUrls.count(), form_.approvedUrls.count());
    }

    const BatchOptions& options_;
    TForm1& form_;
    BatchDialogs& dialogs_;
    QTemporaryDir& scratch_;
    ProgressPrinter progress_;
    InterruptWatch interrupt_;
};

// A folder of the batch run's own for downloaded pages, so that a window or
// another batch run on the same program folder never meets its files.
std::unique_ptr<QTemporaryDir> makeScratchFolder(const std::string& programFolder)
{
    auto inData = std::make_unique<QTemporaryDir>(pathToQ(programFolder + "data/batch-XXXXXX"));
    if (inData->isValid())
        return inData;
    return std::make_unique<QTemporaryDir>();
}

} // namespace

int runBatch(const BatchOptions& options, const std::string& programFolder)
{
    BatchDialogs dialogs;
    Dialogs& previous = Dialogs::current();
    Dialogs::install(&dialogs);
    int rc = 1;
    const auto scratch = makeScratchFolder(programFolder);
    if (!scratch->isValid()) {
        std::fprintf(stderr, "orvalen: cannot create a folder for downloaded pages\n");
    } else {
        // This run's folder is held for as long as the run lives; folders of
        // runs that no longer live (killed, or ended by a second signal) go.
        const RunFolderLock lock(pathFromQ(scratch->path()));
        RemoveLeftoverRunFolders(programFolder + "data/", pathFromQ(scratch->path()));
        TForm1 form(programFolder);
        // An options file the window could not read is reported as it is
        // created; only a search needs it.
        const bool startupFailed = dialogs.errors > 0;
        form.setDataFolder(pathFromQ(scratch->path()) + "/");
        BatchRun batch(options, form, dialogs, *scratch);
        rc = batch.run(startupFailed);
    }
    Dialogs::install(&previous);
    return rc;
}

} // namespace orv
