#pragma once
// An engine's answer parsed by libxml2 (its HTML parser, or its XML parser
// for feeds) and the XPath 1.0 questions a definition asks of it. Text is
// taken the way SearXNG takes it through lxml: an element gives its string
// value with blanks collapsed, an attribute or text node its text as it is,
// and a node set the concatenation of its nodes' texts, trimmed.
#include "engines/XmlHandles.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv
{

// Answers larger than this are refused rather than parsed.
inline constexpr size_t kMaxAnswerBytes = 8u * 1024u * 1024u;

// Empty when `expression` compiles as XPath 1.0; otherwise libxml2's reason.
std::string XpathCompileError(const std::string& expression);

// Blanks (ASCII white space and no-break spaces) collapsed to one, ends trimmed.
std::string NormalizedSpace(std::string_view text);

// The text of an HTML fragment ("a <b>bold</b> &amp; c"), blanks collapsed.
std::string HtmlFragmentText(std::string_view html);

class XpathPage
{
public:
    using Namespaces = std::vector<std::pair<std::string, std::string>>;
    XpathPage(std::string_view body, bool xml, const Namespaces& namespaces);

    bool parsed() const { return doc_ != nullptr; }
    // Why parsing or the last evaluation failed; empty when it did not.
    const std::string& failure() const { return failure_; }

    // The nodes `expression` selects from `context` (the document when null);
    // empty when the result is not a node set.
    std::vector<xmlNode*> nodes(const std::string& expression, xmlNode* context = nullptr);
    // The text of the result; nothing when it is an empty node set or fails.
    std::optional<std::string> text(const std::string& expression, xmlNode* context = nullptr);
    // The result as an XPath boolean (a node set is true when it is not empty).
    bool truth(const std::string& expression, xmlNode* context = nullptr);

    static std::string nodeText(xmlNode* node);
    static std::string attribute(xmlNode* node, const char* name);

private:
    XpathObjectPtr evaluate(const std::string& expression, xmlNode* context);
    static void onError(void* self, xmlError* error);

    XmlDocPtr doc_;
    XpathContextPtr context_;
    std::map<std::string, XpathCompPtr> compiled_;
    std::string failure_;
};

} // namespace orv
