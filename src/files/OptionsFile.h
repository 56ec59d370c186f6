#pragma once
// The options file "search.txt": 27 lines, each ended by CR LF. Lines 1 to 10
// say which engines take part ("true"/"false"), line 11 whether the HTTP proxy
// is used, lines 12 to 14 hold the proxy address, the proxy port and the
// seconds to wait, lines 15 to 24 the largest number of results per engine,
// line 25 how many pages a retrieval run fetches at once, line 26 whether
// retrievals use "HTTP/1.1 connections", line 27 what the criteria are matched
// on ("page text" or "page source"). Earlier versions wrote only the first 24,
// 25 or 26 lines; such a file reads as it always did, with one fetch at a
// time, HTTP/1.0 requests and matching on the page source.
// The engines of the flag lines and of the maximum lines come in two different
// fixed orders. Every text is kept as it stands; numbers are converted only
// where they are used.
#include "core/Errors.h"
#include "core/Lines.h"
#include "search/Engines.h"
#include "verify/PageJudge.h"

#include <array>
#include <string>

namespace orv
{

inline constexpr int kOptionsLineCount = 27;
// Lines a file must hold; the later ones came with later versions.
inline constexpr int kOptionsRequiredLineCount = 24;

// Pages a retrieval run keeps in flight: 1 is one after another.
inline constexpr int kParallelFetchesMin = 1;
inline constexpr int kParallelFetchesMax = 32;
inline constexpr int kParallelFetchesDefault = 1;
inline constexpr const char* kOptionsFileName = "search.txt";

// Engines of lines 1 to 10.
inline constexpr std::array<Engine, kEngineCount> kOptionsFlagOrder = {
    Engine::AltaVista,
    Engine::Excite,
    Engine::NetfindAol,
    Engine::Snap,
    Engine::PlanetSearch,
    Engine::Infoseek,
    Engine::Yahoo,
    Engine::Webcrawler,
    Engine::Magellan,
    Engine::Thunderstone,
};

// Engines of lines 15 to 24.
inline constexpr std::array<Engine, kEngineCount> kOptionsMaxOrder = {
    Engine::AltaVista,
    Engine::Excite,
    Engine::NetfindAol,
    Engine::Infoseek,
    Engine::PlanetSearch,
    Engine::Yahoo,
    Engine::Webcrawler,
    Engine::Magellan,
    Engine::Thunderstone,
    Engine::Snap,
};

// The settings as the controls hold them, indexed by engineIndex().
struct Options {
    std::array<bool, kEngineCount> selected {};
    bool useProxy = false;
    std::string proxy = "255.255.255.255";
    std::string proxyPort = "80";
    std::string maxSeconds = "30";
    std::array<std::string, kEngineCount> maxText = defaultMaxTexts();
    int parallelFetches = kParallelFetchesDefault;
    // "HTTP/1.1 connections" for retrievals: on for a new user's folder, off
    // where a file from before the setting is read.
    bool http11 = true;
    // The form's default and that of a file without the line is the page
    // source; the options laid out for a new user choose page text.
    MatchOn matchOn = MatchOn::PageSource;

    bool isSelected(Engine e) const { return selected[static_cast<size_t>(engineIndex(e))]; }
    std::string& maxOf(Engine e) { return maxText[static_cast<size_t>(engineIndex(e))]; }
    const std::string& maxOf(Engine e) const { return maxText[static_cast<size_t>(engineIndex(e))]; }

    // "20" for every engine but Netfind.Aol, which takes "10".
    static std::array<std::string, kEngineCount> defaultMaxTexts();
};

// "true" or "false".
std::string OptionFlagText(bool flag);
// Only the exact text "true" (lower case) reads as set.
bool OptionFlagFromText(const std::string& line);

// The number of parallel fetches a line gives: a whole number kept within
// kParallelFetchesMin..kParallelFetchesMax; any other text gives the default.
int ParallelFetchesFromText(const std::string& line);

// "page text" or "page source"; only the exact text "page text" reads as
// page text.
std::string MatchOnText(MatchOn on);
MatchOn MatchOnFromText(const std::string& line);

// The 27 lines of the file for these settings.
Lines OptionsToLines(const Options& options);

// Reads `lines` into `options` in file order. Every line that is present is
// applied; a file shorter than 24 lines stops at the first missing line with
// EListError "List index out of bounds (%d)" (0-based index), after the lines
// before it were applied. A file of 24 lines gives the default number of
// parallel fetches, one of 25 lines HTTP/1.0 requests ("HTTP/1.1
// connections" off), and one of 24 to 26 lines matches on the page source.
// Lines after the 27th are ignored.
void OptionsFromLines(const Lines& lines, Options& options);

// Whether a file of `fileLines` already stores exactly these settings (a
// file of 24 lines stores one fetch at a time), so that it need not be
// written again.
bool OptionsFileHolds(const Lines& fileLines, const Options& options);

// "Cannot open file %s" / "Cannot create file %s" with the full path.
std::string CannotOpenFileText(const std::string& path);
std::string CannotCreateFileText(const std::string& path);

// A list read past its end.
class EListError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace orv
