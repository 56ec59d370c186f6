#include "verify/PageTextJudge.h"

#include "text/FoldedText.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <strings.h>

namespace orv
{

namespace
{

// A block's text is matched in pieces once it grows past this, cut at a
// blank, so that one endless paragraph costs no more memory than a page.
constexpr size_t kBlockPiece = 64 * 1024;

// Elements whose start and end close the text block before them.
constexpr std::array<std::string_view, 52> kBlockElements = { "address", "article", "aside", "blockquote", "body", "br",
    "button", "caption", "center", "dd", "details", "dialog", "dir", "div", "dl", "dt", "fieldset", "figcaption",
    "figure", "footer", "form", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hr", "html",
    "iframe", "legend", "li", "main", "menu", "nav", "ol", "option", "p", "pre", "section", "select", "summary",
    "table", "tbody", "td", "textarea", "th", "title", "tr" };

bool isBlockElement(std::string_view name)
{
    return std::find(kBlockElements.begin(), kBlockElements.end(), name) != kBlockElements.end() || name == "ul"
        || name == "thead" || name == "tfoot" || name == "noscript";
}

bool isHiddenElement(std::string_view name)
{
    return name == "script" || name == "style" || name == "template";
}

std::string withoutQuotes(std::string_view text)
{
    std::string out;
    for (const char c : text)
        if (c != '"')
            out += c;
    return out;
}

std::vector<std::string> foldedCriteria(const WordLists& lists)
{
    std::vector<std::string> patterns;
    for (const std::string& entry : lists.exclusion)
        patterns.push_back(Folded(CollapseBlanks(entry)));
    for (const std::string& entry : lists.primary)
        patterns.push_back(Folded(CollapseBlanks(withoutQuotes(entry))));
    for (const std::string& entry : lists.secondary)
        patterns.push_back(Folded(CollapseBlanks(entry)));
    return patterns;
}

bool judge(size_t found, size_t entries, MatchMode mode)
{
    return found > 0 && (mode == MatchMode::Any || found == entries);
}

std::string trimmedBlanks(std::string text)
{
    text = CollapseBlanks(text);
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string_view nameOf(const xmlChar* name)
{
    return name ? std::string_view(reinterpret_cast<const char*>(name)) : std::string_view();
}

PageTextJudge* judgeOf(void* context)
{
    return static_cast<PageTextJudge*>(static_cast<htmlParserCtxtPtr>(context)->_private);
}

void onStartElement(void* context, const xmlChar* name, const xmlChar** attributes)
{
    judgeOf(context)->startElement(nameOf(name), reinterpret_cast<const char* const*>(attributes));
}

void onEndElement(void* context, const xmlChar* name)
{
    judgeOf(context)->endElement(nameOf(name));
}

void onCharacters(void* context, const xmlChar* text, int length)
{
    if (length > 0)
        judgeOf(context)->characters(
            std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(length)));
}

// Script and style bodies; never searched.
void onRawText(void*, const xmlChar*, int) { }

void onMessage(void*, const char*, ...) { }

} // namespace

struct PageTextJudge::Parser {
    htmlParserCtxtPtr context = nullptr;
    ~Parser()
    {
        if (context)
            htmlFreeParserCtxt(context);
    }
};

PageTextJudge::PageTextJudge(const WordLists& lists, bool plainText)
    : exclusionCount_(lists.exclusion.size())
    , primaryCount_(lists.primary.size())
    , secondaryCount_(lists.secondary.size())
    , search_(foldedCriteria(lists), MultiPatternSearch::Fold::None)
    , found_(search_.patternCount(), false)
{
    if (plainText)
        return;
    // The library sets up its tables once, before any parser of any thread.
    static std::once_flag initialized;
    std::call_once(initialized, [] { xmlInitParser(); });
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = onStartElement;
    sax.endElement = onEndElement;
    sax.characters = onCharacters;
    sax.ignorableWhitespace = onCharacters;
    sax.cdataBlock = onRawText;
    sax.warning = onMessage;
    sax.error = onMessage;
    sax.fatalError = onMessage;
    auto parser = std::make_unique<Parser>();
    parser->context = htmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    if (!parser->context)
        return; // matched as plain text
    parser->context->_private = this;
    // The text arrives decoded: a declaration inside the page must not make
    // the parser decode it again.
    htmlCtxtUseOptions(parser->context,
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC);
    parser_ = std::move(parser);
}

PageTextJudge::~PageTextJudge() = default;

size_t PageTextJudge::foundIn(size_t first, size_t count) const
{
    return static_cast<size_t>(
        std::count(found_.begin() + static_cast<long>(first), found_.begin() + static_cast<long>(first + count), true));
}

bool PageTextJudge::add(std::string_view utf8)
{
    if (finished_)
        return false;
    if (parser_) {
        // The parser takes a NUL for the end of its input; a reader sees none.
        std::string cleaned;
        if (utf8.find('\0') != std::string_view::npos) {
            cleaned.assign(utf8);
            std::replace(cleaned.begin(), cleaned.end(), '\0', ' ');
            utf8 = cleaned;
        }
        htmlParseChunk(parser_->context, utf8.data(), static_cast<int>(utf8.size()), 0);
        // A parser that gave up leaves the rest of the page to be matched as
        // plain text.
        if (parser_->context->disableSAX) {
            endBlock();
            parser_.reset();
        }
    } else {
        addText(utf8);
    }
    return foundIn(0, exclusionCount_) == 0;
}

void PageTextJudge::startElement(std::string_view name, const char* const* attributes)
{
    if (isHiddenElement(name)) {
        ++hidden_;
        return;
    }
    if (isBlockElement(name))
        endBlock();
    if (name == "title" && !title_ && hidden_ == 0) {
        inTitle_ = true;
        title_.emplace();
    } else if (name == "meta" && attributes && (!meta_ || meta_->empty())) {
        const char* metaName = nullptr;
        const char* content = nullptr;
        for (const char* const* a = attributes; a[0]; a += 2) {
            if (strcasecmp(a[0], "name") == 0)
                metaName = a[1];
            else if (strcasecmp(a[0], "content") == 0)
                content = a[1];
        }
        if (metaName && content && strcasecmp(metaName, "description") == 0)
            meta_ = trimmedBlanks(content);
    }
}

void PageTextJudge::endElement(std::string_view name)
{
    if (isHiddenElement(name)) {
        hidden_ = std::max(0, hidden_ - 1);
        return;
    }
    if (name == "title")
        inTitle_ = false;
    if (isBlockElement(name))
        endBlock();
}

void PageTextJudge::characters(std::string_view text)
{
    if (hidden_ > 0)
        return;
    if (inTitle_ && title_->size() < kBlockPiece)
        title_->append(text);
    addText(text);
}

void PageTextJudge::addText(std::string_view text)
{
    const auto blankAt = [&text](size_t i) {
        return IsHtmlBlank(text[i]) || (text[i] == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0');
    };
    for (size_t i = 0; i < text.size();) {
        if (blankAt(i)) {
            i += text[i] == '\xC2' ? 2 : 1;
            pendingBlank_ = blockHasText_;
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && !blankAt(end))
            ++end;
        if (pendingBlank_) {
            if (block_.size() >= kBlockPiece)
                matchHeld(block_.size()); // cut at this blank: folding never spans one
            block_ += ' ';
            pendingBlank_ = false;
        }
        block_.append(text.substr(i, end - i));
        blockHasText_ = true;
        i = end;
    }
}

void PageTextJudge::matchHeld(size_t upTo)
{
    folded_.clear();
    AppendFolded(std::string_view(block_).substr(0, upTo), folded_);
    size_t newly = 0;
    state_ = search_.feed(state_, folded_, found_, newly);
    foundTotal_ += newly;
    block_.erase(0, upTo);
}

void PageTextJudge::endBlock()
{
    if (!block_.empty())
        matchHeld(block_.size());
    state_ = MultiPatternSearch::Start();
    pendingBlank_ = false;
    blockHasText_ = false;
}

void PageTextJudge::finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (parser_)
        htmlParseChunk(parser_->context, nullptr, 0, 1);
    endBlock();
    parser_.reset();
}

ScanVerdict PageTextJudge::verdict(ScanModes modes)
{
    finish();
    ScanVerdict verdict;
    verdict.excluded = foundIn(0, exclusionCount_) > 0;
    if (verdict.excluded)
        return verdict;
    verdict.primaryScanned = true;
    if (meta_ && !meta_->empty())
        verdict.description = meta_;
    else if (title_)
        verdict.description = trimmedBlanks(*title_);
    else
        verdict.description = meta_;
    const size_t primaryFound = foundIn(exclusionCount_, primaryCount_);
    verdict.primaryPass = judge(primaryFound, primaryCount_, modes.primary);
    if (verdict.primaryPass)
        verdict.secondaryPass = secondaryCount_ == 0
            || judge(foundIn(exclusionCount_ + primaryCount_, secondaryCount_), secondaryCount_, modes.secondary);
    return verdict;
}

} // namespace orv
