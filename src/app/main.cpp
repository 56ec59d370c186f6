#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/QtDialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    orv::QtDialogs dialogs;
    orv::Dialogs::install(&dialogs);
    orv::installDesktopServices();
    TForm1 form(orv::executableFolder());
    dialogs.setParent(&form);
    form.show();
    const int rc = app.exec();
    orv::Dialogs::install(nullptr);
    return rc;
}
