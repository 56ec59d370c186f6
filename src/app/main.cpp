// Program entry: a later start hands over to the running copy and ends
// without a window; the first start creates the windows in their fixed order,
// shows only the main window and runs the event loop until it closes.
#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "platform/SingleInstance.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/QtDialogs.h"
#include "platform/ui/SingleInstanceWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    orv::SingleInstance guard(QString::fromLatin1(orv::kInstanceName));
    if (!guard.isFirst())
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
        rc = app.exec();
        dialogs.setParent(nullptr);
    }
    orv::Dialogs::install(nullptr);
    return rc;
}
