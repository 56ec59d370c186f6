#pragma once
// Cutting the result links out of a page: find the block of lines between a
// start and a stop marker, then take at most one link from each of its lines.
// Every cut stays inside the line it is made from.
#include "core/Lines.h"

#include <functional>
#include <string>
#include <vector>

namespace orv
{

// Where the block begins when its start marker is on no line.
enum class MissingStart {
    EmptyBlock, // no links at all
    LastLine, // the block is the last line alone (up to its stop line)
};

// Where the search for the stop line begins.
enum class StopSearch {
    FromStartLine, // the start line itself may be the stop line
    AfterStartLine,
    FromTop, // the first stop line of the page, wherever the start line is
};

struct BlockRule {
    // nullptr: the block starts on the first line of the page.
    const char* start = nullptr;
    // The start marker of a later page of the run; nullptr: same as `start`.
    const char* laterPageStart = nullptr;
    bool startAnyCase = false;
    MissingStart missingStart = MissingStart::EmptyBlock;

    const char* stop = nullptr;
    bool stopAnyCase = false;
    StopSearch stopSearch = StopSearch::FromStartLine;
    bool stopLineInBlock = false;
    bool missingStopEmptiesBlock = false; // otherwise the block runs to the last line
};

// Lines [first, end) of the page.
struct BlockRange {
    size_t first = 0;
    size_t end = 0;
    bool empty() const { return end <= first; }
};

BlockRange findBlock(const Lines& lines, const BlockRule& rule, bool firstPage);

struct LinkRule {
    // Searched in the lower-case form of the line unless `markerExact`.
    const char* marker = nullptr;
    bool markerExact = false;
    // The part of the marker before the URL, skipped.
    const char* prefix = nullptr;
    // The URL ends before the first `end` after the prefix.
    const char* end = nullptr;
    // The URL also loses the character just before `end` (a closing quote).
    bool dropCharBeforeEnd = false;
    // The line's last character is never part of the search for `end`.
    bool endNotOnLastChar = false;
    // Lines whose lower-case form contains one of these give no link.
    std::vector<const char*> excludedLineTexts;
    // URLs containing this (exact case) are not taken; nullptr: none.
    const char* excludedUrlText = nullptr;
    // Most links taken from one page; 0: no limit.
    int maxPerPage = 0;
};

// The URL the rule cuts from `line`, or nothing when the line holds no link
// marker or is excluded. A marker without its closing text gives "".
bool cutLink(const std::string& line, const LinkRule& rule, std::string& url);

// Cuts the links of the block in line order and hands each to `offer`.
void takeLinks(
    const Lines& lines, BlockRange block, const LinkRule& rule, const std::function<void(const std::string&)>& offer);

} // namespace orv
