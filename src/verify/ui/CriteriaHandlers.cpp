// The "Search Criteria" tab: accepting the three boxes, and the change
// handlers that make Accept available again.
#include "app/TForm1.h"

#include "app/controls/PageControl.h"
#include "platform/Dialogs.h"
#include "platform/WidgetText.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

void TForm1::butAcceptClick()
{
    if (memPrimarySearchCriteria->toPlainText().isEmpty()) {
        orv::Dialogs::current().notice("Please specify a Primary Search Criteria ");
        memPrimarySearchCriteria->setFocus();
        return;
    }
    LoadTheLists();
    butAccept->setEnabled(false);
    Page1->setCurrentWidget(TabSheet1);
    placePage1(100);
}

void TForm1::LoadTheLists()
{
    criteria = orv::BuildWordLists(orv::fromQ(memPrimarySearchCriteria->toPlainText()),
        orv::fromQ(memSecondarySearchCriteria->toPlainText()), orv::fromQ(memExclusionCriteria->toPlainText()));
}

void TForm1::memPrimarySearchCriteriaChange()
{
    butAccept->setEnabled(true);
}

void TForm1::memSecondarySearchCriteriaChange()
{
    butAccept->setEnabled(true);
}

void TForm1::memExclusionCriteriaChange()
{
    butAccept->setEnabled(true);
}

orv::ScanModes TForm1::CurrentScanModes() const
{
    // The radio pairs act at once, also in the middle of a run: they are read
    // for every page scanned, not when the criteria are accepted.
    orv::ScanModes modes;
    modes.primary = radPrimaryAll->isChecked() ? orv::MatchMode::All : orv::MatchMode::Any;
    modes.secondary = radSecondaryAll->isChecked() ? orv::MatchMode::All : orv::MatchMode::Any;
    return modes;
}

orv::MatchOn TForm1::CurrentMatchOn() const
{
    // Read per page like the radio pairs.
    return cboMatchOn->currentIndex() == 1 ? orv::MatchOn::PageSource : orv::MatchOn::PageText;
}

void TForm1::cboMatchOnActivated()
{
    // A choice of the user's is kept at once; a batch run that sets the box
    // for itself does not activate it.
    SaveOptions();
}
