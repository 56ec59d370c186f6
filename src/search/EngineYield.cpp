#include "search/EngineYield.h"

namespace orv
{

std::string claimedCountText(std::string_view reportLine)
{
    std::string_view text = reportLine;
    const size_t tab = text.rfind('\t');
    if (tab != std::string_view::npos)
        text.remove_prefix(tab + 1);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    for (std::string_view suffix : { std::string_view(" urls"), std::string_view(" url") }) {
        if (text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix) {
            text.remove_suffix(suffix.size());
            break;
        }
    }
    return std::string(text);
}

std::optional<long long> claimedCountValue(std::string_view claimed)
{
    long long value = 0;
    int digits = 0;
    for (const char c : claimed) {
        if (c == ',')
            continue;
        if (c < '0' || c > '9' || ++digits > 18)
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

EngineYield::EngineYield(const LocaleCollation& collation)
    : collation_(&collation)
{
    clear();
}

void EngineYield::clear()
{
    searched_ = false;
    asked_ = 0;
    rows_.assign(kEngineCount, EngineYieldRow {});
    for (Engine e : kAllEngines)
        rowOf(e).engine = e;
    holders_.clear();
}

void EngineYield::startSearch()
{
    clear();
    searched_ = true;
}

void EngineYield::engineAsked(Engine e)
{
    asked_ = static_cast<EngineMask>(asked_ | (1u << engineIndex(e)));
}

void EngineYield::reportLine(Engine e, std::string_view line)
{
    rowOf(e).claimed = claimedCountText(line);
}

void EngineYield::pageFetched(Engine e)
{
    ++rowOf(e).pages;
}

void EngineYield::linkTaken(Engine e, std::string_view url, bool isNew)
{
    EngineYieldRow& row = rowOf(e);
    ++row.links;
    if (isNew)
        ++row.newUrls;
    EngineMask& mask = holders_[collation_->key(url)];
    mask = static_cast<EngineMask>(mask | (1u << engineIndex(e)));
}

EngineYield::EngineMask EngineYield::maskOf(std::string_view url) const
{
    if (holders_.empty())
        return 0;
    const auto found = holders_.find(collation_->key(url));
    return found == holders_.end() ? 0 : found->second;
}

std::vector<Engine> EngineYield::enginesOf(std::string_view url) const
{
    std::vector<Engine> engines;
    const EngineMask mask = maskOf(url);
    for (Engine e : kSearchOrder)
        if (mask & (1u << engineIndex(e)))
            engines.push_back(e);
    return engines;
}

void EngineYield::countOutcomes(const std::vector<RecordOutcome>& records)
{
    for (EngineYieldRow& row : rows_) {
        row.verified = 0;
        row.approved = 0;
    }
    for (const RecordOutcome& record : records) {
        const EngineMask mask = maskOf(record.url);
        for (Engine e : kAllEngines) {
            if (!(mask & (1u << engineIndex(e))))
                continue;
            rowOf(e).verified += record.verified ? 1 : 0;
            rowOf(e).approved += record.approved ? 1 : 0;
        }
    }
}

std::vector<EngineYieldRow> EngineYield::rows() const
{
    std::vector<EngineYieldRow> asked;
    for (Engine e : kSearchOrder)
        if (asked_ & (1u << engineIndex(e)))
            asked.push_back(rows_[static_cast<size_t>(engineIndex(e))]);
    return asked;
}

} // namespace orv
