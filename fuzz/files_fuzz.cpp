// libFuzzer target for the readers of the files a user opens: the results
// file, the criteria template and the options file. The first input byte
// picks the reader (even: results file and template, odd: options file); the
// rest is the file. Besides what the sanitizers catch, the target checks that
// an Open followed by a Save keeps what was read:
//  - every well-formed master record writes back to the same line, any other
//    record keeps its URL and is written as a well-formed record;
//  - the saved file reads back whole, with the same criteria, approved URLs
//    and the master lines as saved;
//  - the options file's texts are saved as read, flags as "true"/"false",
//    and the engine rules applied to a maximum read from it stay in bounds.
#include "core/Errors.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "files/OptionsEngineRules.h"
#include "files/OptionsFile.h"
#include "files/ResultsFile.h"
#include "search/UrlList.h"
#include "search/UrlRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isWellFormedRecord(const std::string& line)
{
    const std::string url = orv::urlOfRecord(line);
    if (line.size() != url.size() + 12 || orv::Pos(orv::kRecordSeparator, line) != static_cast<int>(url.size()) + 1)
        return false;
    const char check = line[url.size() + 5];
    const char status = line[url.size() + 11];
    return line.compare(url.size() + 6, 5, orv::kRecordSeparator) == 0 && (check == '0' || check == '1')
        && status >= '0' && status <= '5';
}

// The row the results view shows for a record, as the view builds it.
orv::MasterRowState rowOf(const std::string& record)
{
    return { record, orv::recordCheckChar(record) == '1', orv::statusColumnText(orv::recordStatusChar(record)) };
}

struct SavedFile {
    orv::Lines lines;
    orv::Lines master; // the master lines as saved
};

// Open, then Save: the records go through the sorted lists and the view.
SavedFile openAndSave(const orv::FileRead& read)
{
    SavedFile out;
    orv::UrlList master, approved;
    for (const std::string& line : read.master)
        master.add(line);
    for (const std::string& line : read.approved)
        approved.add(line);
    std::vector<orv::MasterRowState> rows;
    for (const std::string& record : master.records()) {
        rows.push_back(rowOf(record));
        const std::string saved = orv::savedMasterLine(rows.back());
        require(orv::urlOfRecord(saved) == orv::urlOfRecord(record));
        require(orv::recordUrl(record) == orv::urlOfRecord(record));
        require(isWellFormedRecord(saved));
        if (isWellFormedRecord(record))
            require(saved == record);
        out.master.push_back(saved);
    }
    out.lines = orv::writeResultsFile(read.criteria, rows, approved.records());
    return out;
}

void sectionsAfterStopAreEmpty(const orv::FileRead& read)
{
    using S = orv::FileSection;
    const S stop = read.stoppedAt;
    require(read.complete() == read.error.empty());
    if (stop <= S::Primary)
        require(read.criteria.primary.empty());
    if (stop <= S::Secondary)
        require(read.criteria.secondary.empty());
    if (stop <= S::Exclusion)
        require(read.criteria.exclusion.empty());
    if (stop <= S::MasterUrl)
        require(read.master.empty());
    if (stop <= S::ApprovedUrl)
        require(read.approved.empty());
}

