// The parsers through the main window: its maximum boxes, activity text,
// report window and master URL list, on a program folder of the test's own.
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "core/Errors.h"
#include "core/Lines.h"
#include "parse/ParseCases.h"
#include "parse/ParseRecorder.h"
#include "parse/ui/TfrmStats.h"
#include "platform/ui/UrlListView.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace orv;
using namespace orv::test;

namespace
{

using Texts = std::vector<std::string>;

void callParser(TForm1& form, Engine engine)
{
    static const std::map<Engine, void (TForm1::*)()> parsers = {
        { Engine::AltaVista, &TForm1::ParseAltaVista },
        { Engine::Infoseek, &TForm1::ParseInfoseek },
        { Engine::Excite, &TForm1::ParseExcite },
        { Engine::Yahoo, &TForm1::ParseYahoo },
        { Engine::NetfindAol, &TForm1::ParseNetfindAol },
        { Engine::Webcrawler, &TForm1::ParseWebcrawler },
        { Engine::Snap, &TForm1::ParseSnap },
        { Engine::Magellan, &TForm1::ParseMagellan },
        { Engine::PlanetSearch, &TForm1::ParsePlanetSearch },
        { Engine::Thunderstone, &TForm1::ParseThunderstone },
    };
    (form.*parsers.at(engine))();
}

class FormParsingBase
{
protected:
    FormParsingBase()
    {
        folder.makeProgramFolder();
        form = std::make_unique<TForm1>(folder.path());
        form->run.resetPaging();
    }

    // Puts a saved page where the search run would have left it.
    std::string download(const char* fixture, const std::string& name = "page")
    {
        const std::string dataFile = folder.file("data/" + name);
        SaveFileBytes(dataFile, LoadFileBytes(std::string(ORVALEN_FIXTURES) + "/parse/" + fixture));
        form->run.currentDataFile = dataFile;
        return dataFile;
    }

    // The box holds the text as given: its own change rules (which pull a
    // number above 200 down) are the options' business, not the parser's.
    void setMax(Engine engine, const std::string& text)
    {
        const QSignalBlocker quiet(form->engineMaxBox(engine));
        form->engineMaxBox(engine)->setText(QString::fromStdString(text));
    }
    std::string activity() const { return form->lblCurrentEngine->text().toStdString(); }
    Texts rows() const
    {
        Texts out;
        for (int i = 0; i < form->ListView1->count(); ++i)
            out.push_back(form->ListView1->caption(i));
        return out;
    }

    TempFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

class FormParsing : public FormParsingBase, public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(FormParsing, ReportPagingActivityDeletionAndMasterList)
{
    const ParseCase& c = GetParam();
    const std::string maxText = c.maxText ? c.maxText : defaultMaxText(c.engine);
    setMax(c.engine, maxText);
    const std::string dataFile = download(c.fixture);
    if (c.laterPage)
        prepareLaterPage(form->run, c.engine, maxText);

    callParser(*form, c.engine);

    Texts expectedReport;
    if (c.report)
        expectedReport.push_back(c.report);
    EXPECT_EQ(form->frmStats->reportLines(), expectedReport);
    const PagingState& paging = form->run.pagingOf(c.engine);
    EXPECT_EQ(paging.resultCount, c.count);
    EXPECT_EQ(paging.countKnown, c.known);
    EXPECT_EQ(paging.page, c.page);
    EXPECT_EQ(activity(), captionsOf(c.engine).parsing);
    EXPECT_EQ(!FileExists(dataFile), c.deleted);

