#pragma once
// The three word lists and the two tags the primary scan captures, compiled
// once into one multi-pattern search, so that a page is read once for all of
// them. Shared, read only, between the pages of a run and the threads that
// judge them.
#include "core/MultiPatternSearch.h"
#include "verify/Criteria.h"

#include <memory>

namespace orv
{

class CriteriaPatterns
{
public:
    explicit CriteriaPatterns(const WordLists& lists);

    // Where each list's entries lie among the patterns: [begin, end).
    struct Range {
        uint32_t begin = 0;
        uint32_t end = 0;
        bool holds(uint32_t i) const { return i >= begin && i < end; }
        uint32_t size() const { return end - begin; }
    };
    Range exclusion() const { return exclusion_; }
    Range primary() const { return primary_; }
    Range secondary() const { return secondary_; }
    uint32_t titleTag() const { return titleTag_; } // "<title"
    uint32_t metaTag() const { return metaTag_; } // the meta description tag

    const MultiPatternSearch& search() const { return search_; }

private:
    static std::vector<std::string> patternsOf(const WordLists& lists);

    Range exclusion_, primary_, secondary_;
    uint32_t titleTag_ = 0;
    uint32_t metaTag_ = 0;
    MultiPatternSearch search_;
};

// The patterns of `lists`; the last lists compiled are kept and handed out
// again while the lists stay the same, as every page of a run asks for them.
std::shared_ptr<const CriteriaPatterns> CompiledCriteria(const WordLists& lists);

} // namespace orv
