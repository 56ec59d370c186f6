#include "verify/Criteria.h"

namespace orv
{

Lines CriteriaLines(std::string_view boxText)
{
    Lines lines = SplitLines(boxText);
    for (auto& line : lines)
        if (line.size() > kCriterionMaxLength)
            line.resize(kCriterionMaxLength);
    return lines;
}

std::string CriteriaBoxText(const Lines& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    if (!lines.empty() && lines.back().empty())
        text += '\n';
    return text;
}

std::string BuildQueryText(const Lines& primary)
{
    // Every entry is followed by a blank, every blank becomes "+", and the
    // trailing one is dropped: blanks inside a line and empty lines both
    // leave their plus signs in place.
    std::string query;
    for (const auto& entry : primary) {
        query += entry;
        query += ' ';
    }
    for (char& c : query)
        if (c == ' ')
            c = '+';
    if (!query.empty())
        query.pop_back();
    return query;
}

std::string QuoteEscapeQueryText(std::string_view queryText)
{
    std::string escaped;
    escaped.reserve(queryText.size());
    for (char c : queryText) {
        if (c == '"')
            escaped += "%22";
        else
            escaped += c;
    }
    return escaped;
}

namespace
{

Lines nonEmpty(Lines lines)
{
    Lines kept;
    kept.reserve(lines.size());
    for (auto& line : lines)
        if (!line.empty())
            kept.push_back(std::move(line));
    return kept;
}

} // namespace

WordLists BuildWordLists(std::string_view primaryText, std::string_view secondaryText, std::string_view exclusionText)
{
    WordLists lists;
    lists.primary = CriteriaLines(primaryText);
    lists.queryText = BuildQueryText(lists.primary);
    lists.quotedQueryText = QuoteEscapeQueryText(lists.queryText);
    lists.secondary = nonEmpty(CriteriaLines(secondaryText));
    lists.exclusion = nonEmpty(CriteriaLines(exclusionText));
    return lists;
}

} // namespace orv
