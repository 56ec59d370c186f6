#include "parse/EngineRules.h"

#include <array>

namespace orv
{

namespace
{

EngineRules altaVista()
{
    EngineRules r { Engine::AltaVista, "AltaVista Timed Out...", "Parsing AltaVista data...", false, readAltaVistaCount,
        PagingRule::PagesOfCount, 10, false, false, {}, {} };
    r.block.start = "Web pages for you.";
    r.block.stop = "<b>Result Pages:";
    r.link.marker = "a href=\"http://";
    r.link.prefix = "a href=\"";
    r.link.end = "\">";
    r.link.excludedLineTexts = { "altavista", kAltaVistaLegalNotice };
    return r;
}

EngineRules infoseek()
{
    EngineRules r { Engine::Infoseek, "Infoseek Timed Out...", "Parsing Infoseek data...", true, readInfoseekCount,
        PagingRule::PagesOfCount, 20, true, false, {}, {} };
    r.block.start = "summaries";
    r.block.startAnyCase = true;
    r.block.missingStart = MissingStart::LastLine;
    r.block.stop = ">hide summaries<";
    r.block.stopAnyCase = true;
    r.block.stopSearch = StopSearch::AfterStartLine;
    r.link.marker = "<b><a href=\"http://";
    r.link.prefix = "<b><a href=\"";
    r.link.end = "\">";
    r.link.excludedUrlText = "infoseek"; // the engine's own pages
    return r;
}

EngineRules excite()
{
    EngineRules r { Engine::Excite, "Excite Timed Out...", "Parsing Excite data...", true, readExciteCount,
        PagingRule::PagesOfCount, 20, false, true, {}, {} };
    r.block.start = nullptr; // the first line of the page
    r.block.stop = "Powered by <A HREF=\"";
    r.block.missingStopEmptiesBlock = true;
    r.link.marker = "A HREF=\"http://";
    r.link.markerExact = true;
    r.link.prefix = "A HREF=\"";
    r.link.end = "\">";
    r.link.maxPerPage = 25;
    return r;
}

EngineRules yahoo()
{
    EngineRules r { Engine::Yahoo, "Yahoo Timed Out...", "Parsing Yahoo data...", false, readYahooCount,
        PagingRule::PagesOfCount, 20, false, false, {}, {} };
    r.block.start = "<b>Web Pages</b>";
    r.block.stop = "</ul>";
    r.block.stopLineInBlock = true;
    r.link.marker = "<li><a href=\"http://";
    r.link.prefix = "<li><a href=\"";
    r.link.end = ">";
    r.link.dropCharBeforeEnd = true; // the closing quote
    return r;
}

EngineRules webcrawler()
{
    EngineRules r { Engine::Webcrawler, "Webcrawler Timed Out...", "Parsing Webcrawler data...", true,
        readWebcrawlerCount, PagingRule::PagesOfCount, 25, false, false, {}, {} };
    r.block.start = "- show";
    r.block.stop = "<FORM ACTION";
    r.link.marker = "a href=http://";
    r.link.prefix = "a href=";
    r.link.end = ">";
    return r;
}

EngineRules thunderstone()
{
    EngineRules r { Engine::Thunderstone, "Thunderstone Timed Out...", "Parsing Thunderstone data...", false,
        readThunderstoneCount, PagingRule::PagesOfCount, 20, false, false, {}, {} };
    r.block.start = "Matching sites";
    r.block.stop = "</dl>";
    r.block.stopSearch = StopSearch::FromTop;
    r.link.marker = "&u=";
    r.link.prefix = "&u="; // the target is taken as written, escapes and all
    r.link.end = ">";
    return r;
}

EngineRules snap()
{
    EngineRules r { Engine::Snap, "Snap Timed Out...", "Parsing Snap data...", false, readSnapCount,
        PagingRule::PageTotal, 20, false, false, {}, {} };
    r.block.start = "Matching Web";
    r.block.laterPageStart = "Search Results";
    r.block.stop = "</font></ul>";
    r.link.marker = "<b><a href=\"http://";
    r.link.prefix = "<b><a href=\"";
    r.link.end = "\">";
    r.link.endNotOnLastChar = true;
    return r;
}

EngineRules magellan()
{
    EngineRules r { Engine::Magellan, "Magellan Timed Out...", "Parsing Magellan data...", false, readMagellanCount,
        PagingRule::CountOnly, 0, false, false, {}, {} };
    r.block.start = "search results";
    r.block.stop = "</FORM>";
    r.link.marker = "<b><a href=\"http://";
    r.link.prefix = "<b><a href=\"";
    r.link.end = "\">";
    return r;
}

EngineRules netfindAol()
{
    EngineRules r { Engine::NetfindAol, "Netfind.Aol Timed Out...", "Parsing Netfind.Aol data...", false,
        readNetfindAolCount, PagingRule::CountOnly, 0, false, false, {}, {} };
    r.block.start = "matches";
    r.block.stop = "<!-- mini search box -->";
    r.link.marker = "<br><i>http://";
    r.link.prefix = "<br><i>";
    r.link.end = "</i>";
    return r;
}

EngineRules planetSearch()
{
    EngineRules r { Engine::PlanetSearch, "Planet Search Timed Out...", "Parsing PlanetSearch data...", false,
        readPlanetSearchCount, PagingRule::None, 0, false, false, {}, {} };
    r.block.start = "Results 1";
    r.block.stop = "/TABLE";
    r.link.marker = "a href=\"http://";
    r.link.prefix = "a href=\"";
    r.link.end = "\">";
    return r;
}

std::array<EngineRules, kEngineCount> buildAll()
{
    std::array<EngineRules, kEngineCount> all { altaVista(), infoseek(), excite(), yahoo(), netfindAol(), webcrawler(),
        snap(), magellan(), planetSearch(), thunderstone() };
    return all;
}

} // namespace

const EngineRules& rulesOf(Engine engine)
{
    static const std::array<EngineRules, kEngineCount> all = buildAll();
    return all[static_cast<size_t>(engineIndex(engine))];
}

} // namespace orv
