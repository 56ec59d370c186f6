#include "engines/DefinitionKeys.h"

#include "engines/ClaimedCount.h"
#include "engines/XpathPage.h"

#include <functional>
#include <map>

namespace orv
{
namespace
{

// A key that cannot be used: where it is and why.
struct KeyFault {
    int line;
    std::string reason;
};

int lineOf(const YAML::Node& node)
{
    return node.Mark().line + 1;
}

// The line of `key` in `entry`, or of the entry when the key is not there.
int lineOf(const YAML::Node& entry, const char* key)
{
    const YAML::Node v = entry[key];
    return v ? lineOf(v) : lineOf(entry);
}

[[noreturn]] void fault(const YAML::Node& node, const std::string& key, const std::string& what)
{
    throw KeyFault { lineOf(node), "`" + key + "` " + what };
}

std::string text(const YAML::Node& v, const std::string& key)
{
    if (v.IsNull())
        return {};
    if (!v.IsScalar())
        fault(v, key, "must be a text");
    return v.Scalar();
}

bool flag(const YAML::Node& v, const std::string& key)
{
    bool b = false;
    if (!v.IsScalar() || !YAML::convert<bool>::decode(v, b))
        fault(v, key, "must be true or false");
    return b;
}

int number(const YAML::Node& v, const std::string& key, int lowest, int highest)
{
    int n = 0;
    if (!v.IsScalar() || !YAML::convert<int>::decode(v, n))
        fault(v, key, "must be a whole number");
    if (n < lowest || n > highest)
        fault(v, key, "must be between " + std::to_string(lowest) + " and " + std::to_string(highest));
    return n;
}

bool safeHeaderText(const std::string& s)
{
    return s.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::vector<std::pair<std::string, std::string>> pairs(const YAML::Node& v, const std::string& key)
{
    std::vector<std::pair<std::string, std::string>> out;
    if (v.IsNull())
        return out;
    if (!v.IsMap())
        fault(v, key, "must be a map of names to texts");
    for (const auto& item : v) {
        if (!item.first.IsScalar() || !(item.second.IsScalar() || item.second.IsNull()))
            fault(item.first, key, "must be a map of names to texts");
        const std::string name = item.first.Scalar();
        const std::string value = item.second.IsNull() ? std::string() : item.second.Scalar();
        if (name.empty() || !safeHeaderText(name) || !safeHeaderText(value))
            fault(item.first, key, "holds a name or value with a line break");
        out.emplace_back(name, value);
    }
    return out;
}

std::vector<int> statuses(const YAML::Node& v, const std::string& key)
{
    std::vector<int> out;
    if (v.IsScalar())
        return { number(v, key, 100, 599) };
    if (!v.IsSequence())
        fault(v, key, "must be a list of HTTP statuses");
    for (const auto& item : v)
        out.push_back(number(item, key, 100, 599));
    return out;
}

LinkUnwrap& unwrapOf(EngineDefinition& d)
{
    if (!d.unwrap)
        d.unwrap.emplace();
    return *d.unwrap;
}

using Setter = std::function<void(EngineDefinition&, const YAML::Node&, const std::string&)>;

const std::map<std::string, Setter>& setters()
{
    static const std::map<std::string, Setter> table = {
        { "name", [](auto& d, auto& v, auto& k) { d.name = text(v, k); } },
        { "search_url", [](auto& d, auto& v, auto& k) { d.searchUrl = text(v, k); } },
        { "first_page_url", [](auto& d, auto& v, auto& k) { d.firstPageUrl = text(v, k); } },
        { "method", [](auto& d, auto& v, auto& k) { d.method = text(v, k); } },
        { "request_body", [](auto& d, auto& v, auto& k) { d.requestBody = text(v, k); } },
        { "headers", [](auto& d, auto& v, auto& k) { d.headers = pairs(v, k); } },
        { "cookies", [](auto& d, auto& v, auto& k) { d.cookies = pairs(v, k); } },
        { "paging", [](auto& d, auto& v, auto& k) { d.paging = flag(v, k); } },
        { "page_size", [](auto& d, auto& v, auto& k) { d.pageSize = number(v, k, 1, 1000); } },
        { "first_page_num", [](auto& d, auto& v, auto& k) { d.firstPageNum = number(v, k, 0, 1000); } },
        { "max_page", [](auto& d, auto& v, auto& k) { d.maxPage = number(v, k, 0, 100000); } },
        { "lang_all", [](auto& d, auto& v, auto& k) { d.lang = text(v, k); } },
        { "disabled", [](auto& d, auto& v, auto& k) { d.disabled = d.disabled || flag(v, k); } },
        { "inactive", [](auto& d, auto& v, auto& k) { d.disabled = d.disabled || flag(v, k); } },
        { "results_xpath", [](auto& d, auto& v, auto& k) { d.resultsXpath = text(v, k); } },
        { "url_xpath", [](auto& d, auto& v, auto& k) { d.urlXpath = text(v, k); } },
        { "title_xpath", [](auto& d, auto& v, auto& k) { d.titleXpath = text(v, k); } },
        { "content_xpath", [](auto& d, auto& v, auto& k) { d.contentXpath = text(v, k); } },
        { "results_query", [](auto& d, auto& v, auto& k) { d.resultsQuery = text(v, k); } },
        { "url_query", [](auto& d, auto& v, auto& k) { d.urlQuery = text(v, k); } },
        { "title_query", [](auto& d, auto& v, auto& k) { d.titleQuery = text(v, k); } },
        { "content_query", [](auto& d, auto& v, auto& k) { d.contentQuery = text(v, k); } },
        { "url_prefix", [](auto& d, auto& v, auto& k) { d.urlPrefix = text(v, k); } },
        { "url_fallback_query", [](auto& d, auto& v, auto& k) { d.urlFallbackQuery = text(v, k); } },
        { "url_fallback_prefix", [](auto& d, auto& v, auto& k) { d.urlFallbackPrefix = text(v, k); } },
        { "url_blank_as", [](auto& d, auto& v, auto& k) { d.urlBlankAs = text(v, k); } },
        { "next_page_query", [](auto& d, auto& v, auto& k) { d.nextPageQuery = text(v, k); } },
        { "next_page_xpath", [](auto& d, auto& v, auto& k) { d.nextPageXpath = text(v, k); } },
        { "count_xpath", [](auto& d, auto& v, auto& k) { d.countXpath = text(v, k); } },
        { "count_query", [](auto& d, auto& v, auto& k) { d.countQuery = text(v, k); } },
        { "count_pattern", [](auto& d, auto& v, auto& k) { d.countPattern = text(v, k); } },
        { "blocked_status", [](auto& d, auto& v, auto& k) { d.blockedStatus = statuses(v, k); } },
        { "blocked_xpath", [](auto& d, auto& v, auto& k) { d.blockedXpath = text(v, k); } },
        { "blocked_redirect", [](auto& d, auto& v, auto& k) { d.blockedRedirectPath = text(v, k); } },
        { "min_interval_ms", [](auto& d, auto& v, auto& k) { d.minIntervalMs = number(v, k, 0, 3'600'000); } },
        { "namespaces", [](auto& d, auto& v, auto& k) { d.namespaces = pairs(v, k); } },
        { "unwrap_parameter", [](auto& d, auto& v, auto& k) { unwrapOf(d).queryParameter = text(v, k); } },
        { "unwrap_base64_prefix", [](auto& d, auto& v, auto& k) { unwrapOf(d).base64Prefix = text(v, k); } },
        { "unwrap_base64_parameter", [](auto& d, auto& v, auto& k) { unwrapOf(d).base64Parameter = text(v, k); } },
        { "unwrap_between", [](auto& d, auto& v, auto& k) { unwrapOf(d).between = text(v, k); } },
        { "unwrap_and", [](auto& d, auto& v, auto& k) { unwrapOf(d).andMarker = text(v, k); } },
        { "parser",
            [](auto& d, auto& v, auto& k) {
                const std::string p = text(v, k);
                if (p != "html" && p != "xml")
                    fault(v, k, "must be html or xml");
                d.xmlAnswer = p == "xml";
            } },
    };
    return table;
}

void checkXpath(const YAML::Node& entry, const char* key, const std::string& expression)
{
    if (expression.empty())
        return;
    const std::string error = XpathCompileError(expression);
    if (!error.empty())
        throw KeyFault { lineOf(entry, key), std::string("`") + key + "` does not compile: " + error };
}

void require(const YAML::Node& entry, const char* key, const std::string& value)
{
    if (value.empty())
        throw KeyFault { lineOf(entry), std::string("no `") + key + "`" };
}

bool webUrl(const std::string& url)
{
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

void checkDefinition(const YAML::Node& entry, EngineDefinition& d)
{
    require(entry, "search_url", d.searchUrl);
    if (!webUrl(d.searchUrl))
        throw KeyFault { lineOf(entry, "search_url"), "`search_url` is not an http or https URL" };
    if (!d.firstPageUrl.empty() && !webUrl(d.firstPageUrl))
        throw KeyFault { lineOf(entry, "first_page_url"), "`first_page_url` is not an http or https URL" };
    for (char& c : d.method)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (d.method != "GET" && d.method != "POST")
        throw KeyFault { lineOf(entry, "method"), "`method` must be GET or POST" };
    if (d.kind == DefinedEngineKind::Xpath) {
        require(entry, "url_xpath", d.urlXpath);
        require(entry, "title_xpath", d.titleXpath);
        for (const auto& [key, value] :
            { std::pair<const char*, const std::string&> { "results_xpath", d.resultsXpath },
                { "url_xpath", d.urlXpath }, { "title_xpath", d.titleXpath }, { "content_xpath", d.contentXpath },
                { "next_page_xpath", d.nextPageXpath }, { "count_xpath", d.countXpath },
                { "blocked_xpath", d.blockedXpath } })
            checkXpath(entry, key, value);
    } else {
        require(entry, "url_query", d.urlQuery);
        require(entry, "title_query", d.titleQuery);
    }
    if (!d.countPattern.empty()) {
        const std::string error = CountPatternError(d.countPattern);
        if (!error.empty())
            throw KeyFault { lineOf(entry, "count_pattern"), "`count_pattern` is not a valid pattern: " + error };
    }
    if (d.unwrap) {
        const int ways
            = !d.unwrap->queryParameter.empty() + !d.unwrap->base64Prefix.empty() + !d.unwrap->between.empty();
        if (ways != 1)
            throw KeyFault { lineOf(entry),
                "give exactly one of `unwrap_parameter`, `unwrap_base64_prefix`, `unwrap_between`" };
    }
}

} // namespace

std::optional<EngineDefinition> ReadDefinitionEntry(
    const YAML::Node& entry, const std::string& file, std::vector<DefinitionProblem>& problems)
{
    EngineDefinition d;
    d.file = file;
    d.line = lineOf(entry);
    try {
        if (!entry.IsMap())
            throw KeyFault { lineOf(entry), "an engine entry must be a map of keys" };
        if (const YAML::Node name = entry["name"]; name && name.IsScalar())
            d.name = name.Scalar();
        const YAML::Node kind = entry["engine"];
        if (!kind)
            throw KeyFault { d.line, "no `engine` (xpath or json_engine)" };
        const std::string kindText = text(kind, "engine");
        if (kindText == "json_engine")
            d.kind = DefinedEngineKind::Json;
        else if (kindText != "xpath")
            throw KeyFault { lineOf(kind), "engine kind '" + kindText + "' is not supported" };
        for (const auto& item : entry) {
            if (!item.first.IsScalar())
                continue;
            const auto it = setters().find(item.first.Scalar());
            if (it != setters().end())
                it->second(d, item.second, it->first);
        }
        require(entry, "name", d.name);
        checkDefinition(entry, d);
    } catch (const KeyFault& f) {
        const std::string who = d.name.empty() ? std::string() : d.name + ": ";
        problems.push_back({ file, f.line, who + f.reason });
        return std::nullopt;
    }
    return d;
}

} // namespace orv
