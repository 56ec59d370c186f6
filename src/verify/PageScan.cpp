#include "verify/PageScan.h"

#include "core/Text.h"

namespace orv
{

namespace
{

constexpr std::string_view kTitleOpen = "<title";
constexpr std::string_view kTitleClose = "</title";
constexpr std::string_view kMetaDescription = "<meta name=\"description\" content=\"";

std::string withoutQuotes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

// Counts the entries found; `prepare` turns an entry into the lowered text
// that is searched for.
template <typename Prepare> size_t countFound(const PageText& page, const Lines& entries, Prepare prepare)
{
    size_t found = 0;
    for (const auto& entry : entries)
        if (CriterionFound(prepare(entry), page))
            ++found;
    return found;
}

bool judge(size_t found, size_t entries, MatchMode mode)
{
    if (mode == MatchMode::All)
        return found > 0 && found == entries;
    return found > 0;
}

// The first line whose lowered text holds `marker`: its index and the
// 1-based position of the marker, or nullopt.
std::optional<std::pair<size_t, int>> firstLineWith(const PageText& page, std::string_view marker)
{
    const Lines& lowered = page.lowered();
    for (size_t i = 0; i < lowered.size(); ++i)
        if (const int p = Pos(marker, lowered[i]); p > 0)
            return std::make_pair(i, p);
    return std::nullopt;
}

} // namespace

PageText::PageText(Lines lines)
    : lines_(std::move(lines))
{
    lowered_.reserve(lines_.size());
    for (const auto& line : lines_)
        lowered_.push_back(LowerCase(line));
}

PageText PageText::fromBytes(std::string_view bytes)
{
    return PageText(SplitLines(bytes));
}

bool CriterionFound(std::string_view loweredCriterion, const PageText& page)
{
    if (loweredCriterion.empty())
        return false;
    for (const auto& line : page.lowered())
        if (line.find(loweredCriterion) != std::string::npos)
            return true;
    return false;
}

bool ScanForExclusion(const PageText& page, const Lines& exclusion)
{
    for (const auto& entry : exclusion)
        if (CriterionFound(LowerCase(entry), page))
            return true;
    return false;
}

bool ScanPrimary(const PageText& page, const Lines& primary, MatchMode mode)
{
    const size_t found = countFound(page, primary, [](const std::string& e) { return LowerCase(withoutQuotes(e)); });
    return judge(found, primary.size(), mode);
}

bool ScanSecondary(const PageText& page, const Lines& secondary, MatchMode mode)
{
    if (secondary.empty())
        return true;
    const size_t found = countFound(page, secondary, [](const std::string& e) { return LowerCase(e); });
    return judge(found, secondary.size(), mode);
}

std::optional<std::string> CaptureTitle(const PageText& page)
{
    const auto hit = firstLineWith(page, kTitleOpen);
    if (!hit)
        return std::nullopt;
    // Position p + 7 is the first character after a bare "<title>" tag.
    const std::string rest = CopyFrom(page.lines()[hit->first], hit->second + 7);
    const int close = Pos(kTitleClose, LowerCase(rest));
    if (close == 0)
        return std::string();
    return Copy(rest, 1, close - 1);
}

std::optional<std::string> CaptureMetaDescription(const PageText& page)
{
    const auto hit = firstLineWith(page, kMetaDescription);
    if (!hit)
        return std::nullopt;
    const std::string& line = page.lines()[hit->first];
    const int p = hit->second;
    const int from = p + static_cast<int>(kMetaDescription.size());
    // The content ends at its closing quote.
    if (const int quote = PosFrom("\"", line, from); quote > 0)
        return Copy(line, from, quote - from);
    // Without one, the rest of the line less its last three characters.
    const int length = Length(line) - p - 36;
    if (length <= 0)
        return std::string();
    return Copy(line, from, length);
}

std::optional<std::string> CaptureDescription(const PageText& page)
{
    if (auto meta = CaptureMetaDescription(page))
        return meta;
    return CaptureTitle(page);
}

ScanVerdict ScanPage(const PageText& page, const WordLists& lists, ScanModes modes)
{
    ScanVerdict verdict;
    verdict.excluded = ScanForExclusion(page, lists.exclusion);
    if (verdict.excluded)
        return verdict;
    verdict.primaryScanned = true;
    verdict.description = CaptureDescription(page);
    verdict.primaryPass = ScanPrimary(page, lists.primary, modes.primary);
    if (verdict.primaryPass)
        verdict.secondaryPass = ScanSecondary(page, lists.secondary, modes.secondary);
    return verdict;
}

} // namespace orv
