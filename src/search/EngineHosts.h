#pragma once
// Where each engine is asked: "host" or "host:port" per engine, or
// "https://host[:port]" for an engine asked over TLS. The program folder's
// engines.txt ("Name=host[:port]" or "Name=https://host[:port]" per line,
// names as the check box captions) overrides the built-in hosts one engine
// at a time; a missing file or a missing line leaves the built-in host.
#include "core/Lines.h"
#include "search/Engines.h"

#include <array>
#include <map>
#include <string>

namespace orv
{

inline constexpr const char* kEnginesFileName = "engines.txt";

class EngineHosts
{
public:
    // The built-in hosts.
    EngineHosts();

    // The built-in hosts overridden by the lines of an engines file.
    static EngineHosts fromLines(const Lines& lines);

    // Reads programFolder + "engines.txt"; an unreadable or missing file
    // gives the built-in hosts.
    static EngineHosts load(const std::string& programFolder);

    const std::string& host(Engine e) const { return hosts_[static_cast<size_t>(engineIndex(e))]; }

    // Where the file points a defined engine (its name in any case):
    // "http://host[:port]" or "https://host[:port]"; empty when it does not.
    std::string definedOrigin(const std::string& name) const;

private:
    std::array<std::string, kEngineCount> hosts_;
    std::map<std::string, std::string> defined_; // lower-case name -> origin
};

// `url` with its scheme, host and port replaced by `origin`
// ("scheme://host[:port]"); an empty origin leaves it as it is.
std::string RehostUrl(const std::string& url, const std::string& origin);


} // namespace orv
