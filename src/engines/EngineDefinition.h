#pragma once
// Engines defined as data: one YAML entry each, read from the shipped folder
// and the user's folder. The definition keys mean what they mean in the
// SearXNG `xpath` and `json_engine` engines; Orvalen's own keys cover what
// today's engines need beyond selectors (a form body, the next page taken from
// the answer, unwrapped links, the claimed count, blocked answers, a pause
// between requests). Text in, result out: no Qt widget, no socket here.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv
{

enum class DefinedEngineKind {
    Xpath, // the answer is HTML, read with XPath 1.0 over libxml2's HTML parser
    Json, // the answer is JSON, read by key paths
};

// How a result link is unwrapped from an engine's redirect URL.
struct LinkUnwrap {
    std::string queryParameter; // the target is this query parameter ("uddg")
    std::string base64Prefix; // a query parameter "u" holding this prefix + base64url ("a1")
    std::string base64Parameter = "u";
    std::string between, andMarker; // the text between two markers ("/RU=", "/RK")
};

struct EngineDefinition {
    std::string name;
    DefinedEngineKind kind = DefinedEngineKind::Xpath;
    std::string file; // where it was read, for every message about it
    int line = 0; // 1-based line of the entry in that file

    std::string searchUrl; // with {query} and {pageno}
    std::string method = "GET";
    std::string requestBody; // with {query} and {pageno}; POST only
    std::vector<std::pair<std::string, std::string>> headers;
    std::vector<std::pair<std::string, std::string>> cookies;
    bool paging = false;
    int pageSize = 1;
    int firstPageNum = 1;
    bool disabled = false; // SearXNG's `disabled: true`: not asked until ticked
    std::string firstPageUrl; // `first_page_url`: page 1 asks this URL instead of search_url
    int maxPage = 0; // `max_page`: the last page the engine serves (0: no limit)
    std::string lang = "en"; // `lang_all`: what {lang} becomes

    // xpath
    std::string resultsXpath, urlXpath, titleXpath, contentXpath;
    // xpath with `parser: xml`: the answer is XML (an Atom feed), read with
    // libxml2's XML parser; `namespaces` binds the prefixes the selectors use.
    bool xmlAnswer = false;
    std::vector<std::pair<std::string, std::string>> namespaces;
    // json_engine: key paths as SearXNG reads them, steps separated by "/"; a
    // step names a key (or a list index) at this level or, failing that,
    // anywhere below it; a list is searched item by item.
    std::string resultsQuery, urlQuery, titleQuery, contentQuery;
    std::string urlPrefix;
    std::string urlFallbackQuery, urlFallbackPrefix; // when url_query finds null or nothing
    std::string urlBlankAs; // `url_blank_as`: blanks of a json url become this ("_")
    std::string nextPageQuery; // json_engine: a next page exists while this key is there

    // Orvalen's own keys.
    std::optional<LinkUnwrap> unwrap;
    std::string nextPageXpath; // a form (resubmitted with its inputs) or a link
    std::string countXpath, countPattern; // count: a selector, and the pattern around its number
    std::string countQuery; // json_engine: key path of the total
    std::vector<int> blockedStatus = { 403, 429, 503 };
    std::string blockedXpath; // a node that marks a challenge page
    std::string blockedRedirectPath; // a redirect to this path marks a captcha
    int minIntervalMs = 0; // least time between two requests to this engine
};

// A definition that cannot be used: its file, line and the reason.
struct DefinitionProblem {
    std::string file;
    int line = 0;
    std::string reason;
};

// "file:line: reason", as the engine report and standard error show it.
std::string DescribeProblem(const DefinitionProblem& problem);

struct DefinedEngines {
    std::vector<EngineDefinition> engines; // in file order, shipped first, user files overriding by name
    std::vector<DefinitionProblem> problems; // broken definitions and kinds not supported
};

// Reads every *.yml / *.yaml file of both folders (either may be missing). A
// user definition replaces the shipped one of the same name (any case).
DefinedEngines LoadEngineDefinitions(const std::string& shippedFolder, const std::string& userFolder);

// Where the shipped definitions are for a program folder (ending in "/"): the
// build's "engines-shipped/" beside the program, else the installed
// "../share/orvalen/engines/" relative to it. The user's folder is
// programFolder + "engines/".
std::string ShippedEnginesFolder(const std::string& programFolder);

// The User-Agent every request carries unless the definition sets its own.
inline constexpr const char* kDefinedEngineUserAgent = "Orvalen/1.0 (+https://orvalen.org/)";

// One request to an engine.
struct EngineRequest {
    std::string method = "GET";
    std::string url;
    std::string body; // form body of a POST
    std::vector<std::pair<std::string, std::string>> headers; // Cookie included
};

// The request for the first result page; the UTF-8 query is percent-encoded
// where the definition puts it.
EngineRequest FirstRequest(const EngineDefinition& def, std::string_view query);
// The request for page `pageno` (1-based) built from search_url.
EngineRequest PageRequest(const EngineDefinition& def, std::string_view query, int pageno);

struct AnswerLink {
    std::string url; // unwrapped and resolved against the answer's URL
    std::string title;
    std::string content;
};

struct EngineAnswer {
    std::vector<AnswerLink> links;
    std::optional<long long> claimed; // the count the engine claims
    std::optional<EngineRequest> next; // the next page's request, when there is one
    bool blocked = false;
    std::string reason; // why it is blocked ("HTTP 429", "challenge page", ...)
    std::string problem; // why the answer could not be read ("HTTP 500", "not JSON", ...); empty when read
};

// What a definition reads from one answer. `status` and `location` are the
// answer's status and redirect target (empty when none); `asked` is the
// request that brought it, `pageno` its page number. `next` is set when the
// definition's next page selector finds a form or link, or, without one, when
// the engine pages, this page gave links and `max_page` is not reached. Never
// throws; a blocked answer or a problem leaves `links` empty.
EngineAnswer ReadAnswer(const EngineDefinition& def, int status, const std::string& location, std::string_view body,
    const std::string& answerUrl, const EngineRequest& asked, int pageno, std::string_view query);

} // namespace orv
