#include "TodayPages.h"

#include "EnginePages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace enginesim
{

namespace
{

constexpr std::array<const char*, kTodayEngineCount> kNames
    = { "DuckDuckGo", "Bing", "Mojeek", "Brave", "Wikipedia", "Hacker News", "Crossref", "arXiv", "Wiby", "SearXNG" };

int number(const std::optional<std::string>& text, int fallback)
{
    if (!text || text->empty() || text->size() > 9)
        return fallback;
    for (char c : *text)
        if (c < '0' || c > '9')
            return fallback;
    return std::atoi(text->c_str());
}

std::string html(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string json(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string percent(const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string base64url(const std::string& text)
{
    static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    size_t i = 0;
    for (; i + 2 < text.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(text[i]) << 16) | (static_cast<unsigned char>(text[i + 1]) << 8)
            | static_cast<unsigned char>(text[i + 2]);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += table[v & 63];
    }
    if (i + 1 == text.size()) {
        const unsigned v = static_cast<unsigned char>(text[i]) << 16;
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
    } else if (i + 2 == text.size()) {
        const unsigned v = (static_cast<unsigned char>(text[i]) << 16) | (static_cast<unsigned char>(text[i + 1]) << 8);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
    }
    return out; // unpadded, as the engine writes it
}

// "38,500": the count as the HTML engines print it.
std::string thousands(int n)
{
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// A form or query value as it was typed: "+" a blank, "%XX" its byte.
std::string decoded(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            out += ' ';
        } else if (value[i] == '%' && i + 2 < value.size() && std::isxdigit(static_cast<unsigned char>(value[i + 1]))
            && std::isxdigit(static_cast<unsigned char>(value[i + 2]))) {
            out += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

TodayRequest make(TodayEngine e, int first, int size, std::string query)
{
    TodayRequest r;
    r.engine = e;
    r.first = std::max(0, first);
    r.pageSize = std::max(1, size);
    r.pageNumber = r.first / r.pageSize + 1;
    r.query = decoded(query);
    return r;
}

std::string htmlPage(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + html(title) + "</title></head>\n<body>\n"
        + body + "</body></html>\n";
}

} // namespace

const char* todayName(TodayEngine e)
{
    return kNames[static_cast<size_t>(e)];
}

std::optional<TodayEngine> todayByName(const std::string& name)
{
    for (int i = 0; i < kTodayEngineCount; ++i)
        if (name == kNames[static_cast<size_t>(i)])
            return static_cast<TodayEngine>(i);
    return std::nullopt;
}

std::string todayAddress(TodayEngine e)
{
    return "127.0.1." + std::to_string(static_cast<int>(e) + 1);
}

std::optional<TodayEngine> todayByAddress(const std::string& address)
{
    for (int i = 0; i < kTodayEngineCount; ++i)
        if (address == todayAddress(static_cast<TodayEngine>(i)))
            return static_cast<TodayEngine>(i);
    return std::nullopt;
}

std::optional<TodayRequest> classifyTodayRequest(TodayEngine e, const std::string& method, const std::string& path,
    const std::string& query, const std::string& body)
{
    const auto q = [&](const char* key) { return queryValue(query, key).value_or(""); };
    switch (e) {
    case TodayEngine::DuckDuckGo:
        // The HTML endpoint is a form: POST, the query and paging in the body.
        if (path != "/html/" && path != "/html")
            return std::nullopt;
        if (method == "POST")
            return make(e, number(queryValue(body, "s"), 0), 10, queryValue(body, "q").value_or(""));
        return make(e, number(queryValue(query, "s"), 0), 10, q("q"));
    case TodayEngine::Bing:
        if (path != "/search")
            return std::nullopt;
        return make(e, number(queryValue(query, "first"), 1) - 1, 10, q("q"));
    case TodayEngine::Mojeek:
        if (path != "/search")
            return std::nullopt;
        return make(e, number(queryValue(query, "s"), 1) - 1, 10, q("q"));
    case TodayEngine::Brave:
        if (path != "/search")
            return std::nullopt;
        return make(e, number(queryValue(query, "offset"), 0) * 10, 10, q("q"));
    case TodayEngine::Wikipedia:
        if (path != "/w/api.php")
            return std::nullopt;
        return make(e, number(queryValue(query, "sroffset"), 0), std::min(number(queryValue(query, "srlimit"), 10), 50),
            q("srsearch"));
    case TodayEngine::HackerNews: {
        if (path != "/api/v1/search")
            return std::nullopt;
        const int size = std::min(number(queryValue(query, "hitsPerPage"), 20), 100);
        return make(e, number(queryValue(query, "page"), 0) * std::max(size, 1), size, q("query"));
    }
    case TodayEngine::Crossref:
        if (path != "/works")
            return std::nullopt;
        return make(e, number(queryValue(query, "offset"), 0), std::min(number(queryValue(query, "rows"), 20), 100),
            q("query"));
    case TodayEngine::Arxiv:
        if (path != "/api/query")
            return std::nullopt;
        return make(e, number(queryValue(query, "start"), 0),
            std::min(number(queryValue(query, "max_results"), 10), 100), q("search_query"));
    case TodayEngine::Wiby:
        if (path != "/json/" && path != "/json")
            return std::nullopt;
        return make(e, (number(queryValue(query, "p"), 1) - 1) * 12, 12, q("q"));
    case TodayEngine::Searxng:
        if (path != "/search")
            return std::nullopt;
        return make(e, (number(queryValue(query, "pageno"), 1) - 1) * 10, 10, q("q"));
    }
    return std::nullopt;
}

TodayPage renderTodayPage(const TodayRequest& request, int total, const std::vector<TodayLink>& links)
{
    TodayPage page;
    page.contentType = "text/html; charset=utf-8";
    const int next = request.first + request.pageSize;
    const bool more = next < total;
    std::string body;
    switch (request.engine) {
    case TodayEngine::DuckDuckGo: {
        body = "<div id=\"links\" class=\"results\">\n";
        for (const TodayLink& l : links) {
            const std::string href = "//duckduckgo.com/l/?uddg=" + percent(l.url) + "&rut=5e2f9c";
            page.links.push_back(href);
            body += "<div class=\"result results_links results_links_deep web-result \">\n"
                    "<div class=\"links_main links_deep result__body\">\n<h2 class=\"result__title\">\n"
                    "<a rel=\"nofollow\" class=\"result__a\" href=\""
                + html(href) + "\">" + html(l.title) + "</a>\n</h2>\n<a class=\"result__snippet\" href=\"" + html(href)
                + "\">About <b>" + html(l.title) + "</b> and more.</a>\n</div>\n</div>\n";
        }
        if (more)
            body += "<div class=\"nav-link\">\n<form action=\"/html/\" method=\"post\">\n"
                    "<input type=\"submit\" class=\"btn btn--alt\" value=\"Next\">\n"
                    "<input type=\"hidden\" name=\"q\" value=\""
                + html(request.query) + "\">\n<input type=\"hidden\" name=\"s\" value=\"" + std::to_string(next)
                + "\">\n<input type=\"hidden\" name=\"nextParams\" value=\"\">\n"
                  "<input type=\"hidden\" name=\"v\" value=\"l\">\n<input type=\"hidden\" name=\"o\" value=\"json\">\n"
                  "<input type=\"hidden\" name=\"dc\" value=\""
                + std::to_string(next + 1)
                + "\">\n<input type=\"hidden\" name=\"api\" value=\"d.js\">\n"
                  "<input type=\"hidden\" name=\"vqd\" value=\"4-2712\">\n"
                  "<input type=\"hidden\" name=\"kl\" value=\"wt-wt\">\n</form>\n</div>\n";
        body += "</div>\n";
        page.body = htmlPage(request.query + " at DuckDuckGo", body);
        return page;
    }
    case TodayEngine::Bing: {
        body = "<div id=\"b_content\"><span class=\"sb_count\">About " + thousands(total)
            + " results</span>\n<ol id=\"b_results\">\n";
        for (const TodayLink& l : links) {
            const std::string href = "https://www.bing.com/ck/a?!&&p=0c1d&u=a1" + base64url(l.url) + "&ntb=1";
            page.links.push_back(href);
            body += "<li class=\"b_algo\"><h2><a href=\"" + html(href) + "\" h=\"ID=SERP\">" + html(l.title)
                + "</a></h2><div class=\"b_caption\"><p>" + html(l.title) + " explained.</p></div></li>\n";
        }
        if (more)
            body += "<li class=\"b_pag\"><a class=\"sb_pagN\" href=\"/search?q=" + html(percent(request.query))
                + "&amp;first=" + std::to_string(next + 1) + "\" title=\"Next page\">Next</a></li>\n";
        body += "</ol></div>\n";
        page.body = htmlPage(request.query + " - Search", body);
        return page;
    }
    case TodayEngine::Mojeek: {
        body = "<div class=\"results\"><p class=\"results-count\">Results " + std::to_string(request.first + 1) + " to "
            + std::to_string(request.first + static_cast<int>(links.size())) + " from " + thousands(total)
            + "</p>\n<ul class=\"results-standard\">\n";
        for (const TodayLink& l : links) {
            page.links.push_back(l.url);
            body += "<li><a class=\"ob\" href=\"" + html(l.url) + "\">" + html(l.url)
                + "</a><h2><a class=\"title\" href=\"" + html(l.url) + "\">" + html(l.title)
                + "</a></h2><p class=\"s\">" + html(l.title) + " in brief.</p></li>\n";
        }
        body += "</ul>\n";
        if (more)
            body += "<div class=\"pagination\"><ul><li><a href=\"/search?q=" + html(percent(request.query))
                + "&amp;s=" + std::to_string(next + 1) + "\">Next</a></li></ul></div>\n";
        body += "</div>\n";
        page.body = htmlPage(request.query + " - Mojeek Search", body);
        return page;
    }
    case TodayEngine::Brave: {
        body
            = "<main><div id=\"results\">\n"
              "<div class=\"snippet\" data-type=\"web\"><a href=\"/a/redirect?click=ad\"><div class=\"title\">Sponsored"
              "</div></a></div>\n";
        for (const TodayLink& l : links) {
            page.links.push_back(l.url);
            body += "<div class=\"snippet svelte-1\" data-type=\"web\" data-pos=\"1\"><a href=\"" + html(l.url)
                + "\" class=\"h\"><div class=\"url\">" + html(l.url)
                + "</div><div class=\"title search-snippet-title\">" + html(l.title)
                + "</div></a><div class=\"snippet-description\">" + html(l.title) + " today.</div></div>\n";
        }
        body += "</div></main>\n";
        page.body = htmlPage(request.query + " - Brave Search", body);
        return page;
    }
    case TodayEngine::Wikipedia: {
        page.contentType = "application/json; charset=utf-8";
        std::string items;
        for (const TodayLink& l : links) {
            std::string title = l.title;
            page.links.push_back(title);
            items += std::string(items.empty() ? "" : ",") + "{\"ns\":0,\"title\":" + json(title)
                + ",\"pageid\":" + std::to_string(1000 + page.links.size()) + ",\"snippet\":" + json(title)
                + ",\"timestamp\":\"2025-11-02T10:00:00Z\"}";
        }
        page.body = "{\"batchcomplete\":\"\","
            + (more ? "\"continue\":{\"sroffset\":" + std::to_string(next) + ",\"continue\":\"-||\"}," : std::string())
            + "\"query\":{\"searchinfo\":{\"totalhits\":" + std::to_string(total) + "},\"search\":[" + items + "]}}\n";
        return page;
    }
    case TodayEngine::HackerNews: {
        page.contentType = "application/json; charset=utf-8";
        std::string items;
        int n = 0;
        for (const TodayLink& l : links) {
            // Every fifth story is a text post: no url, only its item id.
            const bool textPost = (request.first + n) % 5 == 4;
            const std::string id = std::to_string(40000000 + request.first + n);
            page.links.push_back(textPost ? "item " + id : l.url);
            items += std::string(items.empty() ? "" : ",") + "{\"title\":" + json(l.title) + ",\"url\":"
                + (textPost ? std::string("null") : json(l.url)) + ",\"objectID\":" + json(id) + ",\"points\":12}";
            ++n;
        }
        const int pages = (total + request.pageSize - 1) / request.pageSize;
        page.body = "{\"hits\":[" + items + "],\"nbHits\":" + std::to_string(total)
            + ",\"page\":" + std::to_string(request.first / request.pageSize) + ",\"nbPages\":" + std::to_string(pages)
            + ",\"hitsPerPage\":" + std::to_string(request.pageSize) + "}\n";
        return page;
    }
    case TodayEngine::Crossref: {
        page.contentType = "application/json";
        std::string items;
        for (const TodayLink& l : links) {
            page.links.push_back(l.url);
            items += std::string(items.empty() ? "" : ",") + "{\"DOI\":\"10.5555/x\",\"URL\":" + json(l.url)
                + ",\"title\":[" + json(l.title) + "],\"type\":\"journal-article\"}";
        }
        page.body = "{\"status\":\"ok\",\"message-type\":\"work-list\",\"message\":{\"total-results\":"
            + std::to_string(total) + ",\"items\":[" + items
            + "],\"items-per-page\":" + std::to_string(request.pageSize) + "}}\n";
        return page;
    }
    case TodayEngine::Arxiv: {
        page.contentType = "application/atom+xml; charset=utf-8";
        page.body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\" "
                    "xmlns:opensearch=\"http://a9.com/-/spec/opensearch/1.1/\">\n<title>arXiv Query</title>\n"
                    "<opensearch:totalResults>"
            + std::to_string(total) + "</opensearch:totalResults>\n<opensearch:startIndex>"
            + std::to_string(request.first) + "</opensearch:startIndex>\n";
        for (const TodayLink& l : links) {
            page.links.push_back(l.url);
            page.body += "<entry>\n<id>" + html(l.url) + "</id>\n<title>" + html(l.title) + "</title>\n<summary>"
                + html(l.title) + " studied.</summary>\n</entry>\n";
        }
        page.body += "</feed>\n";
        return page;
    }
    case TodayEngine::Wiby: {
        page.contentType = "application/json";
        std::string items;
        for (const TodayLink& l : links) {
            page.links.push_back(l.url);
            items += std::string(items.empty() ? "" : ",") + "{\"URL\":" + json(l.url) + ",\"Title\":" + json(l.title)
                + ",\"Snippet\":" + json(l.title + " on a small site") + "}";
        }
        page.body = "[" + items + "]\n";
        return page;
    }
    case TodayEngine::Searxng: {
        page.contentType = "application/json";
        std::string items;
        for (const TodayLink& l : links) {
            page.links.push_back(l.url);
            items += std::string(items.empty() ? "" : ",") + "{\"url\":" + json(l.url) + ",\"title\":" + json(l.title)
                + ",\"content\":" + json(l.title) + ",\"engine\":\"wiby\"}";
        }
        page.body = "{\"query\":" + json(request.query) + ",\"number_of_results\":0,\"results\":[" + items + "]}\n";
        return page;
    }
    }
    return page;
}

TodayPage renderChallengePage(TodayEngine e)
{
    TodayPage page;
    page.contentType = "text/html; charset=utf-8";
    switch (e) {
    case TodayEngine::DuckDuckGo:
        page.body = htmlPage("DuckDuckGo",
            "<div class=\"anomaly-modal\"><form id=\"challenge-form\" action=\"/anomaly.js\""
            " method=\"POST\"><p>Unfortunately, bots use DuckDuckGo too.</p>"
            "<input type=\"hidden\" name=\"cc\" value=\"botnet\"></form></div>\n");
        break;
    case TodayEngine::Bing:
        page.body = htmlPage("Bing",
            "<div id=\"b_content\"><div class=\"captcha\"><h1>One last step</h1>"
            "<p>Please solve the challenge below to continue</p></div></div>\n");
        break;
    default:
        page.body = htmlPage("Verify",
            "<div class=\"captcha\"><form id=\"challenge-form\"><p>Are you a robot?</p>"
            "</form></div>\n");
        break;
    }
    return page;
}

} // namespace enginesim
