#pragma once
// The two exports for other programs: CSV (RFC 4180) and JSON, both UTF-8.
// The lists hold UTF-8 and go out as they are; a byte that is not UTF-8
// becomes U+FFFD, so whatever a page or a file put into them gives a valid
// file.
#include "files/ResultsFile.h"
#include "search/EngineYield.h"
#include "verify/PageJudge.h"

#include <string>
#include <vector>

namespace orv
{

// One master record as the exports show it.
struct ExportRecord {
    std::string url;
    std::string statusText; // as the Status column shows it
    bool checked = false;
    bool approved = false;
    std::vector<std::string> engines; // captions of the engines whose pages held it
    std::string description;
    std::string reason = {}; // why the row ended in "Error"; empty otherwise
};

struct ApprovedEntry {
    std::string url;
    std::string description;
};

// The accepted criteria and each list's "All Words" choice.
struct ExportCriteria {
    CriteriaSections words;
    bool primaryAll = false;
    bool secondaryAll = false;
    bool exclusionAll = false;
    MatchOn matchOn = MatchOn::PageSource;
};

// "url,status,checked,approved,engines,description,reason" and one line per
// record, lines ended by CR LF; engines joined by ";". A description that a
// spreadsheet would run as a formula (it begins with "=", "+", "-", "@", a
// tab or a carriage return) is written after an apostrophe.
std::string csvExport(const std::vector<ExportRecord>& records);

// An object with "criteria", "engines", "results" and "approved"; ends in
// a line feed.
std::string jsonExport(const ExportCriteria& criteria, const std::vector<EngineYieldRow>& engines,
    const std::vector<ExportRecord>& records, const std::vector<ApprovedEntry>& approved);

// A JSON string literal, quotes included; ill-formed UTF-8 becomes U+FFFD.
std::string jsonString(std::string_view text);

} // namespace orv
