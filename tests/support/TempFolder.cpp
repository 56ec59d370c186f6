#include "support/TempFolder.h"

#include "core/Lines.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace orv::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvalen-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempFolder::makeProgramFolder() const
{
    for (const char* sub : {"data", "Reports", "Templates"})
        std::filesystem::create_directories(path_ + sub);
}

void TempFolder::write(const std::string& name, const std::string& bytes) const
{
    SaveFileBytes(path_ + name, bytes);
}

std::string TempFolder::read(const std::string& name) const
{
    return LoadFileBytes(path_ + name);
}

} // namespace orv::test
