#pragma once
// Today's engines as the simulator plays them: each has a loopback address
// of its own (127.0.1.1 for the first, ...), on the simulator's port, so
// that engines whose paths are alike ("/search") are told apart by where
// they are asked. Their answers are pages in each engine's own markup (HTML,
// JSON or Atom), paged by the key that engine pages by, with links wrapped
// as that engine wraps them.
#include <optional>
#include <string>
#include <vector>

namespace enginesim
{

enum class TodayEngine {
    DuckDuckGo,
    Bing,
    Mojeek,
    Brave,
    Wikipedia,
    HackerNews,
    Crossref,
    Arxiv,
    Wiby,
    Searxng,
};
inline constexpr int kTodayEngineCount = 10;

// The names the shipped definitions give them ("DuckDuckGo", "Hacker News", ...).
const char* todayName(TodayEngine e);
std::optional<TodayEngine> todayByName(const std::string& name);
// "127.0.1.1", "127.0.1.2", ...
std::string todayAddress(TodayEngine e);
std::optional<TodayEngine> todayByAddress(const std::string& address);

// One result page asked of one of today's engines.
struct TodayRequest {
    TodayEngine engine = TodayEngine::DuckDuckGo;
    int first = 0; // 0-based index of the first result
    int pageSize = 10;
    int pageNumber = 1;
    std::string query; // the query as it came, still encoded
};

// The page asked by a request to the engine's address: its path, query and
// (for a POST) form body. Nothing when the engine has no such page.
std::optional<TodayRequest> classifyTodayRequest(TodayEngine e, const std::string& method, const std::string& path,
    const std::string& query, const std::string& body);

struct TodayLink {
    std::string url; // where the result leads
    std::string title;
};

struct TodayPage {
    std::string contentType;
    std::string body;
    std::vector<std::string> links; // the links as the page carries them, before any unwrapping
};

// The answer to `request` of an engine claiming `total` results.
TodayPage renderTodayPage(const TodayRequest& request, int total, const std::vector<TodayLink>& links);

// The engine's challenge (captcha) page, answered with status 200.
TodayPage renderChallengePage(TodayEngine e);

} // namespace enginesim
