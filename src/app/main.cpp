// Program entry. --help and --version print and end; --batch runs the
// window's commands without a display; otherwise a later start hands over to
// the running copy and ends without a window, and the first start creates
// the windows in their fixed order, shows only the main window and runs the
// event loop until it closes.
#include "app/DemoRun.h"
#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "batch/CommandLine.h"
#include "batch/ui/BatchRun.h"
#include "files/WindowSession.h"
#include "platform/ColorScheme.h"
#include "platform/SingleInstance.h"
#include "platform/ui/DesktopLook.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/QtDialogs.h"
#include "platform/ui/SingleInstanceWindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace
{

int runWindow(QApplication& app, const orv::CommandLine& line, const std::string& programFolder)
{
    const bool demo = line.mode == orv::LaunchMode::Demo;
    orv::SingleInstance guard(QString::fromLatin1(orv::kInstanceName));
    if (!guard.isFirst() && !demo)
        return 0;

    orv::FollowDesktopPalette(app, orv::AskDesktopPrefersDark());
    orv::QtDialogs dialogs;
    orv::Dialogs::install(&dialogs);
    orv::installDesktopServices();
    int rc = 0;
    {
        // The demonstration always opens at the window's own size.
        orv::SessionStore session(orv::SessionStore::defaultFile());
        TForm1 form(programFolder);
        if (!demo)
            form.RestoreSession(&session);
        dialogs.setParent(&form);
        TfrmAbout about(&form);
        orv::raiseOnAnotherStart(guard, &form);
        form.show();
        if (demo) {
            // Unattended demonstration: run it once the window is on screen.
            QTimer::singleShot(500, &form, [&form, folder = line.demoFolder] {
                orv::DemoOptions options;
                options.outputFolder = folder;
                if (options.outputFolder.back() != '/')
                    options.outputFolder += '/';
                QApplication::exit(orv::runDemo(form, options));
            });
        }
        rc = app.exec();
        dialogs.setParent(nullptr);
    }
    orv::Dialogs::install(nullptr);
    return rc;
}

} // namespace

int main(int argc, char** argv)
{
    const orv::CommandLine line = orv::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.mode) {
    case orv::LaunchMode::Help:
        std::fputs(orv::usageText().c_str(), stdout);
        return 0;
    case orv::LaunchMode::Version:
        std::fputs(orv::versionText().c_str(), stdout);
        return 0;
    case orv::LaunchMode::BadUsage:
        std::fprintf(stderr, "orvalen: %s\n\n%s", line.error.c_str(), orv::usageText().c_str());
        return 2;
    case orv::LaunchMode::Batch:
    case orv::LaunchMode::Window:
    case orv::LaunchMode::Demo:
        break;
    }

    const bool batch = line.mode == orv::LaunchMode::Batch;
    // The window framework sees only its own arguments; a batch run needs no
    // display at all.
    std::vector<char*> qtArgs { argv[0] };
    std::vector<std::string> windowArguments = line.windowArguments;
    for (std::string& arg : windowArguments)
        qtArgs.push_back(arg.data());
    int qtArgc = static_cast<int>(qtArgs.size());
    qtArgs.push_back(nullptr);
    if (batch)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(qtArgc, qtArgs.data());

    std::string problem;
    const auto programFolder = orv::findProgramFolder(line.programFolder, problem);
    if (!programFolder) {
        std::fprintf(stderr, "orvalen: %s\n", problem.c_str());
        return 1;
    }
    return batch ? orv::runBatch(line.batch, *programFolder) : runWindow(app, line, *programFolder);
}
