// Stand-ins for two operations of the criteria subsystem that the file
// commands call. The criteria subsystem replaces this file with its own
// definitions; until then these follow the same rules.
#include "app/TForm1.h"

#include "platform/Latin1.h"
#include "platform/ui/UrlListView.h"

#include <QLabel>
#include <QPlainTextEdit>

void TForm1::LoadTheLists()
{
    criteria = orv::BuildWordLists(orv::fromQ(memPrimarySearchCriteria->toPlainText()),
                                   orv::fromQ(memSecondarySearchCriteria->toPlainText()),
                                   orv::fromQ(memExclusionCriteria->toPlainText()));
}

void TForm1::PopulateTheApprovedBox()
{
    lblCurrentEngine->setText(QStringLiteral("Sorting Data and Removing Duplicates...."));
    lblCurrentEngine->repaint();
    ListView2->beginUpdate();
    ListView2->clear();
    for (int i = 0; i < approvedUrls.count(); ++i)
        ListView2->addRow(approvedUrls.at(i));
    ListView2->endUpdate();
    ShowApprovedCount(approvedUrls.count());
}
