#include "verify/CriteriaPatterns.h"

#include "verify/CaptureTags.h"

#include <mutex>

namespace orv
{

namespace
{

// A page line never holds a line break or a NUL, so an entry with one is
// never found; it stays in its list as an empty pattern, which is never
// found either, and the line breaks keep resetting the search.
std::string patternOf(std::string_view entry, bool dropQuotes)
{
    std::string out;
    out.reserve(entry.size());
    for (char c : entry) {
        if (c == '\r' || c == '\n' || c == '\0')
            return {};
        if (!(dropQuotes && c == '"'))
            out += c;
    }
    return out;
}

void append(std::vector<std::string>& patterns, const Lines& entries, bool dropQuotes)
{
    for (const auto& entry : entries)
        patterns.push_back(patternOf(entry, dropQuotes));
}

} // namespace

std::vector<std::string> CriteriaPatterns::patternsOf(const WordLists& lists)
{
    std::vector<std::string> patterns;
    patterns.reserve(lists.exclusion.size() + lists.primary.size() + lists.secondary.size() + 2);
    append(patterns, lists.exclusion, false);
    // Primary criteria lose their double quotes, so that a phrase quoted for
    // the engines matches without them; the others keep theirs.
    append(patterns, lists.primary, true);
    append(patterns, lists.secondary, false);
    patterns.emplace_back(kTitleOpen);
    patterns.emplace_back(kMetaDescription);
    return patterns;
}

CriteriaPatterns::CriteriaPatterns(const WordLists& lists)
    : search_(patternsOf(lists), MultiPatternSearch::Fold::AsciiCase)
{
    const auto count = [](const Lines& l) { return static_cast<uint32_t>(l.size()); };
    exclusion_ = { 0, count(lists.exclusion) };
    primary_ = { exclusion_.end, exclusion_.end + count(lists.primary) };
    secondary_ = { primary_.end, primary_.end + count(lists.secondary) };
    titleTag_ = secondary_.end;
    metaTag_ = titleTag_ + 1;
}

std::shared_ptr<const CriteriaPatterns> CompiledCriteria(const WordLists& lists)
{
    static std::mutex mutex;
    static WordLists lastLists;
    static std::shared_ptr<const CriteriaPatterns> last;
    const std::lock_guard lock(mutex);
    if (!last || lastLists.exclusion != lists.exclusion || lastLists.primary != lists.primary
        || lastLists.secondary != lists.secondary) {
        last = std::make_shared<const CriteriaPatterns>(lists);
        lastLists = lists;
    }
    return last;
}

} // namespace orv
