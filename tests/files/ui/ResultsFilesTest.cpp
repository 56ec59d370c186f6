// New, Open, Save, Close and the leaving question, through the real window.
#include "files/ui/FormFixture.h"

#include "core/Lines.h"
#include "support/FileSizeLimit.h"

#include <QPushButton>
#include <QToolButton>

using namespace orv;
using orv::test::FormTest;

namespace
{

class ResultsFiles : public FormTest
{
};

} // namespace

TEST_F(ResultsFiles, SavedResultsOpenToTheSameRowsTicksStatusesAndCriteria)
{
    setMaster({ "http://a.example/x,y,,,,,0,,,,,0", "http://b.example,,,,,0,,,,,0", "http://c.example,,,,,1,,,,,0",
        "http://d.example,,,,,0,,,,,0" });
    form->ListView1->setChecked(0, true);
    form->ListView1->setChecked(2, false);
    form->ListView1->setStatus(0, "Timeout");
    form->ListView1->setStatus(1, "Site Not Found");
    form->ListView1->setStatus(2, "UnVerified");
    form->ListView1->setStatus(3, "Retrieving");
    setApproved({ "http://b.example", "http://a.example/x,y" });
    typeCriteria("solar panel\n\nwind", "", "coal\n");
    form->LoadTheLists();

    const std::string path = folder.file("Reports/run.rst");
    dialogs.fileAnswers.push_back(path);
    form->spdSave->click();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].title, "Save Search Results");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Rst Files |*.rst");
    EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, "rst");
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, folder.path() + "Reports");
    EXPECT_TRUE(dialogs.fileRequests[0].confirmOverwrite);
    EXPECT_EQ(folder.read("Reports/run.rst"),
        JoinLines({ "Primary", "3", "solar panel", "", "wind", "Secondary", "0", "Exclusion", "1", "coal", "MasterUrl",
            "4", "http://a.example/x,y,,,,,1,,,,,2", "http://b.example,,,,,0,,,,,4", "http://c.example,,,,,0,,,,,0",
            "http://d.example,,,,,0,,,,,0", "ApprovedUrl", "2", "http://a.example/x,y", "http://b.example",
            "End Data" }));

    run(&TForm1::mnuFileCloseClick);
    form->criteria = {};
    dialogs.fileAnswers.push_back(path);
    form->spdOpen->click();
    EXPECT_EQ(dialogs.fileRequests[1].title, "");
    EXPECT_EQ(dialogs.fileRequests[1].filter, "Rst Files |*.rst");
    EXPECT_EQ(captions(form->ListView1),
        (Lines { "http://a.example/x,y", "http://b.example", "http://c.example", "http://d.example" }));
    EXPECT_EQ(ticks(), (std::vector<bool> { true, false, false, false }));
    EXPECT_EQ(statuses(), (Lines { "Timeout", "Site Not Found", "Not Verified", "Not Verified" }));
    EXPECT_EQ(captions(form->ListView2), (Lines { "http://a.example/x,y", "http://b.example" }));
    EXPECT_EQ(form->criteria.primary, (Lines { "solar panel", "", "wind" }));
    EXPECT_EQ(form->criteria.exclusion, (Lines { "coal" }));
    EXPECT_EQ(form->criteria.queryText, "") << "Open does not rebuild the query text";
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "solar panel\n\nwind");
    EXPECT_EQ(form->masterDescriptions, Lines(4, "No Description"));
    EXPECT_EQ(form->approvedDescriptions, Lines(2, "No Description"));
    EXPECT_EQ(text(form->lblCurrentEngine), "File " + path + " loaded");
    EXPECT_EQ(text(form->lblRawCount), "4");
    EXPECT_EQ(text(form->lblCheckedCount), "1");
    EXPECT_TRUE(form->butRetrieve->isEnabled());
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "save: Save Search Results", "open: " }));
}

// A file name beyond ASCII is saved and opened under that name, and the
// status line shows it as the user typed it.
TEST_F(ResultsFiles, NameBeyondAsciiIsSavedOpenedAndShownAsTyped)
{
    setMaster({ "http://a.example,,,,,0,,,,,0" });
    const std::string path = folder.file("Reports/R\xC3\xA9sultats \xCE\xA9.rst");
    dialogs.fileAnswers.push_back(path);
    run(&TForm1::spdSaveClick);
    dialogs.fileAnswers.push_back(path);
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(captions(form->ListView1), (Lines { "http://a.example" }));
    EXPECT_EQ(form->lblCurrentEngine->text(), QStringLiteral("File ") + QString::fromUtf8(path) + QStringLiteral(" loaded"));
}

