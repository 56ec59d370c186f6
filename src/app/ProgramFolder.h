#pragma once
#include <string>

namespace orv
{

// The folder of the running executable, ending in "/".
std::string executableFolder();

} // namespace orv
