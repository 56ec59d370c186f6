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
    asked_.assign(kEngineCount, false);
    rows_.assign(kEngineCount, EngineYieldRow {});
    for (Engine e : kAllEngines)
        rowOf(drawnEngineId(e)).engine = e;
    holders_.clear();
}

void EngineYield::startSearch()
{
    clear();
    searched_ = true;
}

EngineYieldRow& EngineYield::rowOf(EngineId id)
{
    const size_t at = static_cast<size_t>(std::max(id, 0));
    if (at >= rows_.size()) {
        rows_.resize(at + 1);
        asked_.resize(at + 1, false);
    }
    return rows_[at];
}

void EngineYield::engineAsked(EngineId id, const std::string& name)
{
    EngineYieldRow& row = rowOf(id);
    if (id >= kEngineCount)
        row.name = name;
    asked_[static_cast<size_t>(id)] = true;
}

void EngineYield::reportLine(EngineId id, std::string_view line)
{
    rowOf(id).claimed = claimedCountText(line);
}

void EngineYield::pageFetched(EngineId id)
{
    ++rowOf(id).pages;
}

void EngineYield::blocked(EngineId id, const std::string& reason)
{
    EngineYieldRow& row = rowOf(id);
    row.blocked = true;
    row.reason = reason;
}

void EngineYield::linkTaken(EngineId id, std::string_view url, bool isNew)
{
    EngineYieldRow& row = rowOf(id);
    ++row.links;
    if (isNew)
        ++row.newUrls;
    Holders& holders = holders_[collation_->key(url)];
    const auto at = std::lower_bound(holders.begin(), holders.end(), id);
    if (at == holders.end() || *at != id)
        holders.insert(at, id);
}

const EngineYield::Holders* EngineYield::holdersOf(std::string_view url) const
{
    if (holders_.empty())
        return nullptr;
    const auto found = holders_.find(collation_->key(url));
    return found == holders_.end() ? nullptr : &found->second;
}

std::vector<EngineId> EngineYield::listOrder() const
{
    std::vector<EngineId> order;
    for (Engine e : kSearchOrder)
        order.push_back(drawnEngineId(e));
    for (EngineId id = kEngineCount; id < static_cast<EngineId>(rows_.size()); ++id)
        order.push_back(id);
    return order;
}

std::vector<Engine> EngineYield::enginesOf(std::string_view url) const
{
    std::vector<Engine> engines;
    const Holders* holders = holdersOf(url);
    if (!holders)
        return engines;
    for (Engine e : kSearchOrder)
        if (std::binary_search(holders->begin(), holders->end(), drawnEngineId(e)))
            engines.push_back(e);
    return engines;
}

std::vector<std::string> EngineYield::engineNamesOf(std::string_view url) const
{
    std::vector<std::string> names;
    const Holders* holders = holdersOf(url);
    if (!holders)
        return names;
    for (EngineId id : listOrder())
        if (std::binary_search(holders->begin(), holders->end(), id))
            names.push_back(rows_[static_cast<size_t>(id)].displayName());
    return names;
}

void EngineYield::countOutcomes(const std::vector<RecordOutcome>& records)
{
    for (EngineYieldRow& row : rows_) {
        row.verified = 0;
        row.approved = 0;
    }
    for (const RecordOutcome& record : records) {
        const Holders* holders = holdersOf(record.url);
        if (!holders)
            continue;
        for (EngineId id : *holders) {
            rows_[static_cast<size_t>(id)].verified += record.verified ? 1 : 0;
            rows_[static_cast<size_t>(id)].approved += record.approved ? 1 : 0;
        }
    }
}

std::vector<EngineYieldRow> EngineYield::rows() const
{
    std::vector<EngineYieldRow> asked;
    for (EngineId id : listOrder())
        if (asked_[static_cast<size_t>(id)])
            asked.push_back(rows_[static_cast<size_t>(id)]);
    return asked;
}

} // namespace orv
