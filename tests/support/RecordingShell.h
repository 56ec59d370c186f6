#pragma once
// Shell and BrowserLauncher recorders for tests: each installs itself for
// its lifetime and records every call, so a test can assert what would have
// been opened without anything being opened.
#include "platform/BrowserLauncher.h"
#include "platform/Shell.h"

#include <string>
#include <vector>

namespace orv::test
{

class RecordingShell final : public Shell
{
public:
    RecordingShell() { Shell::install(this); }
    ~RecordingShell() override { Shell::install(nullptr); }

    std::vector<std::string> opened;
    bool answer = true; // what openDocument returns

    bool openDocument(const std::string& path) override
    {
        opened.push_back(path);
        return answer;
    }
};

class RecordingLauncher final : public BrowserLauncher
{
public:
    RecordingLauncher() { BrowserLauncher::install(this); }
    ~RecordingLauncher() override { BrowserLauncher::install(nullptr); }

    // One line per call: "navigator: URL", "explorer: URL", "default: URL",
    // "raise explorer".
    std::vector<std::string> calls;
    bool windowExists = true; // what explorerWindowExists answers
    bool hasDefaultBrowser = false; // what openWithDefaultBrowser answers

    bool openUrl(BrowserKind browser, const std::string& url) override
    {
        calls.push_back((browser == BrowserKind::Navigator ? "navigator: " : "explorer: ") + url);
        return true;
    }
    bool openWithDefaultBrowser(const std::string& url) override
    {
        calls.push_back("default: " + url);
        return hasDefaultBrowser;
    }
    bool explorerWindowExists() override { return windowExists; }
    void raiseExplorerWindow() override { calls.push_back("raise explorer"); }
};

} // namespace orv::test
