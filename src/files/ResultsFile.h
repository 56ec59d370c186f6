#pragma once
// The results file (*.rst) and the criteria template (*.cri): plain text files
// of counted sections. Writing turns the lists into lines; reading turns lines
// back into lists and says where it stopped, so that a command stopped by a
// bad count line can keep what was read before it.
#include "core/Lines.h"
#include "search/UrlRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv
{

// The three accepted word lists, as both files store them.
struct CriteriaSections {
    Lines primary;
    Lines secondary;
    Lines exclusion;

    bool operator==(const CriteriaSections&) const = default;
};

// One master row as the results view shows it: the stored record, and the
// tick and status text that the user sees (these win over the record's digits).
struct MasterRowState {
    std::string record;
    bool checked = false;
    std::string statusText;
};

// The digit a status text is saved as: "Verified" 1 ... "File Not Found" 5,
// any other text 0.
char statusDigitForText(std::string_view statusText);

// The URL of a master record: the text before its first record separator, or
// empty when the record has none.
std::string urlOfRecord(std::string_view record);

// The line a master row is saved as: URL, ",,,,,", check digit, ",,,,,",
// status digit.
std::string savedMasterLine(const MasterRowState& row);

Lines writeCriteriaTemplate(const CriteriaSections& criteria);
Lines writeResultsFile(
    const CriteriaSections& criteria, const std::vector<MasterRowState>& master, const Lines& approved);

// The sections of the files in reading order; `End` means read through.
enum class FileSection { Primary, Secondary, Exclusion, MasterUrl, ApprovedUrl, End };

// What a reader took from a file. Every section before `stoppedAt` was read
// whole; `stoppedAt` and the sections after it are empty.
struct FileRead {
    CriteriaSections criteria;
    Lines master; // master lines as read, duplicates included; a URL alone
                  // is completed to an unticked, unverified record
    Lines approved; // approved lines as read
    FileSection stoppedAt = FileSection::End;
    std::string error; // the count line's conversion error; empty when read through
    int errorLine = 0; // the 1-based number of the count line that stopped the reading
    // The file contradicts itself (an approved count beyond its end): it is
    // refused whole, and nothing read from it is to be taken.
    bool refused = false;

    bool complete() const { return stoppedAt == FileSection::End; }
};

// Reads the three criteria sections; nothing after them is looked at.
FileRead readCriteriaTemplate(const Lines& fileLines);
// Reads the criteria sections, then the master and approved sections. The
// closing "End Data" line is not read.
FileRead readResultsFile(const Lines& fileLines);

// Lines a section promises beyond the end of the file read as empty entries;
// past this many the reader stops padding, so that a damaged count cannot make
// it fill memory with empty entries.
inline constexpr int kMaxEntriesPastEnd = 10000;

} // namespace orv