    // Every offered URL shows as a provisional row, in the order found, less
    // one trailing "/"; the master list holds each once, with "http://".
    Texts expectedRows;
    for (std::string url : c.urls) {
        if (!url.empty() && url.back() == '/')
            url.pop_back();
        expectedRows.push_back(url);
    }
    EXPECT_EQ(rows(), expectedRows);
    EXPECT_EQ(form->masterDescriptions.size(), c.urls.size());
    EXPECT_EQ(form->masterUrls.count(), static_cast<int>(c.urls.size()));
    // The count is exact once the parser returns, however its offers were
    // painted.
    EXPECT_EQ(form->lblRawCount->text().toStdString(), std::to_string(form->masterUrls.count()));
    for (const std::string& row : expectedRows) {
        const std::string url = row.rfind("http:", 0) == 0 ? row : "http://" + row;
        EXPECT_GE(form->masterUrls.indexOf(url + ",,,,,0,,,,,0"), 0) << url;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, FormParsing, ::testing::ValuesIn(parseCases()),
    [](const auto& info) { return std::string(info.param.name); });

class FormParsingFlow : public FormParsingBase, public ::testing::Test
{
};

TEST_F(FormParsingFlow, SeveralEnginesFillOneReportAndOneSortedList)
{
    setMax(Engine::Infoseek, "100");
    download("infoseek.html", "Titles");
    form->ParseInfoseek();
    download("altavista.html", "query");
    form->ParseAltaVista();
    download("yahoo.html", "query");
    form->ParseYahoo();
    download("planetsearch.html", "planetsearch");
    form->ParsePlanetSearch();

    EXPECT_EQ(form->frmStats->reportLines(),
        (Texts { "InfoSeek found\t\t\t1234 urls", "AltaVista found\t\t\t1234 urls", "Yahoo found\t\t\t1234 urls",
            "PlanetSearch found\t\t                1,234 urls" }));
    form->PopulateListBox();
    // The fox den and the red fox come from several engines: one row each,
    // sorted without regard to letter case.
    EXPECT_EQ(rows(),
        (Texts { "http://", "http://www.foxden.org", "http://www.foxden.org/index.html", "http://www.lastline.org",
            "http://WWW.REDFOX.NET", "http://WWW.REDFOX.NET/Pictures.html", "http://www.unquoted.org",
            "http://www.wildlife.org/fox" }));
}

TEST_F(FormParsingFlow, MaximumBoxWithoutANumberEndsTheParseWithItsText)
{
    setMax(Engine::Webcrawler, "2O");
    const std::string dataFile = download("webcrawler.html");
    try {
        form->ParseWebcrawler();
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2O' is not a valid integer value");
    }
    EXPECT_FALSE(FileExists(dataFile));
    EXPECT_EQ(form->frmStats->reportLines(), Texts { "Webcrawler found\t\t\t312 urls" });
    EXPECT_EQ(form->ListView1->count(), 0);
}

TEST_F(FormParsingFlow, TimedOutPageShowsTheCaptionAndStays)
{
    const std::string dataFile = download("planetsearch.html");
    form->run.timeoutFlag = true;
    form->ParsePlanetSearch();
    EXPECT_EQ(activity(), "Planet Search Timed Out...");
    EXPECT_FALSE(form->run.timeoutFlag);
    EXPECT_TRUE(FileExists(dataFile));
    EXPECT_TRUE(form->frmStats->reportLines().empty());
}

TEST_F(FormParsingFlow, ReportWindowStartsEmptyHidesOnOkAndShowsTheSameLinesAgain)
{
    TfrmStats* stats = form->frmStats;
    EXPECT_EQ(stats->windowTitle().toStdString(), "Search Engine Report");
    EXPECT_EQ(stats->size(), QSize(330, 294));
    EXPECT_FALSE(stats->isVisible());
    EXPECT_TRUE(stats->memStatus->toPlainText().isEmpty()); // the placeholder is gone
    EXPECT_TRUE(stats->memStatus->isReadOnly());

    download("magellan.html");
    form->ParseMagellan();
    form->mnuFileStatsClick();
    EXPECT_TRUE(stats->isVisible());
    stats->butOk->click();
    EXPECT_FALSE(stats->isVisible());
    form->mnuFileStatsClick();
    EXPECT_TRUE(stats->isVisible());
    EXPECT_EQ(stats->reportLines(), Texts { "Magellan found\t\t\t312 urls" });
    EXPECT_EQ(stats->memStatus->toPlainText().toStdString(), "Magellan found\t\t\t312 urls");
}

} // namespace
