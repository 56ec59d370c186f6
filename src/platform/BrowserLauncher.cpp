#include "platform/BrowserLauncher.h"

#include <cstdio>

namespace orv
{
namespace
{

// Used only when nothing was installed: opens nothing and says so on stderr.
class NullLauncher final : public BrowserLauncher
{
public:
    bool openUrl(BrowserKind, const std::string& url) override
    {
        std::fprintf(stderr, "browser (none installed): %s\n", url.c_str());
        return false;
    }
    bool openWithDefaultBrowser(const std::string& url) override { return openUrl(BrowserKind::IExplorer, url); }
    bool explorerWindowExists() override { return false; }
    void raiseExplorerWindow() override { }
};

NullLauncher nullLauncher;
BrowserLauncher* installed = nullptr;

} // namespace

BrowserLauncher& BrowserLauncher::current()
{
    return installed ? *installed : nullLauncher;
}

void BrowserLauncher::install(BrowserLauncher* launcher)
{
    installed = launcher;
}

} // namespace orv
