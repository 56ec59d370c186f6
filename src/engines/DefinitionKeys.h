#pragma once
// One YAML entry turned into an EngineDefinition: every key read with its
// type checked, every selector compiled. A fault is reported with the line of
// the key that holds it.
#include "engines/EngineDefinition.h"

#include <yaml-cpp/yaml.h>

#include <optional>
#include <string>
#include <vector>

namespace orv
{

// Nothing, and a problem added, when the entry cannot be used.
std::optional<EngineDefinition> ReadDefinitionEntry(
    const YAML::Node& entry, const std::string& file, std::vector<DefinitionProblem>& problems);

} // namespace orv
