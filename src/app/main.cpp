// Program entry: a later start hands over to the running copy and ends
// without a window; the first start creates the windows in their fixed order,
// shows only the main window and runs the event loop until it closes.
#include "app/DemoRun.h"
#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "platform/SingleInstance.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/QtDialogs.h"
#include "platform/ui/SingleInstanceWindow.h"

#include <QApplication>
#include <QTimer>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // "--demo FOLDER" runs the unattended demonstration into FOLDER.
    const char* demoFolder = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--demo") == 0 && argv[i + 1][0] != '\0')
            demoFolder = argv[i + 1];
    orv::SingleInstance guard(QString::fromLatin1(orv::kInstanceName));
    if (!guard.isFirst() && !demoFolder)
        return 0;

    orv::QtDialogs dialogs;
    orv::Dialogs::install(&dialogs);
    orv::installDesktopServices();
    int rc = 0;
    {
        TForm1 form(orv::executableFolder());
        dialogs.setParent(&form);
        TfrmAbout about(&form);
        orv::raiseOnAnotherStart(guard, &form);
        form.show();
        if (demoFolder) {
            // Unattended demonstration: run it once the window is on screen.
            QTimer::singleShot(500, &form, [&form, demoFolder] {
                orv::DemoOptions options;
                options.outputFolder = demoFolder;
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
