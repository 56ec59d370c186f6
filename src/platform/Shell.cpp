#include "platform/Shell.h"

#include <cstdio>

namespace orv
{
namespace
{

// Used only when nothing was installed: opens nothing and says so on stderr.
class NullShell final : public Shell
{
public:
    bool openDocument(const std::string& path) override
    {
        std::fprintf(stderr, "shell (none installed): %s\n", path.c_str());
        return false;
    }
};

NullShell nullShell;
Shell* installed = nullptr;

} // namespace

Shell& Shell::current()
{
    return installed ? *installed : nullShell;
}

void Shell::install(Shell* shell)
{
    installed = shell;
}

} // namespace orv
