// New, Open, Save and Close of criteria templates and results files, and the
// question asked when the criteria tab is left with unaccepted changes.
#include "app/TForm1.h"

#include "app/controls/PageControl.h"
#include "core/Errors.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "files/ResultsFile.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "verify/Criteria.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

const char* const kTemplateFilter = "Search Criteria Templates|*.cri";
const char* const kResultsFilter = "Rst Files |*.rst";

orv::FileDialogRequest fileRequest(const TForm1& form, bool templates, bool save)
{
    orv::FileDialogRequest request;
    request.filter = templates ? kTemplateFilter : kResultsFilter;
    request.defaultExtension = templates ? "cri" : "rst";
    request.initialFolder = form.programFolder() + (templates ? "Templates" : "Reports");
    if (save) {
        request.title = "Save Search Results";
        request.confirmOverwrite = true;
    }
    return request;
}

// The memo holds the list exactly: accepting it again gives the same
// entries, empty ones at either end included.
void setMemoLines(QPlainTextEdit* memo, const orv::Lines& lines)
{
    memo->setPlainText(orv::toQ(orv::CriteriaBoxText(lines)));
}

orv::CriteriaSections acceptedSections(const orv::WordLists& criteria)
{
    return { criteria.primary, criteria.secondary, criteria.exclusion };
}

// The error that stopped reading `path`. The window shows a bad count as it
// always did ("'' is not a valid integer value"); the full text names the
// file and the line.
orv::EConvertError ReadError(const std::string& path, const orv::FileRead& read)
{
    const std::string where = path + " line " + orv::IntToStr(read.errorLine) + ": ";
    if (read.refused)
        return orv::EConvertError(where + read.error);
    return orv::WithDetail(orv::EConvertError(read.error), where + read.error + "; a count of lines was expected");
}

} // namespace

bool TForm1::TemplateMode() const
{
    return Page1->currentWidget() == TabSheet4;
}

void TForm1::spdNewClick()
{
    if (RefusedWhileListsBusy())
        return;
    if (!TemplateMode()) {
        Page1->setCurrentWidget(TabSheet4);
        placePage1(380);
        memPrimarySearchCriteria->setFocus();
        return;
    }
    if (!orv::Dialogs::current().confirm("Are you sure you want to clear your entries?"))
        return;
    memPrimarySearchCriteria->clear();
    memSecondarySearchCriteria->clear();
    memExclusionCriteria->clear();
    criteria.queryText.clear();
    criteria.quotedQueryText.clear();
    criteria.primary.clear();
    criteria.secondary.clear();
    criteria.exclusion.clear();
}

void TForm1::spdOpenClick()
{
    const bool templates = TemplateMode();
    // A results file replaces the lists that a run addresses by position.
    if (!templates && RefusedWhileListsBusy())
        return;
    const auto path = orv::Dialogs::current().openFile(fileRequest(*this, templates, false));
    if (!path)
        return;
    if (templates)
        OpenTemplateFile(*path);
    else
        OpenResultsFile(*path);
}

void TForm1::OpenTemplateFile(const std::string& path)
{
    // The file is read before anything is cleared, so that a name that cannot
    // be opened leaves the criteria as they were.
    const orv::FileRead read = orv::readCriteriaTemplate(orv::LoadTextLines(path));
    rememberFile(path);
    criteria.primary = read.criteria.primary;
    criteria.secondary = read.criteria.secondary;
    criteria.exclusion = read.criteria.exclusion;
    setMemoLines(memPrimarySearchCriteria, read.criteria.primary);
    setMemoLines(memSecondarySearchCriteria, read.criteria.secondary);
    setMemoLines(memExclusionCriteria, read.criteria.exclusion);
    if (!read.complete())
        throw ReadError(path, read);
}

