#include "search/EngineHosts.h"

#include "core/Errors.h"
#include "core/Text.h"

namespace orv
{

namespace
{

const char* builtInHost(Engine e)
{
    switch (e) {
    case Engine::AltaVista:
        return "www.altavista.com";
    case Engine::Infoseek:
        return "www.infoseek.com";
    case Engine::Excite:
        return "search.excite.com";
    case Engine::Yahoo:
        return "search.yahoo.com";
    case Engine::NetfindAol:
        return "netfind.aol.com";
    case Engine::Webcrawler:
        return "www.webcrawler.com";
    case Engine::Snap:
        return "home.snap.com";
    case Engine::Magellan:
        return "magellan.excite.com";
    case Engine::PlanetSearch:
        return "www.planetsearch.com";
    case Engine::Thunderstone:
        return "search.thunderstone.com";
    }
    return "";
}

} // namespace

EngineHosts::EngineHosts()
{
    for (Engine e : kAllEngines)
        hosts_[static_cast<size_t>(engineIndex(e))] = builtInHost(e);
}

EngineHosts EngineHosts::fromLines(const Lines& lines)
{
    EngineHosts hosts;
    for (const std::string& line : lines) {
        const int eq = Pos("=", line);
        if (eq == 0)
            continue;
        const auto engine = engineFromCaption(Trim(Copy(line, 1, eq - 1)));
        std::string host = Trim(CopyFrom(line, eq + 1));
        std::string scheme;
        for (const char* prefix : { "https://", "http://" }) {
            if (LowerCase(Copy(host, 1, Length(prefix))) == prefix) {
                scheme = prefix;
                host = CopyFrom(host, Length(prefix) + 1);
            }
        }
        // A host with a blank or a slash would change the request line or
        // the path; such a line is ignored like a missing one.
        if (host.empty() || host.find_first_of(" \t/") != std::string::npos)
            continue;
        if (!engine) {
            const std::string name = LowerCase(Trim(Copy(line, 1, eq - 1)));
            if (!name.empty())
                hosts.defined_[name] = (scheme.empty() ? std::string("http://") : scheme) + host;
            continue;
        }
        // Plain http is the default and is stored as the bare host.
        hosts.hosts_[static_cast<size_t>(engineIndex(*engine))] = scheme == "https://" ? scheme + host : host;
    }
    return hosts;
}

std::string EngineHosts::definedOrigin(const std::string& name) const
{
    const auto found = defined_.find(LowerCase(name));
    return found == defined_.end() ? std::string() : found->second;
}

std::string RehostUrl(const std::string& url, const std::string& origin)
{
    if (origin.empty())
        return url;
    const size_t scheme = url.find("://");
    const size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t pathStart = url.find_first_of("/?#", hostStart);
    return origin + (pathStart == std::string::npos ? std::string("/") : url.substr(pathStart));
}

EngineHosts EngineHosts::load(const std::string& programFolder)
{
    const std::string path = programFolder + kEnginesFileName;
    if (!FileExists(path))
        return EngineHosts();
    try {
        return fromLines(LoadTextLines(path));
    } catch (const Exception&) {
        return EngineHosts();
    }
}

} // namespace orv
