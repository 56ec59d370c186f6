#include "files/ResultsFile.h"

#include "core/Errors.h"
#include "core/Text.h"

#include <algorithm>
#include <array>

namespace orv
{

char statusDigitForText(std::string_view statusText)
{
    static constexpr std::array<std::string_view, 5> kTexts
        = { "Verified", "Timeout", "Error", "Site Not Found", "File Not Found" };
    for (size_t i = 0; i < kTexts.size(); ++i)
        if (statusText == kTexts[i])
            return static_cast<char>('1' + i);
    return '0';
}

std::string urlOfRecord(std::string_view record)
{
    const int at = Pos(kRecordSeparator, record);
    return at == 0 ? std::string() : Copy(record, 1, at - 1);
}

std::string savedMasterLine(const MasterRowState& row)
{
    std::string line = urlOfRecord(row.record);
    line += kRecordSeparator;
    line += row.checked ? '1' : '0';
    line += kRecordSeparator;
    line += statusDigitForText(row.statusText);
    return line;
}

namespace
{

void writeSection(Lines& out, const char* header, const Lines& entries)
{
    out.emplace_back(header);
    out.push_back(IntToStr(static_cast<long long>(entries.size())));
    out.insert(out.end(), entries.begin(), entries.end());
}

void writeCriteria(Lines& out, const CriteriaSections& criteria)
{
    writeSection(out, "Primary", criteria.primary);
    writeSection(out, "Secondary", criteria.secondary);
    writeSection(out, "Exclusion", criteria.exclusion);
}

// Reads lines one after the other; past the end every line reads empty.
class LineReader
{
public:
    explicit LineReader(const Lines& lines)
        : lines_(lines)
    {
    }

    bool atEnd() const { return next_ >= lines_.size(); }
    std::string readLine() { return atEnd() ? std::string() : lines_[next_++]; }
    // The 1-based number of the line read last, and a line by its number.
    int lineNumber() const { return static_cast<int>(next_); }
    std::string lineAt(int number) const
    {
        return number >= 1 && static_cast<size_t>(number) <= lines_.size() ? lines_[static_cast<size_t>(number - 1)]
                                                                           : std::string();
    }

    // One counted section: an ignored header, a count, then that many
    // entries. Throws EConvertError when the count line is not a number;
    // `countLine` is then that line's number.
    Lines readSection(int& countLine, int& pastEnd)
    {
        readLine();
        countLine = lineNumber() + 1;
        const int count = StrToInt(readLine());
        Lines entries;
        pastEnd = 0;
        for (int i = 0; i < count; ++i) {
            if (atEnd() && ++pastEnd > kMaxEntriesPastEnd)
                break;
            entries.push_back(readLine());
        }
        return entries;
    }

private:
    const Lines& lines_;
    size_t next_ = 0;
};

// A hand-written master line that is a URL alone becomes the record of that
// URL, unticked and not verified, so that it keeps its URL when shown and
// saved. Empty lines stay as they are.
void completeBareRecords(Lines& master)
{
    for (std::string& line : master)
        if (!line.empty() && Pos(kRecordSeparator, line) == 0)
            line.append(kRecordSeparator).append("0").append(kRecordSeparator).append("0");
}

// Reads the sections from `first` up to (not including) `last` into `read`,
// stopping at the first bad count line.
void readSections(LineReader& reader, FileRead& read, FileSection last)
{
    for (int s = static_cast<int>(FileSection::Primary); s < static_cast<int>(last); ++s) {
        const auto section = static_cast<FileSection>(s);
        int countLine = 0;
        int pastEnd = 0;
        try {
            Lines entries = reader.readSection(countLine, pastEnd);
            // The last count promises more than the file holds: "End Data"
            // and empty lines would become approved URLs.
            const bool ownEndTaken = reader.atEnd() && !entries.empty() && entries.back() == "End Data";
            if (section == FileSection::ApprovedUrl && (pastEnd > 0 || ownEndTaken)) {
                read.stoppedAt = section;
                read.errorLine = countLine;
                read.refused = true;
                read.error = "the ApprovedUrl count " + Trim(reader.lineAt(countLine))
                    + " is more than the lines that follow it";
                return;
            }
            switch (section) {
            case FileSection::Primary:
                read.criteria.primary = std::move(entries);
                break;
            case FileSection::Secondary:
                read.criteria.secondary = std::move(entries);
                break;
            case FileSection::Exclusion:
                read.criteria.exclusion = std::move(entries);
                break;
            case FileSection::MasterUrl:
                read.master = std::move(entries);
                completeBareRecords(read.master);
                break;
            case FileSection::ApprovedUrl:
                read.approved = std::move(entries);
                break;
            case FileSection::End:
                break;
            }
        } catch (const EConvertError& e) {
            read.stoppedAt = section;
            read.error = e.what();
            read.errorLine = countLine;
            return;
        }
    }
}

} // namespace

Lines writeCriteriaTemplate(const CriteriaSections& criteria)
{
    Lines out;
    writeCriteria(out, criteria);
    out.emplace_back("End Data");
    return out;
}

Lines writeResultsFile(
    const CriteriaSections& criteria, const std::vector<MasterRowState>& master, const Lines& approved)
{
    Lines out;
    writeCriteria(out, criteria);
    out.emplace_back("MasterUrl");
    out.push_back(IntToStr(static_cast<long long>(master.size())));
    for (const MasterRowState& row : master)
        out.push_back(savedMasterLine(row));
    writeSection(out, "ApprovedUrl", approved);
    out.emplace_back("End Data");
    return out;
}

FileRead readCriteriaTemplate(const Lines& fileLines)
{
    FileRead read;
    LineReader reader(fileLines);
    readSections(reader, read, FileSection::MasterUrl);
    return read;
}

FileRead readResultsFile(const Lines& fileLines)
{
    FileRead read;
    LineReader reader(fileLines);
    readSections(reader, read, FileSection::End);
    return read;
}

} // namespace orv
