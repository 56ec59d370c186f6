#include "EnginePages.h"

#include <algorithm>
#include <cstdlib>

namespace enginesim
{

namespace
{

const char* const kNames[kSimEngineCount] = {
    "AltaVista",
    "Infoseek",
    "Excite",
    "Yahoo",
    "Netfind.Aol",
    "Webcrawler",
    "Snap",
    "Magellan",
    "PlanetSearch",
    "Thunderstone",
};

std::string num(int n)
{
    return std::to_string(n);
}

// "1234567" -> "1,234,567", as the engines that print separators write it.
std::string thousands(int n)
{
    std::string digits = std::to_string(n);
    std::string out;
    const int len = static_cast<int>(digits.size());
    for (int i = 0; i < len; ++i) {
        if (i > 0 && (len - i) % 3 == 0)
            out += ',';
        out += digits[static_cast<size_t>(i)];
    }
    return out;
}

int intOr(const std::optional<std::string>& text, int fallback)
{
    if (!text || text->empty())
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(text->c_str(), &end, 10);
    if (end == text->c_str())
        return fallback;
    return static_cast<int>(std::clamp(value, 0L, 1000000L));
}

std::string head(const std::string& title)
{
    return "<html><head><title>" + title + "</title></head>\r\n<body>\r\n";
}
const char* const kTail = "</body></html>\r\n";

std::string infoseek(const EngineRequest& r, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Infoseek: search results");
    p += "<a href=\"/Titles?sv=IS&lk=noframes\">New search</a>\r\n";
    if (total > 0) {
        const int last = r.first + static_cast<int>(links.size());
        p += "<b>RESULTS " + num(r.first + 1) + " - " + num(std::max(last, r.first + 1)) + " of " + thousands(total)
            + " total</b>\r\n";
    } else {
        p += "<b>No results were found for your query.</b>\r\n";
    }
    p += "<a href=\"/Titles?sv=IS&lk=noframes&sf=0\">Show summaries</a>\r\n";
    // The engine's own link sits among the results; the parser skips it.
    p += "<b><a href=\"http://www.infoseek.com/Help?pg=tips.html\">Search tips</a></b><br>\r\n";
    for (const auto& l : links)
        p += "<b><a href=\"" + l.url + "\">" + l.title + "</a></b><br>\r\n<font size=-1>" + l.url + "</font><br>\r\n";
    p += "<a href=\"/Titles?sv=IS&lk=noframes&sf=1\">Hide summaries</a>\r\n";
    return p + kTail;
}

std::string webcrawler(const EngineRequest& r, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("WebCrawler query");
    if (total == 0) {
        p += "<b>No documents were found.</b>\r\n";
    } else {
        if (total == 1)
            p += "Result\r\n";
        else
            p += "Results " + num(r.first + 1) + "-" + num(r.first + static_cast<int>(links.size())) + " of "
                + num(total) + ".\r\n";
        p += "<i>- show summaries</i>\r\n";
    }
    for (const auto& l : links)
        p += "<li><a href=" + l.url + ">" + l.title + "</a><br>\r\n";
    p += "<FORM ACTION=\"/cgi-bin/WebQuery\" METHOD=GET><INPUT NAME=search></FORM>\r\n";
    return p + kTail;
}

std::string excite(const EngineRequest& r, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Excite search");
    p += "<a href=\"/search.gw?c=web\">New search</a>\r\n";
    p += "[" + num(total) + " hits. Showing " + num(r.first + 1) + "-" + num(r.first + static_cast<int>(links.size()))
        + "]\r\n";
    p += "<UL>\r\n";
    for (const auto& l : links)
        p += "<LI><A HREF=\"" + l.url + "\">" + l.title + "</A>\r\n";
    p += "</UL>\r\n";
    p += "Powered by <A HREF=\"http://www.excite.com/\">Excite</A>\r\n";
    return p + kTail;
}

std::string altaVista(const EngineRequest&, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Simple Query");
    p += "<a href=\"http://www.altavista.com/\">Home</a>\r\n";
    if (total > 0)
        p += "AltaVista found about " + thousands(total) + " Web pages for you.\r\n";
    else
        p += "AltaVista found no document matching your query.\r\n";
    p += "<dl>\r\n";
    for (const auto& l : links)
        p += "<dt><b><a href=\"" + l.url + "\">" + l.title + "</a></b><br>\r\n";
    p += "</dl>\r\n<a href=\"http://www.altavista.com/av/content/about.htm\">About us</a>\r\n";
    p += "<b>Result Pages:</b> <a href=\"/cgi-bin/query?pg=q\">next</a>\r\n";
    return p + kTail;
}

std::string yahoo(const EngineRequest&, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Yahoo! Search Results");
    p += "Found <b>" + thousands(total) + "</b>.\r\n";
    p += "<b>Web Pages</b>\r\n<ul>\r\n";
    // The last link shares its line with the list's end, as the engine writes it.
    for (size_t i = 0; i < links.size(); ++i) {
        p += "<li><a href=\"" + links[i].url + "\">" + links[i].title + "</a>";
        p += i + 1 == links.size() ? "</ul>\r\n" : "\r\n";
    }
    if (links.empty())
        p += "</ul>\r\n";
    return p + kTail;
}

std::string snap(const EngineRequest& r, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Snap: web search");
    if (r.first == 0)
        p += "<b>Matching Web Sites</b>\r\n";
    else
        p += "<b>Search Results " + num(r.first + 1) + "-" + num(r.first + static_cast<int>(links.size())) + "</b>\r\n";
    if (total > 0)
        p += "<font size=2>Page " + num(r.first / 20 + 1) + " of " + num((total + 19) / 20) + "</font>\r\n";
    p += "<ul><font face=arial>\r\n";
    for (const auto& l : links)
        p += "<li><b><a href=\"" + l.url + "\">" + l.title + "</a></b> - web site\r\n";
    p += "</font></ul>\r\n";
    return p + kTail;
}

std::string thunderstone(const EngineRequest&, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Web search");
    p += thousands(total) + " Matching sites\r\n<dl>\r\n";
    for (size_t i = 0; i < links.size(); ++i)
        p += "<dt><a href=/texis/websearch/redir.html?r=" + num(static_cast<int>(i)) + "&u=" + links[i].url + ">"
            + links[i].title + "</a>\r\n";
    p += "</dl>\r\n";
    return p + kTail;
}

std::string magellan(const EngineRequest&, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("Magellan Internet Guide");
    p += "<b>" + num(total) + "</b> results returned\r\n";
    p += "<p>Magellan search results</p>\r\n";
    for (const auto& l : links)
        p += "<b><a href=\"" + l.url + "\">" + l.title + "</a></b><br>\r\n";
    p += "<FORM ACTION=\"/search.gw\"><INPUT TYPE=submit NAME=next VALUE=\"Next Results\"></FORM>\r\n";
    return p + kTail;
}

std::string netfindAol(const EngineRequest&, int total, const std::vector<ResultLink>& links)
{
    std::string p = head("NetFind Search Results");
    p += "Your search found <b>" + num(total) + "</b> matches.\r\n";
    for (const auto& l : links)
        p += "<b><a href=\"" + l.url + "\">" + l.title + "</a></b><br><i>" + l.url + "</i><br>\r\n";
    p += "<!-- mini search box -->\r\n<form action=\"/search.gw\"><input name=search></form>\r\n";
    return p + kTail;
}

std::string planetSearch(const EngineRequest&, int total, const std::vector<ResultLink>& links)
{
    std::string p = "<HTML><HEAD><TITLE>PlanetSearch</TITLE></HEAD><BODY>\r\n<TABLE>\r\n";
    p += "<TR><TD>Documents matching your search terms</TD></TR>\r\n<TR>\r\n<TD>\r\n";
    p += "<FONT SIZE=2>" + num(total) + "&nbsp;documents</FONT>\r\n</TD></TR></TABLE>\r\n";
    p += "<B>Results 1 - " + num(static_cast<int>(links.size())) + "</B>\r\n<TABLE>\r\n";
    for (const auto& l : links)
        p += "<TR><TD><a href=\"" + l.url + "\">" + l.title + "</a></TD></TR>\r\n";
    p += "</TABLE>\r\n</BODY></HTML>\r\n";
    return p;
}

} // namespace

const char* engineName(SimEngine e)
{
    return kNames[static_cast<int>(e)];
}

std::optional<SimEngine> engineByName(const std::string& name)
{
    for (int i = 0; i < kSimEngineCount; ++i)
        if (name == kNames[i])
            return static_cast<SimEngine>(i);
    return std::nullopt;
}

std::optional<std::string> queryValue(const std::string& query, const std::string& key)
{
    size_t at = 0;
    while (at <= query.size()) {
        size_t end = query.find('&', at);
        if (end == std::string::npos)
            end = query.size();
        const std::string part = query.substr(at, end - at);
        if (part.compare(0, key.size() + 1, key + "=") == 0)
            return part.substr(key.size() + 1);
        at = end + 1;
    }
    return std::nullopt;
}

std::optional<EngineRequest> classifyEngineRequest(const std::string& path, const std::string& query)
{
    auto make = [](SimEngine e, int first, int size) {
        EngineRequest r { e, std::max(0, first), size, 1 };
        r.pageNumber = r.first / std::max(1, size) + 1;
        return r;
    };
    if (path == "/search.gw") {
        const bool magellan = query.find("look=magellan") != std::string::npos;
        const bool netfind = query.find("excite_netfind2_us") != std::string::npos;
        if (magellan || netfind) {
            // The first-page form carries no start; a next-page form with start S
            // is the engine's page S / 10 + 2 in the order the program asks.
            const auto start = queryValue(query, "start");
            EngineRequest r { magellan ? SimEngine::Magellan : SimEngine::NetfindAol, intOr(start, 0), 10, 1 };
            if (start)
                r.pageNumber = r.first / 10 + 2;
            return r;
        }
        return make(SimEngine::Excite, intOr(queryValue(query, "start"), 0), 20);
    }
    if (path == "/cgi-bin/WebQuery")
        return make(SimEngine::Webcrawler, intOr(queryValue(query, "start"), 0), 25);
    if (path == "/cgi-bin/query")
        return make(SimEngine::AltaVista, intOr(queryValue(query, "stq"), 0), 10);
    if (path == "/bin/query")
        return make(SimEngine::Yahoo, intOr(queryValue(query, "b"), 1) - 1, 20);
    if (path == "/Titles")
        return make(SimEngine::Infoseek, intOr(queryValue(query, "st"), 0), 20);
    if (path == "/search/web/results/1,33,home-0,00.html")
        return make(SimEngine::Snap, intOr(queryValue(query, "start"), 0), 20);
    if (path == "/texis/websearch/")
        return make(SimEngine::Thunderstone, intOr(queryValue(query, "sn"), 0), 20);
    if (path == "/" && queryValue(query, "text"))
        return make(SimEngine::PlanetSearch, 0, intOr(queryValue(query, "count"), 20));
    return std::nullopt;
}

std::string renderEnginePage(const EngineRequest& request, int total, const std::vector<ResultLink>& links)
{
    switch (request.engine) {
    case SimEngine::Infoseek:
        return infoseek(request, total, links);
    case SimEngine::Webcrawler:
        return webcrawler(request, total, links);
    case SimEngine::Excite:
        return excite(request, total, links);
    case SimEngine::AltaVista:
        return altaVista(request, total, links);
    case SimEngine::Yahoo:
        return yahoo(request, total, links);
    case SimEngine::Snap:
        return snap(request, total, links);
    case SimEngine::Thunderstone:
        return thunderstone(request, total, links);
    case SimEngine::Magellan:
        return magellan(request, total, links);
    case SimEngine::NetfindAol:
        return netfindAol(request, total, links);
    case SimEngine::PlanetSearch:
        return planetSearch(request, total, links);
    }
    return {};
}

} // namespace enginesim
