#pragma once
// Saved result pages of every engine (tests/fixtures/parse) and what parsing
// each must give: report line, paging state, activity text, deletion and the
// URLs offered in line order. Shared by the tests of the parsers, of the
// parsepage tool and of the main window.
#include "search/Engines.h"

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::test
{

struct ParseCase {
    const char* name;
    Engine engine;
    const char* fixture;
    const char* maxText; // the maximum box; nullptr: its default
    bool laterPage; // a later page of a run whose first page claimed the maximum
    const char* report; // nullptr: no report line
    int count;
    bool known;
    int page;
    bool deleted;
    std::vector<std::string> urls;
};

// The activity texts of each engine, as the main window shows them.
struct EngineCaptions {
    Engine engine;
    const char* timedOut;
    const char* parsing;
};

inline const std::vector<EngineCaptions>& engineCaptions()
{
    static const std::vector<EngineCaptions> captions = {
        { Engine::AltaVista, "AltaVista Timed Out...", "Parsing AltaVista data..." },
        { Engine::Infoseek, "Infoseek Timed Out...", "Parsing Infoseek data..." },
        { Engine::Excite, "Excite Timed Out...", "Parsing Excite data..." },
        { Engine::Yahoo, "Yahoo Timed Out...", "Parsing Yahoo data..." },
        { Engine::Webcrawler, "Webcrawler Timed Out...", "Parsing Webcrawler data..." },
        { Engine::Thunderstone, "Thunderstone Timed Out...", "Parsing Thunderstone data..." },
        { Engine::Snap, "Snap Timed Out...", "Parsing Snap data..." },
        { Engine::Magellan, "Magellan Timed Out...", "Parsing Magellan data..." },
        { Engine::NetfindAol, "Netfind.Aol Timed Out...", "Parsing Netfind.Aol data..." },
        { Engine::PlanetSearch, "Planet Search Timed Out...", "Parsing PlanetSearch data..." },
    };
    return captions;
}

inline const EngineCaptions& captionsOf(Engine engine)
{
    for (const EngineCaptions& c : engineCaptions())
        if (c.engine == engine)
            return c;
    throw std::logic_error("no captions");
}

inline void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

inline std::string defaultMaxText(Engine engine)
{
    return engine == Engine::NetfindAol ? "10" : "20";
}

inline std::vector<std::string> exciteSites(int count)
{
    std::vector<std::string> urls;
    for (int i = 1; i <= count; ++i)
        urls.push_back("http://www.site" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".com/fox.html");
    return urls;
}

inline const std::vector<ParseCase>& parseCases()
{
    const std::string foxden = "http://www.foxden.org/";
    const std::string redfox = "http://WWW.REDFOX.NET/";
    const std::string wildlife = "http://www.wildlife.org/fox/";
    static const std::vector<ParseCase> cases = {
        // Infoseek: the procedure told in full.
        { "InfoseekThousandsCapped", Engine::Infoseek, "infoseek.html", "100", false, "InfoSeek found\t\t\t1234 urls",
            100, true, 5, true, { foxden, "http://WWW.REDFOX.NET/Pictures.html", wildlife, "" } },
        { "InfoseekMaxOnePage", Engine::Infoseek, "infoseek.html", "20", false, "InfoSeek found\t\t\t1234 urls", 20,
            true, 1, true, { foxden, "http://WWW.REDFOX.NET/Pictures.html", wildlife, "" } },
        { "InfoseekLaterPageNoReport", Engine::Infoseek, "infoseek.html", "100", true, nullptr, 100, true, 0, true,
            { foxden, "http://WWW.REDFOX.NET/Pictures.html", wildlife, "" } },
        { "InfoseekNoCountNoLinks", Engine::Infoseek, "infoseek-nocount.html", "100", false,
            "InfoSeek found\t\t\t0 urls", 0, false, 0, true, {} },
        { "InfoseekNoSummariesLastLine", Engine::Infoseek, "infoseek-nosummaries.html", nullptr, false,
            "InfoSeek found\t\t\t2 urls", 2, true, 0, true, { "http://www.lastline.org/" } },
        { "InfoseekNulEndsText", Engine::Infoseek, "infoseek-nul.html", nullptr, false, "InfoSeek found\t\t\t45 urls",
            20, true, 1, true, { "http://www.beforenul.org/", "" } },
        { "InfoseekEmptyDeleted", Engine::Infoseek, "empty.html", nullptr, false, nullptr, 0, false, 0, true, {} },
        { "InfoseekNulFirstDeleted", Engine::Infoseek, "nul-first.html", nullptr, false, nullptr, 0, false, 0, true,
            {} },

        { "AltaVistaAboutThousands", Engine::AltaVista, "altavista.html", "100", false,
            "AltaVista found\t\t\t1234 urls", 100, true, 10, true,
            { "http://www.foxden.org/index.html", redfox, wildlife } },
        { "AltaVistaLaterPage", Engine::AltaVista, "altavista.html", "100", true, nullptr, 100, true, 0, true,
            { "http://www.foxden.org/index.html", redfox, wildlife } },
        { "AltaVistaNoDocumentMatching", Engine::AltaVista, "altavista-nomatch.html", nullptr, false,
            "AltaVista found\t\t\t0 urls", 0, true, 0, true, {} },
        { "AltaVistaNoPhraseNoReport", Engine::AltaVista, "altavista-nocount.html", nullptr, false, nullptr, 0, false,
            0, true, { foxden } },
        { "AltaVistaEmptyLeft", Engine::AltaVista, "empty.html", nullptr, false, nullptr, 0, false, 0, false, {} },

        { "ExciteCapAt25", Engine::Excite, "excite.html", "100", false, "Excite found\t\t\t312 urls", 100, true, 5,
            true, exciteSites(25) },
        { "ExciteLaterPageCapAt25", Engine::Excite, "excite.html", "100", true, nullptr, 100, true, 0, true,
            exciteSites(25) },
        { "ExciteThousandsGiveZero", Engine::Excite, "excite-thousands.html", "100", false,
            "Excite found\t\t\t1,234 urls", 0, true, 0, true, {} },
        { "ExciteLaterPageWhileZero", Engine::Excite, "excite-thousands.html", "0", true, nullptr, 0, true, 0, true,
            {} },
        { "ExciteNoPoweredByNoLinks", Engine::Excite, "excite-nopowered.html", nullptr, false,
            "Excite found\t\t\t45 urls", 20, true, 1, true, {} },
        { "ExciteEmptyDeleted", Engine::Excite, "empty.html", nullptr, false, nullptr, 0, false, 0, true, {} },

        { "YahooStopLineInBlock", Engine::Yahoo, "yahoo.html", "100", false, "Yahoo found\t\t\t1234 urls", 100, true, 5,
            true, { foxden, redfox, "http://www.unquoted.org", "http://www.lastline.org/" } },
        { "YahooLaterPage", Engine::Yahoo, "yahoo.html", nullptr, true, nullptr, 20, true, 1, true,
            { foxden, redfox, "http://www.unquoted.org", "http://www.lastline.org/" } },
        { "YahooNoUlToLastLine", Engine::Yahoo, "yahoo-noul.html", nullptr, false, "Yahoo found\t\t\t45 urls", 20, true,
            1, true, { foxden, "http://www.endofpage.org/" } },
        { "YahooCarriageReturnsOnly", Engine::Yahoo, "yahoo-cr.html", nullptr, false, "Yahoo found\t\t\t45 urls", 20,
            true, 1, true, { foxden, "http://www.endofpage.org/" } },
        { "YahooEmptyLeft", Engine::Yahoo, "empty.html", nullptr, false, nullptr, 0, false, 1, false, {} },

        { "WebcrawlerCountBeforeShow", Engine::Webcrawler, "webcrawler.html", "100", false,
            "Webcrawler found\t\t\t312 urls", 100, true, 4, true, { foxden, redfox, wildlife } },
        { "WebcrawlerSingleResult", Engine::Webcrawler, "webcrawler-single.html", nullptr, false,
            "Webcrawler found\t\t\t1 url", 0, true, 0, true, { "http://www.onlyone.org/" } },
        { "WebcrawlerShowOnFirstLine", Engine::Webcrawler, "webcrawler-showfirst.html", nullptr, false,
            "Webcrawler found\t\t\t0 urls", 0, false, 0, true, { foxden } },
        { "WebcrawlerEmptyDeleted", Engine::Webcrawler, "empty.html", nullptr, false, nullptr, 0, false, 0, true, {} },

        { "ThunderstoneLastCountLine", Engine::Thunderstone, "thunderstone.html", "2000", false,
            "Thunderstone found\t\t1,234 urls", 1234, true, 61, true,
            { foxden, "http%3A%2F%2Fwww.redfox.net%2F", "www.noscheme.org/page.html", "" } },
        { "ThunderstoneCapped", Engine::Thunderstone, "thunderstone.html", "100", false,
            "Thunderstone found\t\t1,234 urls", 100, true, 5, true,
            { foxden, "http%3A%2F%2Fwww.redfox.net%2F", "www.noscheme.org/page.html", "" } },
        { "ThunderstoneStopAboveStart", Engine::Thunderstone, "thunderstone-dlabove.html", nullptr, false,
            "Thunderstone found\t\t1 url", 1, true, 0, true, {} },
        { "ThunderstoneEmptyLeft", Engine::Thunderstone, "empty.html", nullptr, false, nullptr, 0, false, 0, false,
            {} },

        { "SnapPageTotal", Engine::Snap, "snap.html", "100", false, "Snap found\t\t\t740 urls", 0, true, 5, true,
            { foxden, redfox, "" } },
        { "SnapPageTotalUnderMax", Engine::Snap, "snap.html", "2000", false, "Snap found\t\t\t740 urls", 0, true, 37,
            true, { foxden, redfox, "" } },
        { "SnapLaterPageStart", Engine::Snap, "snap.html", "100", true, nullptr, 0, true, 0, true,
            { "http://www.sponsor.com/", foxden, redfox, "" } },
        { "SnapNulFirstLeft", Engine::Snap, "nul-first.html", nullptr, false, nullptr, 0, false, 0, false, {} },

        { "MagellanLastCountLine", Engine::Magellan, "magellan.html", "1000", false, "Magellan found\t\t\t312 urls",
            312, true, 0, true, { foxden, redfox, wildlife } },
        { "MagellanCapped", Engine::Magellan, "magellan.html", nullptr, false, "Magellan found\t\t\t312 urls", 20, true,
            0, true, { foxden, redfox, wildlife } },
        { "MagellanNoPhraseStillKnown", Engine::Magellan, "infoseek-nocount.html", nullptr, false,
            "Magellan found\t\t\t0 urls", 0, true, 0, true, {} },
        { "MagellanEmptyLeft", Engine::Magellan, "empty.html", nullptr, false, nullptr, 0, false, 0, false, {} },

        { "NetfindLastCountLine", Engine::NetfindAol, "netfind.html", "100", false, "Netfind.Aol found\t\t\t57 urls",
            57, true, 0, true, { foxden, "", wildlife, "http://www.refined.org/" } },
        { "NetfindCapped", Engine::NetfindAol, "netfind.html", nullptr, false, "Netfind.Aol found\t\t\t57 urls", 10,
            true, 0, true, { foxden, "", wildlife, "http://www.refined.org/" } },
        { "NetfindLaterPage", Engine::NetfindAol, "netfind.html", nullptr, true, nullptr, 10, true, 0, true,
            { foxden, "", wildlife, "http://www.refined.org/" } },
        { "NetfindNoPhraseStillKnown", Engine::NetfindAol, "webcrawler.html", nullptr, false,
            "Netfind.Aol found\t\t\t0 urls", 0, true, 0, true, {} },

        { "PlanetSearchCountAsCut", Engine::PlanetSearch, "planetsearch.html", nullptr, false,
            "PlanetSearch found\t\t                1,234 urls", 0, false, 0, true, { foxden, redfox } },
        { "PlanetSearchEveryCallCounts", Engine::PlanetSearch, "planetsearch.html", nullptr, true,
            "PlanetSearch found\t\t                1,234 urls", 0, false, 0, true, { foxden, redfox } },
        { "PlanetSearchCountLineMissing", Engine::PlanetSearch, "planetsearch-short.html", nullptr, false,
            "PlanetSearch found\t\t                0 urls", 0, false, 0, true, { foxden } },
        { "PlanetSearchEmptyLeft", Engine::PlanetSearch, "empty.html", nullptr, false, nullptr, 0, false, 0, false,
            {} },
    };
    return cases;
}

} // namespace orv::test