void checkResultsFile(const orv::Lines& lines)
{
    const orv::FileRead read = orv::readResultsFile(lines);
    sectionsAfterStopAreEmpty(read);
    // A damaged count may pad a section, but only so far.
    const size_t bound = lines.size() + static_cast<size_t>(orv::kMaxEntriesPastEnd);
    require(read.master.size() <= bound && read.approved.size() <= bound);

    const orv::FileRead asTemplate = orv::readCriteriaTemplate(lines);
    sectionsAfterStopAreEmpty(asTemplate);
    require(asTemplate.criteria == read.criteria);
    require(asTemplate.master.empty() && asTemplate.approved.empty());

    // Past this size the round trip only repeats what smaller files show,
    // at a cost that would slow the search down.
    const size_t entries = read.criteria.primary.size() + read.criteria.secondary.size()
        + read.criteria.exclusion.size() + read.master.size() + read.approved.size();
    if (entries > 2000)
        return;

    const SavedFile saved = openAndSave(read);
    const orv::FileRead again = orv::readResultsFile(orv::SplitLines(orv::JoinLines(saved.lines)));
    require(again.complete());
    require(again.criteria == read.criteria);
    orv::UrlList approved;
    for (const std::string& line : read.approved)
        approved.add(line);
    require(again.approved == approved.records());
    require(again.master == saved.master);

    const orv::Lines savedTemplate = orv::writeCriteriaTemplate(read.criteria);
    const orv::FileRead templateAgain = orv::readCriteriaTemplate(orv::SplitLines(orv::JoinLines(savedTemplate)));
    require(templateAgain.complete() && templateAgain.criteria == read.criteria);
}

// Runs a box rule on a text read from the file; a text that is not a number
// raises EConvertError and the box keeps its text.
template <typename Rule> void boxRule(Rule rule)
{
    try {
        rule();
    } catch (const orv::EConvertError&) {
    }
}

void checkEngineRules(const orv::Options& options)
{
    for (orv::Engine e : orv::kAllEngines) {
        const std::string& text = options.maxOf(e);
        boxRule([&] {
            const std::string left = orv::EngineLeaveRule(e, text);
            int value = 0;
            if (orv::EngineHasLeaveRule(e) && e != orv::Engine::Thunderstone)
                require(orv::TryStrToInt(left, value) && value >= 10 && value <= orv::kEngineMaxLimit);
        });
        boxRule([&] {
            const std::string typed = orv::EngineTypingRule(e, text);
            int value = 0;
            if (orv::EngineHasTypingRule(e))
                require(orv::TryStrToInt(typed, value) && value <= orv::kEngineMaxLimit);
        });
        boxRule([&] { (void)orv::EngineSpinUp(e, text); });
        boxRule([&] { (void)orv::EngineSpinDown(e, text); });
    }
}

void checkOptionsFile(const orv::Lines& lines)
{
    // The last line (parallel fetches) is optional and saved as the number it was read as.
    const size_t kLinesRequired = static_cast<size_t>(orv::kOptionsRequiredLineCount);
    const size_t kParallelLine = kLinesRequired;
    const size_t kHttp11Line = kParallelLine + 1;
    const size_t kMatchLine = kHttp11Line + 1;
    orv::Options options;
    bool complete = true;
    try {
        orv::OptionsFromLines(lines, options);
    } catch (const orv::EListError& e) {
        complete = false;
        require(lines.size() < kLinesRequired);
        require(std::string_view(e.what()) == "List index out of bounds (" + orv::IntToStr(lines.size()) + ")");
    }
    require(complete == (lines.size() >= kLinesRequired));

    // Every line that was read is saved as read; flags become "true"/"false".
    const orv::Lines saved = orv::OptionsToLines(options);
    require(saved.size() == static_cast<size_t>(orv::kOptionsLineCount));
    for (size_t i = 0; i < lines.size() && i < saved.size(); ++i) {
        if (i <= 10)
            require(saved[i] == (lines[i] == "true" ? "true" : "false"));
        else if (i == kParallelLine)
            require(saved[i] == orv::IntToStr(orv::ParallelFetchesFromText(lines[i])));
        else if (i == kHttp11Line)
            require(saved[i] == (lines[i] == "true" ? "true" : "false"));
        else if (i == kMatchLine)
            require(saved[i] == orv::MatchOnText(orv::MatchOnFromText(lines[i])));
        else
            require(saved[i] == lines[i]);
    }
    orv::Options again;
    orv::OptionsFromLines(orv::SplitLines(orv::JoinLines(saved)), again);
    require(orv::OptionsToLines(again) == saved);
    checkEngineRules(options);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    const orv::Lines lines = orv::SplitLines(file);
    if (data[0] % 2 == 0)
        checkResultsFile(lines);
    else
        checkOptionsFile(lines);
    return 0;
}