TEST_F(ResultsFiles, OpenKeepsOneOfTwoCaseVariantsButADescriptionPerLine)
{
    folder.write("Reports/case.rst",
        JoinLines({ "Primary", "0", "Secondary", "0", "Exclusion", "0", "MasterUrl", "2",
            "http://A.example,,,,,0,,,,,1", "http://a.example,,,,,0,,,,,1", "ApprovedUrl", "0", "End Data" }));
    dialogs.fileAnswers.push_back(folder.file("Reports/case.rst"));
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(form->masterUrls.count(), 1);
    EXPECT_EQ(form->masterDescriptions.size(), 2u);
    EXPECT_EQ(statuses(), (Lines { "Verified" }));
}

// Regression: an Open stopped by a bad count line left the results view
// empty while the master list held records, so row i no longer matched
// record i for later commands.
// A hand-edited file may list a URL alone: it is that URL's row, unticked
// and not verified, and is saved with its URL.
TEST_F(ResultsFiles, BareUrlLineOpensAsAnUntickedUnverifiedRow)
{
    folder.write("Reports/hand.rst",
        JoinLines({ "Primary", "0", "Secondary", "0", "Exclusion", "0", "MasterUrl", "3", "http://bare.example/a,b",
            "http://full.example,,,,,1,,,,,1", "", "ApprovedUrl", "0", "End Data" }));
    dialogs.fileAnswers.push_back(folder.file("Reports/hand.rst"));
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(captions(form->ListView1), (Lines { "", "http://bare.example/a,b", "http://full.example" }));
    EXPECT_EQ(statuses(), (Lines { "", "Not Verified", "Verified" }));
    EXPECT_EQ(ticks(), (std::vector<bool> { false, false, true }));

    dialogs.fileAnswers.push_back(folder.file("Reports/saved.rst"));
    run(&TForm1::spdSaveClick);
    EXPECT_EQ(folder.read("Reports/saved.rst"),
        JoinLines({ "Primary", "0", "Secondary", "0", "Exclusion", "0", "MasterUrl", "3", ",,,,,0,,,,,0",
            "http://bare.example/a,b,,,,,0,,,,,0", "http://full.example,,,,,1,,,,,1", "ApprovedUrl", "0",
            "End Data" }));
}

TEST_F(ResultsFiles, BadCountStopsTheOpenAndTheViewsShowWhatWasRead)
{
    setMaster({ "http://old.example,,,,,0,,,,,0" });
    form->lblCurrentEngine->setText("Ready");
    form->butRetrieve->setEnabled(false);
    folder.write("Reports/bad.rst",
        JoinLines({ "Primary", "1", "w", "Secondary", "0", "Exclusion", "0", "MasterUrl", "2",
            "http://b.example,,,,,1,,,,,1", "http://a.example,,,,,0,,,,,2", "ApprovedUrl", "many" }));
    dialogs.fileAnswers.push_back(folder.file("Reports/bad.rst"));
    form->spdOpen->click();
    EXPECT_EQ(dialogs.calls.back(), "error: 'many' is not a valid integer value");
    EXPECT_EQ(form->criteria.primary, (Lines { "w" }));
    EXPECT_EQ(captions(form->ListView1), (Lines { "http://a.example", "http://b.example" }));
    EXPECT_EQ(statuses(), (Lines { "Timeout", "Verified" }));
    EXPECT_EQ(ticks(), (std::vector<bool> { false, true }));
    EXPECT_EQ(form->ListView2->count(), 0);
    EXPECT_EQ(text(form->lblCurrentEngine), "Ready");
    EXPECT_FALSE(form->butRetrieve->isEnabled());
}

TEST_F(ResultsFiles, ShortFileReadsMissingEntriesAsEmptyAndStopsAtTheMissingCount)
{
    folder.write("Reports/short.rst", JoinLines({ "Primary", "2", "only" }));
    dialogs.fileAnswers.push_back(folder.file("Reports/short.rst"));
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(dialogs.calls.back(), "error: '' is not a valid integer value");
    EXPECT_EQ(form->criteria.primary, (Lines { "only", "" }));
}

// Regression: a name that could not be opened still emptied both lists first.
TEST_F(ResultsFiles, MissingFileIsReportedAndTheListsStay)
{
    setMaster({ "http://keep.example,,,,,0,,,,,0" });
    dialogs.fileAnswers.push_back(folder.file("Reports/none.rst"));
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(dialogs.calls.back(), "error: File not found");
    EXPECT_EQ(captions(form->ListView1), (Lines { "http://keep.example" }));
}

