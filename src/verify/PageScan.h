#pragma once
// The page scan: one downloaded page judged against the word lists. A
// criterion is found when its text, with only the ASCII capitals lowered,
// occurs inside one lowered line of the page; there are no word boundaries,
// markup is searched like text, and a phrase split over two lines is not
// found. The scans also capture the page's title or meta description.
#include "core/Lines.h"
#include "core/MultiPatternSearch.h"
#include "verify/Criteria.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

class CriteriaPatterns;

enum class MatchMode { Any, All };

// A page split into lines (CR, LF or CR LF; a NUL ends the text), kept both
// as received and lowered, so that the three scans lower it only once.
class PageText
{
public:
    PageText() = default;
    explicit PageText(Lines lines);
    static PageText fromBytes(std::string_view bytes);

    const Lines& lines() const { return lines_; }
    const Lines& lowered() const { return lowered_; }

private:
    Lines lines_;
    Lines lowered_;
};

// Whether `loweredCriterion` occurs in one of the lowered lines. An empty
// criterion is never found.
bool CriterionFound(std::string_view loweredCriterion, const PageText& page);

// True as soon as one exclusion criterion is found; an empty list never
// excludes.
bool ScanForExclusion(const PageText& page, const Lines& exclusion);

// Primary criteria lose their double quotes before they are matched, so a
// phrase quoted for the engines matches without them. Any: one found entry
// passes; All: every entry must be found, so an empty line (never found)
// fails every page. An empty list never passes.
bool ScanPrimary(const PageText& page, const Lines& primary, MatchMode mode);

// Secondary criteria keep their quotes. An empty list always passes.
bool ScanSecondary(const PageText& page, const Lines& secondary, MatchMode mode);

// The text after the first "<title" (taken as a bare "<title>" tag) up to
// "</title" on the same line; empty when the closing tag is not on that
// line. nullopt when no line holds "<title".
std::optional<std::string> CaptureTitle(const PageText& page);

// The content of the first `<meta name="description" content="` tag: the
// text after the opening quote up to the next double quote; on a line
// without one, the rest of the line less its last three characters.
// nullopt when no line holds the tag.
std::optional<std::string> CaptureMetaDescription(const PageText& page);

// The description the primary scan stores for a page: the meta description
// when there is one, else the title, else nothing (the stored one stays).
std::optional<std::string> CaptureDescription(const PageText& page);

struct ScanModes {
    MatchMode primary = MatchMode::Any;
    MatchMode secondary = MatchMode::Any;
};

// What the three scans found on one page, run in their fixed order: the
// exclusion scan; the primary scan only for a page not excluded; the
// secondary scan only for a page that passed the primary scan.
struct ScanVerdict {
    bool excluded = false;
    bool primaryPass = false;
    bool secondaryPass = false;
    // Set when the primary scan ran: the text for the page's entry of the
    // master description list (nullopt: leave the entry as it is).
    std::optional<std::string> description;
    bool primaryScanned = false;

    bool approved() const { return secondaryPass; }
};

ScanVerdict ScanPage(const PageText& page, const WordLists& lists, ScanModes modes);

// Which entries of one criteria list occur in the lines seen so far; each
// entry counts at most once per page, and an empty entry is never found.
class CriteriaMatch
{
public:
    // `dropQuotes`: the entries lose their double quotes first (Primary).
    CriteriaMatch(const Lines& entries, bool dropQuotes);

    // Notes the entries that the line holds, in any ASCII case; true when it
    // held one not noted before.
    bool addLine(std::string_view line);
    size_t found() const { return found_; }
    size_t entries() const { return seen_.size(); }

private:
    MultiPatternSearch search_;
    std::vector<bool> seen_;
    size_t found_ = 0;
};

// The three scans over a page that arrives in pieces of any size, all
// criteria found in one pass over the bytes as received: no copy of the page
// or its lines is made, only the line that holds a captured tag is kept.
// Lines end at CR, LF or CR LF and a NUL ends the text, as in PageText; the
// verdict is the one ScanPage gives for the same bytes.
class PageScanner
{
public:
    explicit PageScanner(const WordLists& lists);
    explicit PageScanner(std::shared_ptr<const CriteriaPatterns> patterns);

    // Takes the next bytes; false once the verdict can no longer change (an
    // exclusion criterion was found, or a NUL ended the text), so the rest
    // need not be read.
    bool add(std::string_view bytes);
    // Takes one line without its line break.
    bool addLine(std::string_view line);
    // Ends the page; the modes are read now, as the scans read the radio
    // pairs when they run.
    ScanVerdict verdict(ScanModes modes);

private:
    void noteFound(bool& titleTag, bool& metaTag);
    // A tag ended just before `end` of `bytes`; `from` is where the line in
    // capture continues in them.
    void captureTagLine(std::string_view bytes, size_t end, size_t& from, bool titleTag, bool metaTag);
    void endCapture();
    bool tagsPending() const;

    std::shared_ptr<const CriteriaPatterns> patterns_;
    MultiPatternSearch::State state_ = MultiPatternSearch::Start();
    std::vector<bool> found_;
    std::vector<uint32_t> newly_;
    size_t primaryFound_ = 0;
    size_t secondaryFound_ = 0;
    bool excluded_ = false;
    bool ended_ = false;
    std::optional<std::string> title_;
    std::optional<std::string> meta_;
    // The start of the current line from earlier pieces, kept while a tag
    // may still be found on it.
    std::string carry_;
    // The line that holds a tag, gathered until it ends.
    std::string captureLine_;
    bool capturing_ = false;
    bool captureTitle_ = false;
    bool captureMeta_ = false;
};

// Scans the page file at `path` line by line. Throws EInOutError when the
// file cannot be opened or read.
ScanVerdict ScanPageFile(const std::string& path, const WordLists& lists, ScanModes modes);

} // namespace orv
