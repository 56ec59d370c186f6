#include "app/DemoRun.h"

#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "core/Lines.h"
#include "platform/Dialogs.h"
#include "platform/WidgetText.h"
#include "search/ui/TfrmYield.h"

#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <QPlainTextEdit>

#include <cstdio>

namespace orv
{
namespace
{

// Answers the window's dialogs as a user following the demo would: every
// file goes into the demo folder, every question is answered OK except the
// offer to open a report in another program.
class DemoDialogs final : public Dialogs
{
public:
    explicit DemoDialogs(std::string folder)
        : folder_(std::move(folder))
    {
    }

    int errors = 0;

    void notice(const std::string& text) override { std::printf("notice: %s\n", text.c_str()); }
    bool confirm(const std::string& text) override
    {
        const bool view = text.rfind("Do you want to view", 0) == 0;
        std::printf("question: %s -> %s\n", text.c_str(), view ? "Cancel" : "OK");
        return !view;
    }
    void error(const std::string& text) override
    {
        ++errors;
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
    std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogRequest& request) override
    {
        std::string name = "results.rst";
        if (request.filter.find("*.htm") != std::string::npos)
            name = "report.htm";
        else if (request.filter.find("*.txt") != std::string::npos)
            name = "report.txt";
        else if (request.filter.find("*.cri") != std::string::npos)
            name = "criteria.cri";
        else if (request.filter.find("*.csv") != std::string::npos)
            name = "results.csv";
        else if (request.filter.find("*.json") != std::string::npos)
            name = "results.json";
        std::printf("save: %s\n", (folder_ + name).c_str());
        return folder_ + name;
    }
    bool print() override { return false; }
    bool printSetup() override { return false; }

private:
    std::string folder_;
};

void step(const char* what)
{
    std::printf("demo: %s\n", what);
    std::fflush(stdout);
    QApplication::processEvents();
}

void snapshot(QWidget& window, const std::string& path)
{
    QApplication::processEvents();
    window.grab().save(toQ(path), "PNG");
    std::printf("picture: %s\n", path.c_str());
}

} // namespace

int runDemo(TForm1& form, const DemoOptions& options)
{
    DemoDialogs dialogs(options.outputFolder);
    Dialogs& previous = Dialogs::current();
    Dialogs::install(&dialogs);

    step("criteria");
    form.memPrimarySearchCriteria->setPlainText(toQ(options.primary));
    form.memSecondarySearchCriteria->setPlainText(toQ(options.secondary));
    form.memExclusionCriteria->setPlainText(toQ(options.exclusion));
    form.butAcceptClick();
    // A short wait for each page keeps the demonstration brisk; the slow
    // sites of the simulator then show up as "Timeout".
    form.edMaxSeconds->setText(QStringLiteral("3"));
    // Eight pages in flight at once, as a user with many found pages would set.
    form.spinParallelFetches->setValue(8);
    // The drawn engines and today's, all played by the simulator.
    for (Engine e : kAllEngines)
        form.engineCheck(e)->setChecked(true);
    for (auto& controls : form.definedControls) {
        controls.check->setChecked(true);
        controls.maxBox->setValue(20);
    }

    step("search");
    form.butSearchClick();
    std::printf("activity: %s\n", fromQ(form.lblCurrentEngine->text()).c_str());
    snapshot(form, options.outputFolder + "after-search.png");

    step("retrieve");
    form.butRetrieveClick();
    std::printf("activity: %s\n", fromQ(form.lblCurrentEngine->text()).c_str());

    step("export");
    form.mnuFileExportHtmlClick();
    form.mnuFileExportTextClick();
    form.spdSaveClick();
    form.mnuFileExportCsvClick();
    form.mnuFileExportJsonClick();
    snapshot(form, options.outputFolder + "screenshot.png");

    step("engine yield");
    form.mnuEditYieldClick();
    snapshot(*form.frmYield, options.outputFolder + "yield.png");
    form.frmYield->hide();

    bool complete = dialogs.errors == 0;
    for (const char* name : { "report.htm", "report.txt", "results.rst", "results.csv", "results.json",
             "screenshot.png", "yield.png" }) {
        if (!FileExists(options.outputFolder + name)) {
            std::fprintf(stderr, "demo: %s was not written\n", name);
            complete = false;
        }
    }
    Dialogs::install(&previous);
    std::printf("demo: %s\n", complete ? "complete" : "INCOMPLETE");
    return complete ? 0 : 1;
}

} // namespace orv
