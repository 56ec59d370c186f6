#include "SearchRunFixture.h"

#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "core/Text.h"
#include "parse/ui/TfrmStats.h"
#include "platform/WidgetText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <filesystem>

namespace orv::test
{

void SearchRunFixture::start(const EngineSim::Options& options, bool dataFolder)
{
    if (dataFolder)
        folder.makeProgramFolder();
    else
        std::filesystem::create_directories(folder.path() + "Reports");
    sim = std::make_unique<EngineSim>(options);
    sim->writeEnginesFile(folder.path());
    form = std::make_unique<TForm1>(folder.path());
    form->edMaxSeconds->setText("30");
    // Start-up may report a missing options file; the runs start clean.
    dialogs.calls.clear();
}

void SearchRunFixture::acceptPrimary(const std::string& primary)
{
    // What Accept does with the Primary box: the engines see only accepted criteria.
    form->memPrimarySearchCriteria->setPlainText(toQ(primary));
    form->criteria = BuildWordLists(primary, "", "");
}

void SearchRunFixture::tickOnly(std::initializer_list<Engine> engines)
{
    for (Engine e : kAllEngines)
        form->engineCheck(e)->setChecked(std::find(engines.begin(), engines.end(), e) != engines.end());
}

void SearchRunFixture::setMax(Engine e, const std::string& text)
{
    form->engineMaxBox(e)->setText(toQ(text));
}

void SearchRunFixture::layOutShippedEngines()
{
    const std::filesystem::path shipped = std::filesystem::path(ORVALEN_FIXTURES) / ".." / ".." / "dist" / "engines";
    const std::filesystem::path target = folder.path() + "engines-shipped";
    std::filesystem::create_directories(target);
    for (const auto& file : std::filesystem::directory_iterator(shipped))
        std::filesystem::copy_file(file.path(), target / file.path().filename());
}

void SearchRunFixture::tickDefinedOnly(std::initializer_list<const char*> names, int maximum)
{
    const auto defined = form->catalogue.definedEntries();
    for (size_t i = 0; i < defined.size() && i < form->definedControls.size(); ++i) {
        bool wanted = false;
        for (const char* name : names)
            wanted = wanted || defined[i]->name == name;
        form->definedControls[i].check->setChecked(wanted);
        form->definedControls[i].maxBox->setValue(maximum);
    }
}

void SearchRunFixture::search()
{
    // The run is synchronous; a hung request would block here, so a watchdog
    // inside the nested wait presses Abort and fails the test.
    bool watchdogFired = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        watchdogFired = true;
        form->butAbortClick();
    });
    watchdog.start(60000);
    form->butSearch->click();
    watchdog.stop();
    EXPECT_FALSE(watchdogFired) << "search run hung";
}

std::vector<std::string> SearchRunFixture::masterUrls() const
{
    std::vector<std::string> urls;
    for (const std::string& record : form->masterUrls.records())
        urls.push_back(record.substr(0, record.find(",,,,,")));
    return urls;
}

std::vector<std::string> SearchRunFixture::reportLines() const
{
    return form->frmStats->reportLines();
}

std::string SearchRunFixture::activity() const
{
    return fromQ(form->lblCurrentEngine->text());
}

std::vector<std::string> SearchRunFixture::linksOf(const std::vector<SimRequest>& requests)
{
    std::vector<std::string> links;
    for (const auto& r : requests)
        links.insert(links.end(), r.links.begin(), r.links.end());
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());
    return links;
}

} // namespace orv::test
