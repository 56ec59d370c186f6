// The HTML and text reports, the print window and the printer set-up.
#include "app/TForm1.h"

#include "browse/ui/TFindDialog.h"
#include "core/Lines.h"
#include "files/Printout.h"
#include "files/Reports.h"
#include "files/ui/TfrmPrint.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/ui/UrlListView.h"

#include <QAction>

void TForm1::CreateFilesAndEditing()
{
    frmPrint = new TfrmPrint(this);
    frmPrint->linesFor = [this](orv::PrintChoice choice) {
        return orv::printoutLines(choice, masterUrls.records(), approvedUrls.records());
    };
    frmPrint->fontToPrint = [this] { return ListView1->font(); };
    mnuFileExportHtml->setCheckable(true);
    mnuFileExportText->setCheckable(true);
    CreateListEditing();
}

std::optional<std::string> TForm1::AskForExportFile(const char* filter, const char* extension)
{
    orv::FileDialogRequest request;
    request.title = "Save Search Results";
    request.filter = filter;
    request.defaultExtension = extension;
    request.initialFolder = programFolder() + "Reports";
    request.confirmOverwrite = true;
    return orv::Dialogs::current().saveFile(request);
}

void TForm1::ExportReport(bool html)
{
    const auto path = html ? AskForExportFile("Html Files |*.htm", "htm") : AskForExportFile("Text Files |*.txt", "txt");
    if (!path)
        return;
    (html ? mnuFileExportHtml : mnuFileExportText)->setChecked(true);

    const orv::CriteriaSections sections { criteria.primary, criteria.secondary, criteria.exclusion };
    const orv::Lines approved = approvedUrls.records();
    orv::SaveLines(*path, html ? orv::htmlReport(sections, approved) : orv::textReport(sections, approved));

    const char* question = html ? "Do you want to view your report? " : "Do you want to view your text file? ";
    // A report the desktop cannot open is not reported.
    if (orv::Dialogs::current().confirm(question))
        orv::Shell::open(*path);
}

void TForm1::mnuFileExportHtmlClick()
{
    ExportReport(true);
}

void TForm1::mnuFileExportTextClick()
{
    ExportReport(false);
}

void TForm1::spdPrintClick()
{
    frmPrint->show();
    frmPrint->raise();
}

void TForm1::mnuFilePrintClick()
{
    spdPrintClick();
}

void TForm1::mnuFIlePrintSetupClick()
{
    orv::Dialogs::current().printSetup();
}
