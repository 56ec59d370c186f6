#pragma once
// The ten search engines, their captions (as on their check boxes) and the
// per-run paging state the parsers set and the search run reads.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orv
{

enum class Engine {
    AltaVista,
    Infoseek,
    Excite,
    Yahoo,
    NetfindAol,
    Webcrawler,
    Snap,
    Magellan,
    PlanetSearch,
    Thunderstone,
};

inline constexpr int kEngineCount = 10;

inline constexpr std::array<Engine, kEngineCount> kAllEngines = {
    Engine::AltaVista,
    Engine::Infoseek,
    Engine::Excite,
    Engine::Yahoo,
    Engine::NetfindAol,
    Engine::Webcrawler,
    Engine::Snap,
    Engine::Magellan,
    Engine::PlanetSearch,
    Engine::Thunderstone,
};

// The order in which a search run queries the engines.
inline constexpr std::array<Engine, kEngineCount> kSearchOrder = {
    Engine::Infoseek,
    Engine::Webcrawler,
    Engine::Excite,
    Engine::AltaVista,
    Engine::Yahoo,
    Engine::Snap,
    Engine::Thunderstone,
    Engine::PlanetSearch,
    Engine::Magellan,
    Engine::NetfindAol,
};

inline constexpr int engineIndex(Engine e)
{
    return static_cast<int>(e);
}

// "AltaVista", "Infoseek", ..., "Netfind.Aol", ... "Thunderstone".
std::string_view engineCaption(Engine e);

// The engine whose caption is `caption` (exact), if any.
std::optional<Engine> engineFromCaption(std::string_view caption);

// Per engine and search run. Magellan and Netfind.Aol page by result count and
// start offset; the others by the page value, which after the first page
// holds the number of pages to fetch in all.
struct PagingState {
    int resultCount = 0;
    bool countKnown = false;
    int page = 0;
    int start = 0;
};

// The reset a search run starts with: everything 0, Yahoo's page value 1.
PagingState initialPagingState(Engine e);

} // namespace orv
