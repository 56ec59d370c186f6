#include "parse/ResultBlock.h"

#include "core/Text.h"

namespace orv
{

namespace
{

bool lineHas(const std::string& line, const char* text, bool anyCase)
{
    return anyCase ? Pos(text, LowerCase(line)) > 0 : Pos(text, line) > 0;
}

// Index of the first line at or after `from` that holds `text`, or lines.size().
size_t firstLineFrom(const Lines& lines, size_t from, const char* text, bool anyCase)
{
    for (size_t i = from; i < lines.size(); ++i)
        if (lineHas(lines[i], text, anyCase))
            return i;
    return lines.size();
}

} // namespace

BlockRange findBlock(const Lines& lines, const BlockRule& rule, bool firstPage)
{
    if (lines.empty())
        return {};
    const char* startMarker = (!firstPage && rule.laterPageStart) ? rule.laterPageStart : rule.start;
    size_t start = 0;
    if (startMarker) {
        start = firstLineFrom(lines, 0, startMarker, rule.startAnyCase);
        if (start == lines.size()) {
            if (rule.missingStart == MissingStart::EmptyBlock)
                return {};
            start = lines.size() - 1;
        }
    }

    size_t from = 0;
    switch (rule.stopSearch) {
    case StopSearch::FromStartLine:
        from = start;
        break;
    case StopSearch::AfterStartLine:
        from = start + 1;
        break;
    case StopSearch::FromTop:
        from = 0;
        break;
    }
    const size_t stop = firstLineFrom(lines, from, rule.stop, rule.stopAnyCase);
    if (stop == lines.size()) {
        if (rule.missingStopEmptiesBlock)
            return {};
        return { start, lines.size() };
    }
    // A stop line above the start line (searched from the top) leaves no block.
    return { start, rule.stopLineInBlock ? stop + 1 : stop };
}

bool cutLink(const std::string& line, const LinkRule& rule, std::string& url)
{
    const int at = rule.markerExact ? Pos(rule.marker, line) : Pos(rule.marker, LowerCase(line));
    if (at == 0)
        return false;
    if (!rule.excludedLineTexts.empty()) {
        const std::string lower = LowerCase(line);
        for (const char* text : rule.excludedLineTexts)
            if (Pos(text, lower) > 0)
                return false;
    }
    const std::string rest = CopyFrom(line, at + Length(rule.prefix));
    // Without the line's last character when the rule says so; `rest` always
    // runs to the line's end, so that is its own last character.
    const std::string_view searched = rule.endNotOnLastChar && !rest.empty()
        ? std::string_view(rest).substr(0, rest.size() - 1)
        : std::string_view(rest);
    const int endAt = Pos(rule.end, searched);
    // A missing closing text (endAt 0) gives a count below 1: an empty URL.
    url = Copy(rest, 1, endAt - 1 - (rule.dropCharBeforeEnd ? 1 : 0));
    return !(rule.excludedUrlText && Pos(rule.excludedUrlText, url) > 0);
}

void takeLinks(
    const Lines& lines, BlockRange block, const LinkRule& rule, const std::function<void(const std::string&)>& offer)
{
    int taken = 0;
    std::string url;
    for (size_t i = block.first; i < block.end && i < lines.size(); ++i) {
        if (rule.maxPerPage > 0 && taken >= rule.maxPerPage)
            return;
        if (!cutLink(lines[i], rule, url))
            continue;
        offer(url);
        ++taken;
    }
}

} // namespace orv
