#include "engines/XpathPage.h"

#include <libxml/parser.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace orv
{
namespace
{

// Bounds one evaluation: a selector that walks a page this many steps is
// stopped rather than left to run.
constexpr unsigned long kXpathStepLimit = 20'000'000;

void initLibxml()
{
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

bool isBlankAt(std::string_view s, size_t i, size_t& width)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
        width = 1;
        return true;
    }
    if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xA0) {
        width = 2;
        return true;
    }
    return false;
}

// The page says which character set it is in; otherwise it is read as UTF-8
// (libxml2 falls back to Latin-1 by itself on bytes that are not UTF-8).
bool declaresCharset(std::string_view body)
{
    const std::string_view head = body.substr(0, 4096);
    static constexpr std::string_view kWord = "charset";
    return std::search(head.begin(), head.end(), kWord.begin(), kWord.end(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b;
    }) != head.end();
}

// XPath errors reach a context's handler with a code and a position but,
// in the libxml2 we build on, without their text.
std::string describeXpathError(const xmlError* e)
{
    if (!e)
        return "not a valid XPath expression";
    std::string what;
    if (e->message) {
        what = e->message;
    } else {
        switch (e->code) {
        case XML_XPATH_NUMBER_ERROR:
            what = "number encoding";
            break;
        case XML_XPATH_UNFINISHED_LITERAL_ERROR:
            what = "unfinished literal";
            break;
        case XML_XPATH_START_LITERAL_ERROR:
            what = "start of literal";
            break;
        case XML_XPATH_VARIABLE_REF_ERROR:
            what = "undefined variable";
            break;
        case XML_XPATH_UNDEF_VARIABLE_ERROR:
            what = "undefined variable";
            break;
        case XML_XPATH_INVALID_PREDICATE_ERROR:
            what = "invalid predicate";
            break;
        case XML_XPATH_EXPR_ERROR:
            what = "invalid expression";
            break;
        case XML_XPATH_UNCLOSED_ERROR:
            what = "missing closing bracket or parenthesis";
            break;
        case XML_XPATH_UNKNOWN_FUNC_ERROR:
            what = "unregistered function";
            break;
        case XML_XPATH_INVALID_OPERAND:
            what = "invalid operand";
            break;
        case XML_XPATH_INVALID_TYPE:
            what = "invalid type";
            break;
        case XML_XPATH_INVALID_ARITY:
            what = "wrong number of arguments";
            break;
        case XML_XPATH_UNDEF_PREFIX_ERROR:
            what = "undefined namespace prefix";
            break;
        case XML_XPATH_INVALID_CHAR_ERROR:
            what = "invalid character";
            break;
        default:
            what = "not a valid XPath expression";
            break;
        }
    }
    what = NormalizedSpace(what);
    if (e->str1 && e->int1 >= 0)
        what += " at character " + std::to_string(e->int1 + 1);
    return what;
}

std::string fromXml(const xmlChar* s)
{
    return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
}

std::string trimBlanks(std::string_view s)
{
    size_t begin = 0, end = s.size(), width = 0;
    while (begin < end && isBlankAt(s, begin, width))
        begin += width;
    // Trailing: step back over ASCII blanks and two-byte no-break spaces.
    while (end > begin) {
        if (isBlankAt(s, end - 1, width) && width == 1)
            --end;
        else if (end - begin >= 2 && isBlankAt(s, end - 2, width) && width == 2)
            end -= 2;
        else
            break;
    }
    return std::string(s.substr(begin, end - begin));
}

} // namespace

std::string NormalizedSpace(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool pendingBlank = false;
    for (size_t i = 0; i < text.size();) {
        size_t width = 0;
        if (isBlankAt(text, i, width)) {
            pendingBlank = !out.empty();
            i += width;
            continue;
        }
        if (pendingBlank)
            out += ' ';
        pendingBlank = false;
        out += text[i++];
    }
    return out;
}

std::string XpathCompileError(const std::string& expression)
{
    initLibxml();
    struct Capture {
        std::string message;
    } capture;
    // A context of our own carries the error to us instead of libxml2's
    // process-wide handlers.
    XpathContextPtr ctx(xmlXPathNewContext(nullptr));
    if (!ctx)
        return "out of memory";
    ctx->userData = &capture;
    ctx->error = [](void* data, xmlError* error) {
        auto* c = static_cast<Capture*>(data);
        if (c->message.empty())
            c->message = describeXpathError(error);
    };
    XpathCompPtr comp(xmlXPathCtxtCompile(ctx.get(), reinterpret_cast<const xmlChar*>(expression.c_str())));
    if (comp)
        return {};
    return capture.message.empty() ? std::string("not a valid XPath expression") : capture.message;
}

