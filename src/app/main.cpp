// Program entry: the windows are created in their fixed order, only the main
// window is shown, and the event loop runs until it closes.
#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "app/TfrmAbout.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/QtDialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    orv::QtDialogs dialogs;
    orv::Dialogs::install(&dialogs);
    orv::installDesktopServices();
    int rc = 0;
    {
        TForm1 form(orv::executableFolder());
        dialogs.setParent(&form);
        TfrmAbout about(&form);
        form.show();
        rc = app.exec();
        dialogs.setParent(nullptr);
    }
    orv::Dialogs::install(nullptr);
    return rc;
}
