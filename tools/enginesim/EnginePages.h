#pragma once
// The ten engines' result pages as the simulator writes them: each engine
// has its own count line, block markers and link markers, and pages through
// its results by the start value its query carries.
#include <optional>
#include <string>
#include <vector>

namespace enginesim
{

// Same order as the program's engine list.
enum class SimEngine {
    AltaVista,
    Infoseek,
    Excite,
    Yahoo,
    NetfindAol,
    Webcrawler,
    Snap,
    Magellan,
    PlanetSearch,
    Thunderstone
};
inline constexpr int kSimEngineCount = 10;

const char* engineName(SimEngine e); // the check box captions: "AltaVista", ..., "Netfind.Aol", ...
std::optional<SimEngine> engineByName(const std::string& name);

// One result page asked of one engine.
struct EngineRequest {
    SimEngine engine;
    int first = 0; // 0-based index of the first result on the page
    int pageSize = 0; // results the page holds at most
    int pageNumber = 1; // 1 for the first page; Magellan and Netfind.Aol: next-page start / 10 + 2
};

// Which engine a request path and query belong to, or nothing.
std::optional<EngineRequest> classifyEngineRequest(const std::string& path, const std::string& query);

// The value of `key` in a query ("a=1&b=2"), or nothing.
std::optional<std::string> queryValue(const std::string& query, const std::string& key);

struct ResultLink {
    std::string url;
    std::string title;
};

// The page for `request` of an engine that claims `total` results, listing `links`.
std::string renderEnginePage(const EngineRequest& request, int total, const std::vector<ResultLink>& links);

} // namespace enginesim
