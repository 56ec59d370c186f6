#pragma once
// The page scan: one downloaded page judged against the word lists. A
// criterion is found when its text, with only the ASCII capitals lowered,
// occurs inside one lowered line of the page; there are no word boundaries,
// markup is searched like text, and a phrase split over two lines is not
// found. The scans also capture the page's title or meta description.
#include "core/Lines.h"
#include "verify/Criteria.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

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

    // Notes the entries that the lowered line holds; true when it held one.
    bool addLoweredLine(std::string_view loweredLine);
    size_t found() const { return found_; }
    size_t entries() const { return lowered_.size(); }

private:
    std::vector<std::string> lowered_;
    std::vector<bool> seen_;
    size_t found_ = 0;
};

// The same scans over a page that arrives one line at a time, holding one
// line and the criteria only, so that memory does not grow with the page.
// Gives the verdict ScanPage gives for the same lines.
class PageScanner
{
public:
    explicit PageScanner(const WordLists& lists);

    // Takes the next line; false once the verdict can no longer change (an
    // exclusion criterion was found), so the rest need not be read.
    bool addLine(std::string_view line);
    // The modes are read now, as the scans read the radio pairs when they run.
    ScanVerdict verdict(ScanModes modes) const;

private:
    CriteriaMatch exclusion_;
    CriteriaMatch primary_;
    CriteriaMatch secondary_;
    bool excluded_ = false;
    std::optional<std::string> title_;
    std::optional<std::string> meta_;
    std::string lowered_; // the current line, lowered; kept to reuse its memory
};

// Scans the page file at `path` line by line. Throws EInOutError when the
// file cannot be opened or read.
ScanVerdict ScanPageFile(const std::string& path, const WordLists& lists, ScanModes modes);

} // namespace orv
