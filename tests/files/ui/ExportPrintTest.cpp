// The reports through the File menu commands, and the print window opened
// from the toolbar.
#include "files/ui/FormFixture.h"

#include "core/Lines.h"
#include "files/ui/PdfText.h"
#include "files/ui/TfrmPrint.h"

#include <QAction>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace orv;
using orv::test::FormTest;

namespace
{

class ExportPrint : public FormTest
{
protected:
    ExportPrint()
    {
        typeCriteria("solar", "panel", "");
        form->LoadTheLists();
        setMaster({ "http://b.example,,,,,0,,,,,0", "http://a.example,,,,,1,,,,,1" });
        setApproved({ "http://a.example" });
    }
};

} // namespace

TEST_F(ExportPrint, HtmlReportIsWrittenMarkedAndOfferedForViewing)
{
    const std::string path = folder.file("Reports/r.htm");
    dialogs.fileAnswers.push_back(path);
    form->mnuFileExportHtml->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].title, "Save Search Results");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Html Files |*.htm");
    EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, "htm");
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, folder.path() + "Reports");
    EXPECT_TRUE(form->mnuFileExportHtml->isChecked());
    EXPECT_FALSE(form->mnuFileExportText->isChecked());
    const Lines lines = LoadLines(path);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[7], "solar");
    EXPECT_EQ(lines[16], "<B>Total Urls </B>1<BR>");
    EXPECT_EQ(lines[18], "<LI><A HREF=\"http://a.example\">http://a.example</A><BR>");
    EXPECT_EQ(dialogs.calls.back(), "confirm: Do you want to view your report? ");
    EXPECT_EQ(shell.opened, (std::vector<std::string> { path }));
}

TEST_F(ExportPrint, TextReportMovesTheMarkAndCancelDoesNotOpen)
{
    const std::string path = folder.file("Reports/r.txt");
    dialogs.fileAnswers.push_back(path);
    dialogs.confirmAnswers.push_back(false);
    form->mnuFileExportText->trigger();
    EXPECT_TRUE(form->mnuFileExportText->isChecked());
    EXPECT_FALSE(form->mnuFileExportHtml->isChecked());
    EXPECT_EQ(folder.read("Reports/r.txt"),
        JoinLines({ "Orvalen Results", "", "Primary Search Criteria", "solar", "Secondary Search Criteria", "panel",
            "Exclusion Criteria", "Total Urls 1", "http://a.example", "End Data" }));
    EXPECT_EQ(dialogs.calls.back(), "confirm: Do you want to view your text file? ");
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ExportPrint, ShellFailureIsNotReported)
{
    shell.answer = false;
    dialogs.fileAnswers.push_back(folder.file("Reports/r.txt"));
    run(&TForm1::mnuFileExportTextClick);
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(dialogs.calls.back(), "confirm: Do you want to view your text file? ");
}

TEST_F(ExportPrint, UnwritableReportEndsTheExportWithoutTheQuestion)
{
    dialogs.fileAnswers.push_back(folder.file("Reports"));
    run(&TForm1::mnuFileExportHtmlClick);
    EXPECT_EQ(dialogs.calls.back(), "error: File access denied");
    EXPECT_TRUE(shell.opened.empty());
    dialogs.fileAnswers.push_back(std::nullopt);
    run(&TForm1::mnuFileExportTextClick);
    EXPECT_EQ(dialogs.calls.back(), "save: Save Search Results");
    EXPECT_FALSE(form->mnuFileExportText->isChecked()) << "a cancelled export moves no mark";
}

TEST_F(ExportPrint, PrintWindowPrintsTheRecordsAsHeld)
{
    form->spdPrint->click();
    ASSERT_TRUE(form->frmPrint->isVisible());
    EXPECT_EQ(form->frmPrint->windowTitle(), "Print Url list");
    form->frmPrint->printer().setOutputFormat(QPrinter::PdfFormat);
    form->frmPrint->printer().setOutputFileName(QString::fromStdString(folder.file("p.pdf")));
    form->frmPrint->radBoth->setChecked(true);
    form->frmPrint->butOK->click();
    EXPECT_FALSE(form->frmPrint->isVisible());

    Lines printed;
    for (const Lines& page : test::pdfPages(folder.file("p.pdf")))
        printed.insert(printed.end(), page.begin(), page.end());
    EXPECT_EQ(printed,
        (Lines { "UnVerified Search Engine Returns", "http://a.example,,,,,1,,,,,1", "http://b.example,,,,,0,,,,,0",
            "2 total Urls", "Verified Search Engine Returns", "http://a.example", "1 total Urls" }));

    run(&TForm1::mnuFilePrintClick);
    EXPECT_TRUE(form->frmPrint->radBoth->isChecked()) << "the choice stays between uses";
    run(&TForm1::mnuFIlePrintSetupClick);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "print", "printSetup" }));
}
