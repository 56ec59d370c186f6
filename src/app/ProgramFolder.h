#pragma once
#include <optional>
#include <string>

namespace orv
{

// The folder of the running executable, ending in "/".
std::string executableFolder();

// The program folder for this start: `requested` (--program-folder) when
// given, else beside the binary, else the user's data folder, laid out on
// first start. nullopt, with the reason in `problem`, when the folder
// cannot be used.
std::optional<std::string> findProgramFolder(const std::string& requested, std::string& problem);

} // namespace orv