TEST_F(ResultsFiles, SaveFailureShowsThePlatformText)
{
    dialogs.fileAnswers.push_back(folder.file("Reports/no/such/dir/x.rst"));
    run(&TForm1::spdSaveClick);
    EXPECT_EQ(dialogs.calls.back(), "error: Invalid filename");
    dialogs.fileAnswers.push_back(folder.file("Reports"));
    run(&TForm1::spdSaveClick);
    EXPECT_EQ(dialogs.calls.back(), "error: File access denied");
}

// Every save that fails halfway (here: the file may not grow past 64
// bytes, as on a full disk) shows its error and leaves the old file whole.
TEST_F(ResultsFiles, FailedSavesShowTheErrorAndLeaveEachOldFileWhole)
{
    const Lines names { "Reports/run.rst", "Templates/t.cri", "Reports/report.htm", "search.txt" };
    for (const std::string& name : names)
        folder.write(name, "old " + name + "\r\n");
    setMaster({ "http://a-rather-long-address.example/first/page.html,,,,,0,,,,,0",
        "http://a-rather-long-address.example/second/page.html,,,,,0,,,,,0" });
    setApproved({ "http://a-rather-long-address.example/first/page.html" });
    typeCriteria("solar panels for the roof of a small house", "", "");
    form->LoadTheLists();
    {
        test::FileSizeLimit limit(64);
        dialogs.fileAnswers.push_back(folder.file(names[0]));
        run(&TForm1::spdSaveClick);
        showTab(form->TabSheet4);
        dialogs.fileAnswers.push_back(folder.file(names[1]));
        run(&TForm1::spdSaveClick);
        dialogs.fileAnswers.push_back(folder.file(names[2]));
        run(&TForm1::mnuFileExportHtmlClick);
        run(&TForm1::butOptionsApplyClick);
    }
    EXPECT_EQ(dialogs.calls,
        (std::vector<std::string> { "save: Save Search Results", "error: I/O error 27", "save: Save Search Results",
            "error: I/O error 27", "save: Save Search Results", "error: I/O error 27",
            "error: Cannot create file " + folder.file("search.txt") }));
    for (const std::string& name : names)
        EXPECT_EQ(folder.read(name), "old " + name + "\r\n") << name << " was cut short or changed";
}

TEST_F(ResultsFiles, CancelledDialogsChangeNothing)
{
    setMaster({ "http://a.example,,,,,0,,,,,0" });
    run(&TForm1::spdOpenClick);
    run(&TForm1::spdSaveClick);
    EXPECT_EQ(form->ListView1->count(), 1);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "open: ", "save: Save Search Results" }));
}

TEST_F(ResultsFiles, TemplateSaveAcceptsFirstAndWritesTheCriteriaOnly)
{
    showTab(form->TabSheet4);
    typeCriteria("solar panel\nwind", "", "coal");
    run(&TForm1::spdSaveClick); // cancelled, but the criteria are accepted already
    EXPECT_EQ(form->criteria.primary, (Lines { "solar panel", "wind" }));
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Search Criteria Templates|*.cri");
    EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, "cri");
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, folder.path() + "Templates");

    setMaster({ "http://a.example,,,,,0,,,,,0" });
    dialogs.fileAnswers.push_back(folder.file("Templates/t.cri"));
    form->spdSave->click();
    EXPECT_EQ(folder.read("Templates/t.cri"),
        JoinLines({ "Primary", "2", "solar panel", "wind", "Secondary", "0", "Exclusion", "1", "coal", "End Data" }));
}

TEST_F(ResultsFiles, TemplateOpenOfAResultsFileNeverTouchesTheUrlLists)
{
    folder.write("Reports/r.rst",
        JoinLines({ "Primary", "1", "p", "Secondary", "1", "s", "Exclusion", "0", "MasterUrl", "1",
            "http://x.example,,,,,0,,,,,0", "ApprovedUrl", "1", "http://x.example", "End Data" }));
    setMaster({ "http://mine.example,,,,,0,,,,,0" });
    showTab(form->TabSheet4);
    typeCriteria("old", "old", "old");
    dialogs.fileAnswers.push_back(folder.file("Reports/r.rst"));
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Search Criteria Templates|*.cri");
    EXPECT_EQ(form->criteria.primary, (Lines { "p" }));
    EXPECT_EQ(form->criteria.secondary, (Lines { "s" }));
    EXPECT_TRUE(form->criteria.exclusion.empty());
    EXPECT_EQ(text(form->memExclusionCriteria), "");
    EXPECT_EQ(captions(form->ListView1), (Lines { "http://mine.example" }));
    EXPECT_TRUE(form->approvedUrls.empty());
}

