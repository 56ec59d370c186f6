#include "verify/PageScan.h"

#include "core/LineReader.h"
#include "core/Text.h"
#include "verify/CaptureTags.h"
#include "verify/CriteriaPatterns.h"

#include <cstring>

namespace orv
{

namespace
{

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
        match.addLine(line);
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
    return firstCapture(page, TitleOfLine);
}

std::optional<std::string> CaptureMetaDescription(const PageText& page)
{
    return firstCapture(page, MetaDescriptionOfLine);
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

namespace
{

std::vector<std::string> matchPatterns(const Lines& entries, bool dropQuotes)
{
    std::vector<std::string> patterns;
    patterns.reserve(entries.size());
    for (const auto& entry : entries)
        patterns.push_back(dropQuotes ? withoutQuotes(entry) : entry);
    return patterns;
}

// The first CR or LF in bytes [from, to), or `to`.
size_t lineEnd(std::string_view bytes, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        if (bytes[i] == '\r' || bytes[i] == '\n')
            return i;
    return to;
}

// Just past the last CR or LF in bytes [0, to), or npos when there is none.
size_t lineStart(std::string_view bytes, size_t to)
{
    for (size_t i = to; i > 0; --i)
        if (bytes[i - 1] == '\r' || bytes[i - 1] == '\n')
            return i;
    return std::string_view::npos;
}

} // namespace

CriteriaMatch::CriteriaMatch(const Lines& entries, bool dropQuotes)
    : search_(matchPatterns(entries, dropQuotes), MultiPatternSearch::Fold::AsciiCase)
    , seen_(entries.size(), false)
{
}

bool CriteriaMatch::addLine(std::string_view line)
{
    const size_t before = found_;
    search_.feed(MultiPatternSearch::Start(), line, seen_, found_);
    return found_ > before;
}

PageScanner::PageScanner(const WordLists& lists)
    : PageScanner(CompiledCriteria(lists))
{
}

PageScanner::PageScanner(std::shared_ptr<const CriteriaPatterns> patterns)
    : patterns_(std::move(patterns))
    , found_(patterns_->search().patternCount(), false)
{
}

bool PageScanner::tagsPending() const
{
    return !found_[patterns_->titleTag()] || !found_[patterns_->metaTag()];
}

void PageScanner::noteFound(bool& titleTag, bool& metaTag)
{
    for (const uint32_t i : newly_) {
        if (patterns_->exclusion().holds(i))
            excluded_ = true;
        else if (patterns_->primary().holds(i))
            ++primaryFound_;
        else if (patterns_->secondary().holds(i))
            ++secondaryFound_;
        else if (i == patterns_->titleTag())
            titleTag = true;
        else if (i == patterns_->metaTag())
            metaTag = true;
    }
    newly_.clear();
}

void PageScanner::captureTagLine(std::string_view bytes, size_t end, size_t& from, bool titleTag, bool metaTag)
{
    if (capturing_) {
        const size_t lineBreak = lineEnd(bytes, from, end);
        captureLine_.append(bytes.substr(from, lineBreak - from));
        if (lineBreak == end) {
            // Another tag on the line already in capture.
            from = end;
            captureTitle_ = captureTitle_ || titleTag;
            captureMeta_ = captureMeta_ || metaTag;
            return;
        }
        endCapture();
    }
    const size_t start = lineStart(bytes, end);
    if (start == std::string_view::npos) {
        captureLine_ = std::move(carry_);
        captureLine_.append(bytes.substr(0, end));
    } else {
        captureLine_.assign(bytes.substr(start, end - start));
    }
    carry_.clear();
    capturing_ = true;
    captureTitle_ = titleTag;
    captureMeta_ = metaTag;
    from = end;
}

void PageScanner::endCapture()
{
    if (!capturing_)
        return;
    const std::string lowered = LowerCase(captureLine_);
    if (captureTitle_ && !title_)
        title_ = TitleOfLine(captureLine_, lowered);
    if (captureMeta_ && !meta_)
        meta_ = MetaDescriptionOfLine(captureLine_, lowered);
    capturing_ = false;
    captureLine_.clear();
}

bool PageScanner::add(std::string_view bytes)
{
    if (excluded_ || ended_)
        return false;
    if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
        bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()));
        ended_ = true;
    }
    const MultiPatternSearch& search = patterns_->search();
    size_t pos = 0;
    size_t captureFrom = 0; // where the line in capture goes on in `bytes`
    while (pos < bytes.size()) {
        pos += search.feedToNext(state_, bytes.substr(pos), found_, newly_);
        bool titleTag = false, metaTag = false;
        noteFound(titleTag, metaTag);
        if (excluded_)
            return false;
        if (titleTag || metaTag)
            captureTagLine(bytes, pos, captureFrom, titleTag, metaTag);
    }
    if (capturing_) {
        const size_t lineBreak = lineEnd(bytes, captureFrom, bytes.size());
        captureLine_.append(bytes.substr(captureFrom, lineBreak - captureFrom));
        if (lineBreak < bytes.size())
            endCapture();
    }
    if (!capturing_ && tagsPending()) {
        const size_t start = lineStart(bytes, bytes.size());
        if (start == std::string_view::npos)
            carry_.append(bytes);
        else
            carry_.assign(bytes.substr(start));
    } else {
        carry_.clear();
    }
    if (ended_) {
        endCapture();
        return false;
    }
    return true;
}

bool PageScanner::addLine(std::string_view line)
{
    return add(line) && add("\n");
}

ScanVerdict PageScanner::verdict(ScanModes modes)
{
    // The text ends here, and with it the line in capture.
    ended_ = true;
    endCapture();
    ScanVerdict verdict;
    verdict.excluded = excluded_;
    if (excluded_)
        return verdict;
    verdict.primaryScanned = true;
    verdict.description = meta_ ? meta_ : title_;
    verdict.primaryPass = judge(primaryFound_, patterns_->primary().size(), modes.primary);
    if (verdict.primaryPass)
        verdict.secondaryPass = patterns_->secondary().size() == 0
            || judge(secondaryFound_, patterns_->secondary().size(), modes.secondary);
    return verdict;
}

ScanVerdict ScanPageFile(const std::string& path, const WordLists& lists, ScanModes modes)
{
    PageScanner scanner(lists);
    ReadFilePieces(path, [&scanner](std::string_view piece) { return scanner.add(piece); });
    return scanner.verdict(modes);
}

} // namespace orv
