// The master URL list as the main window shows it: offering found URLs,
// rebuilding the results view, and the counters of the "Main" tab.
#include "app/TForm1.h"
#include "core/Text.h"
#include "platform/WidgetText.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QLabel>

namespace {

// Places `caption` `gap` pixels right of `number`, on its own line.
void moveBeside(QLabel* caption, const QLabel* number, int gap)
{
    caption->move(number->x() + number->width() + gap, caption->y());
}

} // namespace

void TForm1::SetLabelText(QLabel* label, const std::string& text)
{
    label->setText(orv::toQ(text));
    label->adjustSize();
}

void TForm1::ShowRawCount()
{
    SetLabelText(lblRawCount, orv::IntToStr(masterUrls.count()));
    lblRawCount->repaint();
    moveBeside(lblMaster, lblRawCount, 10);
    rawCountShown_.start();
    rawCountPending_ = false;
}

void TForm1::ShowRawCountThrottled()
{
    // A parse offers URLs without returning to the event loop, so the count
    // is painted at once; but a screen shows at most one frame per
    // kRawCountFrameMs, and painting after every offer would cost more than
    // the offers themselves.
    if (rawCountShown_.isValid() && rawCountShown_.elapsed() < kRawCountFrameMs) {
        rawCountPending_ = true;
        return;
    }
    ShowRawCount();
}

void TForm1::ShowPendingRawCount()
{
    if (rawCountPending_)
        ShowRawCount();
}

void TForm1::UpdateMasterUrlList(const std::string& offered)
{
    std::string url = offered;
    if (orv::EndsWith(url, "/"))
        orv::Delete(url, orv::Length(url), 1);
    ListView1->addRow(url, std::string(orv::kUnverifiedText), false);
    // An https URL keeps its own scheme; anything else is taken as http.
    if (orv::Copy(url, 1, 5) != "http:" && orv::Copy(url, 1, 6) != "https:")
        url = "http://" + url;
    // A page could otherwise forge the check and status fields of its own
    // record, or split it over two lines of the results file.
    const bool added = orv::fitsInRecord(url) && masterUrls.add(url + std::string(orv::kNewRecordFields)).added;
    if (searchingEngine)
        yield.linkTaken(*searchingEngine, url, added);
    else if (searchingDefined)
        yield.linkTaken(*searchingDefined, url, added);
    ++urlsOffered;
    masterDescriptions.emplace_back("No Description");
    ShowRawCountThrottled();
}

void TForm1::PopulateListBox()
{
    lblCurrentEngine->setText(QStringLiteral("Sorting Data and Removing Duplicates...."));
    lblCurrentEngine->repaint();

    ListView1->hide();
    ListView1->clear();
    SetLabelText(lblCheckedCount, "0");
    int checked = 0;
    ListView1->beginUpdate();
    for (int i = 0; i < masterUrls.count(); ++i) {
        const std::string& record = masterUrls.at(i);
        const bool ticked = orv::recordCheckChar(record) == '1';
        ListView1->addRow(orv::recordUrl(record), orv::statusColumnText(orv::recordStatusChar(record)), ticked);
        if (ticked)
            ++checked;
    }
    ListView1->endUpdate();
    SetLabelText(lblCheckedCount, orv::IntToStr(checked));
    ListView1->show();

    SetLabelText(lblRawCount, orv::IntToStr(masterUrls.count()));
    rawCountPending_ = false;
    SetLabelText(lblMaster, masterUrls.count() >= 2 ? " Total Urls" : "  Url");
    moveBeside(lblMaster, lblRawCount, 10);
    lblMaster->repaint();
}

void TForm1::ShowApprovedCount(int count)
{
    SetLabelText(lblApprovedCount, orv::IntToStr(count));
    lblApprovedCount->repaint();
    moveBeside(lblConfirmed, lblApprovedCount, 6);
}

void TForm1::ShowCheckedCount()
{
    SetLabelText(lblCheckedCount, orv::IntToStr(ListView1->checkedCount()));
    lblCheckedCount->repaint();
}
