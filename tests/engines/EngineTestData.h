#pragma once
// Shared by the engine tests: the shipped definitions and the pages of our
// own made in each engine's markup.
#include "engines/EngineDefinition.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace orv::test
{

inline std::string ShippedFolder()
{
    return std::string(ORVALEN_FIXTURES) + "/../../dist/engines/";
}
inline std::string EngineFixture(const std::string& name)
{
    return std::string(ORVALEN_FIXTURES) + "/engines/" + name;
}

inline std::string ReadEngineFixture(const std::string& name)
{
    std::ifstream in(EngineFixture(name), std::ios::binary);
    if (!in)
        throw std::runtime_error("no fixture " + name);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline const DefinedEngines& Shipped()
{
    static const DefinedEngines loaded = LoadEngineDefinitions(ShippedFolder(), "");
    return loaded;
}

inline const EngineDefinition& ShippedEngine(const std::string& name)
{
    for (const EngineDefinition& d : Shipped().engines)
        if (d.name == name)
            return d;
    throw std::runtime_error("no shipped engine " + name);
}

inline std::string HeaderValue(const EngineRequest& r, const std::string& name)
{
    for (const auto& [n, v] : r.headers)
        if (n == name)
            return v;
    return {};
}

} // namespace orv::test