// Empty Primary entries at either end survive the memo: accepting an
// opened template and saving it again writes the same file.
TEST_F(ResultsFiles, OpenedPrimaryEntriesStayExactThroughTheMemo)
{
    const std::string bytes = JoinLines(
        { "Primary", "4", "", "", "tcp ip", "", "Secondary", "0", "Exclusion", "1", "coal", "End Data" });
    folder.write("Templates/edges.cri", bytes);
    showTab(form->TabSheet4);
    dialogs.fileAnswers.push_back(folder.file("Templates/edges.cri"));
    run(&TForm1::spdOpenClick);
    EXPECT_EQ(form->criteria.primary, (Lines { "", "", "tcp ip", "" }));

    form->LoadTheLists();
    EXPECT_EQ(form->criteria.primary, (Lines { "", "", "tcp ip", "" }));
    EXPECT_EQ(form->criteria.queryText, "++tcp+ip+");
    dialogs.fileAnswers.push_back(folder.file("Templates/again.cri"));
    run(&TForm1::spdSaveClick);
    EXPECT_EQ(folder.read("Templates/again.cri"), bytes);

    // A list of one empty entry stays one entry; an empty list stays empty.
    folder.write("Templates/one.cri", JoinLines({ "Primary", "1", "", "Secondary", "0", "Exclusion", "0" }));
    dialogs.fileAnswers.push_back(folder.file("Templates/one.cri"));
    run(&TForm1::spdOpenClick);
    form->LoadTheLists();
    EXPECT_EQ(form->criteria.primary, (Lines { "" }));
    EXPECT_TRUE(form->criteria.exclusion.empty());
}

TEST_F(ResultsFiles, NewSwitchesToTheCriteriaTabFirstAndAsksBeforeClearing)
{
    typeCriteria("a", "b", "c");
    form->LoadTheLists();
    setMaster({ "http://a.example,,,,,0,,,,,0" });
    form->spdNew->click();
    EXPECT_EQ(form->Page1->currentWidget(), form->TabSheet4);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "a");

    dialogs.confirmAnswers.push_back(false);
    run(&TForm1::spdNewClick);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string> { "confirm: Are you sure you want to clear your entries?" }));
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "a");

    run(&TForm1::mnuFileNewClick);
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "");
    EXPECT_TRUE(form->criteria.primary.empty());
    EXPECT_TRUE(form->criteria.secondary.empty());
    EXPECT_EQ(form->criteria.queryText, "");
    EXPECT_EQ(form->masterUrls.count(), 1) << "the URL lists are untouched";
}

TEST_F(ResultsFiles, CloseEmptiesListsViewsAndBoxesButKeepsTheAcceptedCriteria)
{
    typeCriteria("a", "", "");
    form->LoadTheLists();
    setMaster({ "http://a.example,,,,,1,,,,,0", "http://b.example,,,,,0,,,,,0" });
    setApproved({ "http://a.example" });
    run(&TForm1::mnuFileCloseClick);
    EXPECT_TRUE(form->masterUrls.empty());
    EXPECT_TRUE(form->approvedUrls.empty());
    EXPECT_TRUE(form->masterDescriptions.empty());
    EXPECT_EQ(form->ListView1->count(), 0);
    EXPECT_EQ(form->ListView2->count(), 0);
    EXPECT_EQ(text(form->lblRawCount), "0");
    EXPECT_EQ(text(form->lblCheckedCount), "0");
    EXPECT_EQ(text(form->lblApprovedCount), "0");
    EXPECT_EQ(text(form->memPrimarySearchCriteria), "");
    EXPECT_EQ(form->criteria.primary, (Lines { "a" }));
}

TEST_F(ResultsFiles, LeavingTheCriteriaTabWithChangesAsksToAcceptThem)
{
    showTab(form->TabSheet4);
    typeCriteria("typed", "", "");
    form->butAccept->setEnabled(true);
    dialogs.confirmAnswers.push_back(false);
    run(&TForm1::TabSheet4Exit);
    EXPECT_TRUE(form->criteria.primary.empty());
    run(&TForm1::TabSheet4Exit);
    EXPECT_EQ(form->criteria.primary, (Lines { "typed" }));
    EXPECT_EQ(dialogs.calls, std::vector<std::string>(2, "confirm: Save Search Criteria?"));

    form->butAccept->setEnabled(false);
    run(&TForm1::TabSheet4Exit);
    EXPECT_EQ(dialogs.calls.size(), 2u) << "nothing is asked without unaccepted changes";
}
