#include "engines/EngineRequests.h"

#include <strings.h>

namespace orv
{
namespace
{

bool hasHeader(const std::vector<std::pair<std::string, std::string>>& headers, const char* name)
{
    for (const auto& h : headers)
        if (::strcasecmp(h.first.c_str(), name) == 0)
            return true;
    return false;
}

void replaceAll(std::string& s, std::string_view what, const std::string& with)
{
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
        s.replace(at, what.size(), with);
}

} // namespace

std::string FormEncode(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
            || c == '_' || c == '~') {
            out += ch;
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string FormBody(const std::vector<std::pair<std::string, std::string>>& fields)
{
    std::string body;
    for (const auto& [name, value] : fields) {
        if (!body.empty())
            body += '&';
        body += FormEncode(name) + '=' + FormEncode(value);
    }
    return body;
}

long long PageNumberValue(const EngineDefinition& def, int pageno)
{
    return (static_cast<long long>(pageno) - 1) * def.pageSize + def.firstPageNum;
}

std::string FillPlaceholders(const std::string& templ, const EngineDefinition& def, std::string_view query, int pageno)
{
    std::string out = templ;
    replaceAll(out, "{query}", FormEncode(query));
    replaceAll(out, "{pageno}", std::to_string(PageNumberValue(def, pageno)));
    replaceAll(out, "{lang}", def.lang);
    replaceAll(out, "{time_range}", std::string());
    replaceAll(out, "{safe_search}", std::string());
    return out;
}

std::vector<std::pair<std::string, std::string>> RequestHeaders(const EngineDefinition& def, bool post)
{
    std::vector<std::pair<std::string, std::string>> headers = def.headers;
    if (!hasHeader(headers, "User-Agent"))
        headers.emplace_back("User-Agent", kDefinedEngineUserAgent);
    if (!def.cookies.empty() && !hasHeader(headers, "Cookie")) {
        std::string cookie;
        for (const auto& [name, value] : def.cookies)
            cookie += (cookie.empty() ? "" : "; ") + name + '=' + value;
        headers.emplace_back("Cookie", cookie);
    }
    if (post && !hasHeader(headers, "Content-Type"))
        headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
    return headers;
}

EngineRequest PageRequest(const EngineDefinition& def, std::string_view query, int pageno)
{
    EngineRequest r;
    r.method = def.method;
    const std::string& templ = (pageno <= 1 && !def.firstPageUrl.empty()) ? def.firstPageUrl : def.searchUrl;
    r.url = FillPlaceholders(templ, def, query, pageno);
    const bool post = def.method == "POST";
    if (post)
        r.body = FillPlaceholders(def.requestBody, def, query, pageno);
    r.headers = RequestHeaders(def, post);
    return r;
}

EngineRequest FirstRequest(const EngineDefinition& def, std::string_view query)
{
    return PageRequest(def, query, 1);
}

} // namespace orv