std::string HtmlFragmentText(std::string_view html)
{
    if (html.find_first_of("<&") == std::string_view::npos)
        return NormalizedSpace(html);
    XpathPage page(html, false, {});
    if (!page.parsed())
        return NormalizedSpace(html);
    return NormalizedSpace(page.text("string(/)").value_or(std::string()));
}

XpathPage::XpathPage(std::string_view body, bool xml, const Namespaces& namespaces)
{
    initLibxml();
    if (body.size() > kMaxAnswerBytes) {
        failure_ = "the answer is larger than " + std::to_string(kMaxAnswerBytes / (1024 * 1024)) + " MiB";
        return;
    }
    if (body.empty()) {
        failure_ = "the answer is empty";
        return;
    }
    const int size = static_cast<int>(body.size());
    if (xml) {
        doc_.reset(xmlReadMemory(body.data(), size, nullptr, nullptr,
            XML_PARSE_RECOVER | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NONET));
    } else {
        doc_.reset(htmlReadMemory(body.data(), size, nullptr, declaresCharset(body) ? nullptr : "UTF-8",
            HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
    }
    if (!doc_) {
        failure_ = xml ? "the answer is not XML" : "the answer is not HTML";
        return;
    }
    context_.reset(xmlXPathNewContext(doc_.get()));
    if (!context_) {
        doc_.reset();
        failure_ = "out of memory";
        return;
    }
    context_->userData = this;
    context_->error = &XpathPage::onError;
    for (const auto& [prefix, uri] : namespaces)
        xmlXPathRegisterNs(context_.get(), reinterpret_cast<const xmlChar*>(prefix.c_str()),
            reinterpret_cast<const xmlChar*>(uri.c_str()));
}

void XpathPage::onError(void* self, xmlError* error)
{
    auto* page = static_cast<XpathPage*>(self);
    page->failure_ = describeXpathError(error);
}

XpathObjectPtr XpathPage::evaluate(const std::string& expression, xmlNode* context)
{
    if (!context_)
        return nullptr;
    failure_.clear();
    auto it = compiled_.find(expression);
    if (it == compiled_.end()) {
        XpathCompPtr comp(xmlXPathCtxtCompile(context_.get(), reinterpret_cast<const xmlChar*>(expression.c_str())));
        if (!comp)
            return nullptr;
        it = compiled_.emplace(expression, std::move(comp)).first;
    }
    context_->node = context ? context : reinterpret_cast<xmlNode*>(doc_.get());
    context_->opLimit = kXpathStepLimit;
    context_->opCount = 0;
    XpathObjectPtr result(xmlXPathCompiledEval(it->second.get(), context_.get()));
    if (!result && failure_.empty())
        failure_ = "the selector could not be evaluated";
    return result;
}

std::vector<xmlNode*> XpathPage::nodes(const std::string& expression, xmlNode* context)
{
    std::vector<xmlNode*> out;
    XpathObjectPtr result = evaluate(expression, context);
    if (!result || result->type != XPATH_NODESET || !result->nodesetval)
        return out;
    // Namespace nodes in a result are copies that die with it: a selector
    // that picks them selects nothing here.
    const xmlNodeSet* set = result->nodesetval;
    for (int i = 0; i < set->nodeNr; ++i)
        if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
            out.push_back(set->nodeTab[i]);
    return out;
}

std::string XpathPage::nodeText(xmlNode* node)
{
    if (!node)
        return {};
    XmlCharPtr content(xmlNodeGetContent(node));
    std::string raw = fromXml(content.get());
    if (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE)
        return NormalizedSpace(raw);
    return raw;
}

std::string XpathPage::attribute(xmlNode* node, const char* name)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return {};
    XmlCharPtr value(xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)));
    return fromXml(value.get());
}

std::optional<std::string> XpathPage::text(const std::string& expression, xmlNode* context)
{
    XpathObjectPtr result = evaluate(expression, context);
    if (!result)
        return std::nullopt;
    if (result->type == XPATH_NODESET) {
        if (!result->nodesetval || result->nodesetval->nodeNr == 0)
            return std::nullopt;
        std::string joined;
        for (int i = 0; i < result->nodesetval->nodeNr; ++i)
            joined += nodeText(result->nodesetval->nodeTab[i]);
        return trimBlanks(joined);
    }
    XmlCharPtr s(xmlXPathCastToString(result.get()));
    return fromXml(s.get());
}

bool XpathPage::truth(const std::string& expression, xmlNode* context)
{
    XpathObjectPtr result = evaluate(expression, context);
    return result && xmlXPathCastToBoolean(result.get()) != 0;
}

} // namespace orv
