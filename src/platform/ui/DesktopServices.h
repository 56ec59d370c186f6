#pragma once
// The desktop implementations of the Shell and BrowserLauncher seams.
// `installDesktopServices` installs both for the life of the program; the
// program entry calls it once before creating windows.
#include "platform/BrowserLauncher.h"
#include "platform/Shell.h"

namespace orv
{

// Opens documents through QDesktopServices (the desktop's associations).
class DesktopShell final : public Shell
{
public:
    bool openDocument(const std::string& path) override;
};

// Starts the chosen browser's program with the URL, detached. The navigator
// stands for the first navigator-family browser on PATH; the explorer for
// the desktop's default browser. When the program cannot be started, the
// URL goes to the desktop's default browser instead. The URL is always
// passed so that no browser can read it as an option.
class DesktopBrowserLauncher final : public BrowserLauncher
{
public:
    bool openUrl(BrowserKind browser, const std::string& url) override;
    // The desktop's default browser command, else the desktop's own opener.
    bool openWithDefaultBrowser(const std::string& url) override;
    // Windows of other programs cannot be looked up on every desktop (not at
    // all under Wayland), so the explorer's window counts as present.
    bool explorerWindowExists() override { return true; }
    void raiseExplorerWindow() override { }
};

void installDesktopServices();

} // namespace orv
