// The CSV and JSON exports: every master record with its row's tick and
// status, the engines that found it and its description, for spreadsheets
// and other programs.
#include "app/TForm1.h"

#include "core/Lines.h"
#include "files/DataExports.h"
#include "platform/ui/UrlListView.h"
#include "search/UrlRecord.h"

#include <QRadioButton>

namespace
{

std::vector<orv::ExportRecord> exportRecords(const TForm1& form)
{
    std::vector<orv::ExportRecord> records;
    records.reserve(static_cast<size_t>(form.masterUrls.count()));
    for (int i = 0; i < form.masterUrls.count(); ++i) {
        const std::string& stored = form.masterUrls.at(i);
        orv::ExportRecord record;
        record.url = orv::recordUrl(stored);
        // The row carries the live tick and status, as a saved file takes them.
        if (i < form.ListView1->count()) {
            record.checked = form.ListView1->checked(i);
            record.statusText = form.ListView1->status(i);
            record.reason = form.ListView1->reason(i);
        } else {
            record.checked = orv::recordCheckChar(stored) == '1';
            record.statusText = orv::statusColumnText(orv::recordStatusChar(stored));
        }
        record.approved = form.approvedUrls.indexOf(record.url) >= 0;
        record.engines = form.yield.engineNamesOf(record.url);
        if (static_cast<size_t>(i) < form.masterDescriptions.size())
            record.description = form.masterDescriptions[static_cast<size_t>(i)];
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace

std::string TForm1::CsvExportText() const
{
    return orv::csvExport(exportRecords(*this));
}

std::string TForm1::JsonExportText() const
{
    orv::ExportCriteria accepted;
    accepted.words = { criteria.primary, criteria.secondary, criteria.exclusion };
    accepted.primaryAll = radPrimaryAll->isChecked();
    accepted.secondaryAll = radSecondaryAll->isChecked();
    accepted.exclusionAll = radExclusionAll->isChecked();
    accepted.matchOn = CurrentMatchOn();
    std::vector<orv::ApprovedEntry> approved;
    for (int i = 0; i < approvedUrls.count(); ++i) {
        const auto at = static_cast<size_t>(i);
        approved.push_back({ approvedUrls.at(i), at < approvedDescriptions.size() ? approvedDescriptions[at] : "" });
    }
    return orv::jsonExport(accepted, yield.rows(), exportRecords(*this), approved);
}

void TForm1::ExportData(bool json)
{
    const auto path
        = json ? AskForExportFile("JSON Files |*.json", "json") : AskForExportFile("CSV Files |*.csv", "csv");
    if (!path)
        return;
    orv::SaveFileBytes(*path, json ? JsonExportText() : CsvExportText());
}

void TForm1::mnuFileExportCsvClick()
{
    ExportData(false);
}

void TForm1::mnuFileExportJsonClick()
{
    ExportData(true);
}
