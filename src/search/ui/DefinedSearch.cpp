// The search of the engines defined as data, after the drawn engines: the
// core run asks them all at once, and what they gave is applied here in
// catalogue order, so that the report and the master list come out the
// same whatever order the answers arrived in.
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "core/Text.h"
#include "net/MessageWindow.h"
#include "parse/ui/TfrmStats.h"
#include "platform/WidgetText.h"
#include "search/DefinedEngineRun.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <map>

using namespace orv;

namespace
{

class WindowDefinedListener final : public DefinedRunListener
{
public:
    WindowDefinedListener(TForm1& form, const std::map<EngineId, std::string>& names)
        : form_(form)
        , names_(names)
    {
    }

    void EngineAsking(EngineId id, const std::string&) override
    {
        form_.SetActivity("Searching " + nameOf(id) + "...");
    }

    void EngineReceiving(EngineId id, long long) override { form_.SetActivity("Receiving " + nameOf(id)); }

private:
    std::string nameOf(EngineId id) const
    {
        const auto found = names_.find(id);
        return found == names_.end() ? std::string() : found->second;
    }

    TForm1& form_;
    const std::map<EngineId, std::string>& names_;
};

// The Primary words as the user typed them, one blank between lines; the
// definitions encode them where they put them.
std::string DefinedQuery(const Lines& primary)
{
    std::string query;
    for (const std::string& line : primary) {
        const std::string words = Trim(line);
        if (words.empty())
            continue;
        query += (query.empty() ? "" : " ") + words;
    }
    return query;
}

} // namespace

void TForm1::SearchDefinedEngines()
{
    // Broken definitions are reported with every search; the others run.
    for (const DefinitionProblem& problem : catalogue.problems())
        frmStats->addReportLine(DescribeProblem(problem));

    std::vector<DefinedJob> jobs;
    std::map<EngineId, std::string> names;
    const std::vector<const CatalogueEntry*> defined = catalogue.definedEntries();
    for (size_t i = 0; i < defined.size() && i < definedControls.size(); ++i) {
        if (!definedControls[i].check->isChecked())
            continue;
        const CatalogueEntry& entry = *defined[i];
        jobs.push_back({ entry.id, &catalogue.definitionOf(entry), engineHosts.definedOrigin(entry.name),
            definedControls[i].maxBox->value() });
        names[entry.id] = entry.name;
        yield.engineAsked(entry.id, entry.name);
    }
    if (jobs.empty() || run.abortFlag)
        return;

    DefinedRunSettings settings;
    settings.parallel = spinParallelFetches->value();
    settings.timeoutSeconds = StrToInt(fromQ(edMaxSeconds->text()));
    settings.query = DefinedQuery(criteria.primary);
    settings.proxy = clientProxy;
    settings.proxyPort = clientProxyPort;
    WindowDefinedListener listener(*this, names);
    DefinedEngineRun defineds(settings, std::move(jobs), listener);

    // The digit panel counts down the request nearest its time-out.
    QTimer countdown;
    countdown.setInterval(1000);
    QObject::connect(&countdown, &QTimer::timeout, this, [this, &defineds] {
        if (defineds.SecondsLeft() >= 0)
            ShowCountdown(defineds.SecondsLeft());
    });
    countdown.start();
    butSearch->setEnabled(false);
    defineds.Start();
    {
        // Errors inside the clients' events are not reported, as a drawn
        // engine's failed request is not.
        DeferredErrors clientErrors;
        while (!defineds.Finished()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            if (run.abortFlag)
                defineds.Abort();
            if (clientErrors.HasError()) {
                try {
                    clientErrors.RethrowIfAny();
                } catch (...) {
                }
            }
        }
    }
    countdown.stop();
    butSearch->setEnabled(true);

    // What each engine gave, in catalogue order.
    for (size_t i = 0; i < defineds.JobCount(); ++i) {
        const DefinedJob& job = defineds.Job(i);
        const DefinedOutcome& outcome = defineds.Outcome(i);
        const std::string& name = names[job.id];
        if (!outcome.asked)
            continue;
        const std::string line = DefinedReportLine(name, outcome);
        frmStats->addReportLine(line);
        yield.reportLine(job.id, outcome.blocked || (outcome.pages == 0 && !outcome.failure.empty()) ? "" : line);
        if (outcome.blocked)
            yield.blocked(job.id, outcome.reason);
        for (int p = 0; p < outcome.pages; ++p)
            yield.pageFetched(job.id);
        searchingDefined = job.id;
        for (const AnswerLink& link : outcome.links)
            UpdateMasterUrlList(link.url);
        searchingDefined.reset();
        ShowPendingRawCount();
        if (runObserver)
            runObserver->definedEngineDone(
                name, outcome.pages, static_cast<int>(outcome.links.size()), masterUrls.count());
    }
}
