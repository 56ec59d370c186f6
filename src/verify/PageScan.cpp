#include "verify/PageScan.h"

#include "core/LineReader.h"
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

bool judge(size_t found, size_t entries, MatchMode mode)
{
    if (mode == MatchMode::All)
        return found > 0 && found == entries;
    return found > 0;
}

// `lowered` is `line` with the ASCII capitals lowered.
std::optional<std::string> titleOfLine(std::string_view line, std::string_view lowered)
{
    const int p = Pos(kTitleOpen, lowered);
    if (p == 0)
        return std::nullopt;
    // Position p + 7 is the first character after a bare "<title>" tag.
    const std::string rest = CopyFrom(line, p + 7);
    const int close = Pos(kTitleClose, CopyFrom(lowered, p + 7));
    if (close == 0)
        return std::string();
    return Copy(rest, 1, close - 1);
}

std::optional<std::string> metaDescriptionOfLine(std::string_view line, std::string_view lowered)
{
    const int p = Pos(kMetaDescription, lowered);
    if (p == 0)
        return std::nullopt;
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

// The first capture `of` finds in the page's lines.
template <typename Of> std::optional<std::string> firstCapture(const PageText& page, Of of)
{
    for (size_t i = 0; i < page.lines().size(); ++i)
        if (auto found = of(page.lines()[i], page.lowered()[i]))
            return found;
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

namespace
{

CriteriaMatch matchLines(const PageText& page, const Lines& entries, bool dropQuotes)
{
    CriteriaMatch match(entries, dropQuotes);
    for (const auto& line : page.lowered())
        match.addLoweredLine(line);
    return match;
}

} // namespace

bool ScanForExclusion(const PageText& page, const Lines& exclusion)
{
    return matchLines(page, exclusion, false).found() > 0;
}

bool ScanPrimary(const PageText& page, const Lines& primary, MatchMode mode)
{
    const CriteriaMatch match = matchLines(page, primary, true);
    return judge(match.found(), match.entries(), mode);
}

bool ScanSecondary(const PageText& page, const Lines& secondary, MatchMode mode)
{
    if (secondary.empty())
        return true;
    const CriteriaMatch match = matchLines(page, secondary, false);
    return judge(match.found(), match.entries(), mode);
}

std::optional<std::string> CaptureTitle(const PageText& page)
{
    return firstCapture(page, titleOfLine);
}

std::optional<std::string> CaptureMetaDescription(const PageText& page)
{
    return firstCapture(page, metaDescriptionOfLine);
}

std::optional<std::string> CaptureDescription(const PageText& page)
{
    if (auto meta = CaptureMetaDescription(page))
        return meta;
    return CaptureTitle(page);
}

ScanVerdict ScanPage(const PageText& page, const WordLists& lists, ScanModes modes)
{
    PageScanner scanner(lists);
    for (const auto& line : page.lines())
        if (!scanner.addLine(line))
            break;
    return scanner.verdict(modes);
}

CriteriaMatch::CriteriaMatch(const Lines& entries, bool dropQuotes)
    : seen_(entries.size(), false)
{
    lowered_.reserve(entries.size());
    for (const auto& entry : entries)
        lowered_.push_back(LowerCase(dropQuotes ? withoutQuotes(entry) : entry));
}

bool CriteriaMatch::addLoweredLine(std::string_view loweredLine)
{
    bool any = false;
    for (size_t i = 0; i < lowered_.size(); ++i) {
        if (seen_[i] || lowered_[i].empty() || loweredLine.find(lowered_[i]) == std::string_view::npos)
            continue;
        seen_[i] = true;
        ++found_;
        any = true;
    }
    return any;
}

PageScanner::PageScanner(const WordLists& lists)
    : exclusion_(lists.exclusion, false)
    // Primary criteria lose their double quotes, so that a phrase quoted for
    // the engines matches without them; the others keep theirs.
    , primary_(lists.primary, true)
    , secondary_(lists.secondary, false)
{
}

bool PageScanner::addLine(std::string_view line)
{
    if (excluded_)
        return false;
    lowered_.assign(line);
    for (char& c : lowered_)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (exclusion_.addLoweredLine(lowered_)) {
        excluded_ = true;
        return false;
    }
    primary_.addLoweredLine(lowered_);
    secondary_.addLoweredLine(lowered_);
    if (!title_)
        title_ = titleOfLine(line, lowered_);
    if (!meta_)
        meta_ = metaDescriptionOfLine(line, lowered_);
    return true;
}

ScanVerdict PageScanner::verdict(ScanModes modes) const
{
    ScanVerdict verdict;
    verdict.excluded = excluded_;
    if (excluded_)
        return verdict;
    verdict.primaryScanned = true;
    verdict.description = meta_ ? meta_ : title_;

    verdict.primaryPass = judge(primary_.found(), primary_.entries(), modes.primary);
    if (verdict.primaryPass)
        verdict.secondaryPass
            = secondary_.entries() == 0 || judge(secondary_.found(), secondary_.entries(), modes.secondary);
    return verdict;
}

ScanVerdict ScanPageFile(const std::string& path, const WordLists& lists, ScanModes modes)
{
    PageScanner scanner(lists);
    ForEachLineOfFile(path, [&scanner](std::string_view line) { return scanner.addLine(line); });
    return scanner.verdict(modes);
}

} // namespace orv
