// The print window prints to a PDF file; pdftotext reads the pages back so
// that the text of every page can be compared with the printout's lines.
#include "files/Printout.h"
#include "files/ui/PdfText.h"
#include "files/ui/TfrmPrint.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orv;

namespace
{

// The non-empty lines of `lines`.
Lines printed(const Lines& lines)
{
    Lines out;
    for (const auto& l : lines)
        if (!l.empty())
            out.push_back(l);
    return out;
}

class PrintWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext is not installed";
        for (int i = 0; i < 130; ++i)
            master.push_back("http://site" + std::to_string(1000 + i) + ".example/page,,,,,0,,,,,0");
        approved = { "http://site1003.example/page", "http://site1007.example/page" };
        window.linesFor = [this](PrintChoice c) { return printoutLines(c, master, approved); };
        window.fontToPrint = [] { return QFont(QStringLiteral("DejaVu Sans"), 8); };
        window.printer().setOutputFormat(QPrinter::PdfFormat);
        window.printer().setOutputFileName(QString::fromStdString(folder.file("out.pdf")));
        window.show();
    }

    test::ScriptedDialogs dialogs;
    test::TempFolder folder;
    TfrmPrint window;
    Lines master, approved;
};

} // namespace

TEST_F(PrintWindow, BothListsPrintPageByPageAsLaidOut)
{
    window.radBoth->setChecked(true);
    window.butOK->click();
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "print" }));
    EXPECT_FALSE(window.isVisible());

    const std::vector<Lines> pages = test::pdfPages(folder.file("out.pdf"));
    ASSERT_GE(pages.size(), 2u) << "130 records at 8 points fill more than one page";
    Lines all;
    for (const auto& page : pages) {
        EXPECT_FALSE(page.empty());
        all.insert(all.end(), page.begin(), page.end());
    }
    EXPECT_EQ(all, printed(printoutLines(PrintChoice::Both, master, approved)));
    EXPECT_EQ(pages.front().front(), "UnVerified Search Engine Returns");
    EXPECT_EQ(pages.back().back(), "2 total Urls");
}

TEST_F(PrintWindow, EachPageHoldsAsManyLinesAsTheRuleAllows)
{
    window.radRaw->setChecked(true);
    window.butOK->click();
    const std::vector<Lines> pages = test::pdfPages(folder.file("out.pdf"));
    ASSERT_GE(pages.size(), 2u);
    // With the printer's own metrics, the rule leaves room for (height - 2h) / h
    // full lines before the break; the first page holds exactly that many.
    const int h = QFontMetrics(window.fontToPrint(), &window.printer()).height() + 2;
    const int pageHeight = window.printer().height();
    int perPage = 0;
    for (int y = 0;;) {
        ++perPage;
        y += h;
        if (y > pageHeight - 2 * h)
            break;
    }
    EXPECT_EQ(static_cast<int>(pages[0].size()), perPage);
}

TEST_F(PrintWindow, ChoiceIsKeptAndCancelPrintsNothing)
{
    window.radFiltered->setChecked(true);
    window.butCancel->click();
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_TRUE(window.radFiltered->isChecked());

    dialogs.printAnswers.push_back(false);
    window.butOK->click();
    EXPECT_FALSE(window.isVisible()) << "cancelling the print dialog still closes the window";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("out.pdf"))));

    window.show();
    window.butOK->click();
    EXPECT_EQ(test::pdfPages(folder.file("out.pdf")),
        (std::vector<Lines> { { "Verified Search Engine Returns", approved[0], approved[1], "2 total Urls" } }));
}

TEST_F(PrintWindow, PrintingFailureIsReportedAndTheWindowStays)
{
    window.printer().setOutputFileName(QString::fromStdString(folder.file("no/such/folder/out.pdf")));
    window.butOK->click();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].rfind("error: ", 0), 0u);
    EXPECT_TRUE(window.isVisible());
}