void TForm1::OpenResultsFile(const std::string& path)
{
    // Read first: a file that cannot be opened must not cost the lists.
    const orv::FileRead read = orv::readResultsFile(orv::LoadTextLines(path));
    // A file that contradicts itself is refused before the lists are touched.
    if (read.refused)
        throw ReadError(path, read);

    ListView1->clear();
    masterUrls.clear();
    approvedUrls.clear();
    masterDescriptions.clear();
    approvedDescriptions.clear();
    yield.clear();
    SetLabelText(lblRawCount, "0");

    criteria.primary = read.criteria.primary;
    criteria.secondary = read.criteria.secondary;
    criteria.exclusion = read.criteria.exclusion;
    setMemoLines(memPrimarySearchCriteria, read.criteria.primary);
    setMemoLines(memSecondarySearchCriteria, read.criteria.secondary);
    setMemoLines(memExclusionCriteria, read.criteria.exclusion);
    for (const std::string& line : read.master) {
        masterUrls.add(line);
        masterDescriptions.emplace_back("No Description");
    }
    for (const std::string& line : read.approved) {
        approvedUrls.add(line);
        approvedDescriptions.emplace_back("No Description");
    }

    if (!read.complete()) {
        // Row i of the results view must show record i for every later
        // command, so both views are rebuilt from what was read; the status
        // line keeps what it said before the Open.
        const QString status = lblCurrentEngine->text();
        PopulateListBox();
        PopulateTheApprovedBox();
        lblCurrentEngine->setText(status);
        throw ReadError(path, read);
    }
    PopulateListBox();
    PopulateTheApprovedBox();
    lblCurrentEngine->setText(QStringLiteral("File ") + orv::pathToQ(path) + QStringLiteral(" loaded"));
    butRetrieve->setEnabled(true);
    document.opened(path, ContentDigest());
    rememberFile(path);
    ShowRestingTitle();
}

void TForm1::spdSaveClick()
{
    // Every Save asks where; the dialog proposes the file that is open.
    SaveWithDialog(TemplateMode(), true);
}

void TForm1::mnuFileSaveAsClick()
{
    SaveWithDialog(TemplateMode(), false);
}

bool TForm1::SaveWithDialog(bool templates, bool proposeOpenFile)
{
    if (templates)
        LoadTheLists();
    orv::FileDialogRequest request = fileRequest(*this, templates, true);
    if (proposeOpenFile && !templates)
        request.fileName = document.path();
    const auto path = orv::Dialogs::current().saveFile(request);
    if (!path)
        return false;
    if (templates) {
        SaveTemplateFile(*path);
    } else {
        SaveResultsFile(*path);
        document.saved(*path, ContentDigest());
        ShowRestingTitle();
    }
    rememberFile(*path);
    return true;
}

void TForm1::SaveTemplateFile(const std::string& path) const
{
    orv::SaveLines(path, orv::writeCriteriaTemplate(acceptedSections(criteria)));
}

void TForm1::SaveResultsFile(const std::string& path) const
{
    // The tick and status of each record come from its row as the user sees it.
    std::vector<orv::MasterRowState> rows;
    rows.reserve(static_cast<size_t>(masterUrls.count()));
    for (int i = 0; i < masterUrls.count(); ++i) {
        orv::MasterRowState row { masterUrls.at(i), false, {} };
        if (i < ListView1->count()) {
            row.checked = ListView1->checked(i);
            row.statusText = ListView1->status(i);
        }
        rows.push_back(std::move(row));
    }
    orv::SaveLines(path, orv::writeResultsFile(acceptedSections(criteria), rows, approvedUrls.records()));
}

void TForm1::mnuFileNewClick()
{
    spdNewClick();
}

void TForm1::mnuFileOpenClick()
{
    spdOpenClick();
}

void TForm1::mnuFileSaveClick()
{
    spdSaveClick();
}

void TForm1::mnuFileCloseClick()
{
    if (RefusedWhileListsBusy())
        return;
    SetLabelText(lblRawCount, "0");
    SetLabelText(lblCheckedCount, "0");
    SetLabelText(lblApprovedCount, "0");
    masterUrls.clear();
    approvedUrls.clear();
    masterDescriptions.clear();
    approvedDescriptions.clear();
    yield.clear();
    ListView1->clear();
    ListView2->clear();
    memPrimarySearchCriteria->clear();
    memSecondarySearchCriteria->clear();
    memExclusionCriteria->clear();
    // Closing is the user's choice to let the lists go: nothing is left to ask about.
    document.closed(ContentDigest());
    ShowRestingTitle();
}

void TForm1::TabSheet4Exit()
{
    if (!butAccept->isEnabled())
        return;
    if (orv::Dialogs::current().confirm("Save Search Criteria?"))
        LoadTheLists();
}
