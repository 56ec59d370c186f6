#include "search/EngineCatalogue.h"

#include "core/Text.h"

namespace orv
{

std::string engineActivityText(Engine e)
{
    if (e == Engine::Snap)
        return "Searching Snap ...";
    return "Searching " + std::string(engineCaption(e)) + "...";
}

std::string engineQueryPath(Engine e, const EngineQuery& q)
{
    const std::string& Q = q.queryText;
    const std::string P = std::to_string(q.page);
    const std::string S = std::to_string(q.start);
    switch (e) {
    case Engine::Excite:
        return "/search.gw?c=web&s=" + Q + "&showSummary=false&start=" + P + "&perPage=20";
    case Engine::Webcrawler:
        return "/cgi-bin/WebQuery?search=" + Q + "&showSummary=false&start=" + P + "&perPage=25";
    case Engine::AltaVista:
        return "/cgi-bin/query?pg=q&q=" + Q + "&stq=" + P + "&c9k";
    case Engine::Yahoo:
        return "/bin/query?p=%2B" + Q + "&b=" + P + "&hc=0&hs=0";
    case Engine::Infoseek:
        return "/Titles?sv=IS&lk=noframes&nh=20&ud4=0&st=" + P + "&qt=" + q.quotedQueryText + "&col=WW&sf=1";
    case Engine::Snap:
        return "/search/web/results/1,33,home-0,00.html?keyword=" + Q
            + "&category=0%2D0%2DWW&numHit=20&rfr=&fail=0&dh=0&start=" + P + "&tag=st.sn.sr.5.pg";
    case Engine::Thunderstone:
        return "/texis/websearch/?c=&sn=" + P + "&q=" + Q;
    case Engine::PlanetSearch:
        return "/?a=1&flags=7&count=" + q.planetMaxText + "&index=1&text=" + Q;
    case Engine::Magellan:
        if (q.firstPage)
            return "/search.gw?c=web&look=magellan&search=" + Q;
        // The engine's next-page form ends in a blank, which is part of the URL.
        return "/search.gw?next=Next+Results&search=" + Q + "&look=magellan&start=" + S + "&collection=web ";
    case Engine::NetfindAol:
        if (q.firstPage)
            return "/search.gw?search=" + Q
                + "&Search=Find%21&look=excite_netfind2_us&sorig=rpage&nrm=aol&pri=on&xls=b&xll=65";
        return "/search.gw?lk=excite_netfind2_us&c=web&start=" + S + "&showSummary=true&s=" + Q
            + "&perPage=10&next=next&nrm=aol&pri=on&xls=b&xll=65 ";
    }
    return {};
}

std::string engineQueryUrl(Engine e, const std::string& host, const EngineQuery& q)
{
    if (StartsWith(host, "https://"))
        return host + engineQueryPath(e, q);
    return "http://" + host + engineQueryPath(e, q);
}

std::optional<std::string> fixedDataFileName(Engine e)
{
    if (e == Engine::PlanetSearch)
        return "planetsearch";
    if (e == Engine::Thunderstone)
        return "thunderstone";
    return std::nullopt;
}

PagingKind enginePaging(Engine e)
{
    switch (e) {
    case Engine::Magellan:
    case Engine::NetfindAol:
        return PagingKind::StartOffset;
    case Engine::PlanetSearch:
        return PagingKind::SinglePage;
    default:
        return PagingKind::PageValue;
    }
}

int furtherPageValue(Engine e, int k)
{
    switch (e) {
    case Engine::Webcrawler:
        return k * 25;
    case Engine::AltaVista:
        return k * 10;
    case Engine::Yahoo:
        return k * 20 + 1;
    default:
        return k * 20;
    }
}

int nextPageRequests(int resultCount)
{
    // C++ division truncates toward zero, as the rule asks for negative
    // quotients too; a zero count gives -1, which means none.
    return (resultCount - 10) / 10 + (resultCount % 10 >= 1 ? 1 : 0);
}

} // namespace orv
