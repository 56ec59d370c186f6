#pragma once
// The seam through which a URL is handed to one of the two browsers the
// program knows, or to the desktop's default browser when it is neither. The
// real launcher starts the browser's program with the URL and falls back to
// the desktop's default browser; tests install a recorder.
// Failures are returned, never thrown: a hand-over that fails shows nothing.
#include <string>

namespace orv
{

enum class BrowserKind {
    Navigator, // "Netscape ": the navigator or one of its descendants
    IExplorer, // "Internet Explorer": the desktop's other (default) browser
};

class BrowserLauncher
{
public:
    virtual ~BrowserLauncher() = default;

    // Opens `url` in the named browser. False when nothing could be started.
    virtual bool openUrl(BrowserKind browser, const std::string& url) = 0;

    // Opens `url` with the desktop's default web browser, whichever it is.
    // False when the desktop has none or it could not be started.
    virtual bool openWithDefaultBrowser(const std::string& url) = 0;

    // Whether the window that an earlier openUrl(IExplorer, ...) brought up
    // is still there. Hand-overs to that browser after its window was
    // closed do nothing for the rest of the run.
    virtual bool explorerWindowExists() = 0;

    // Brings the explorer's window to the front, when the platform allows.
    virtual void raiseExplorerWindow() = 0;

    // The installed launcher. The program installs the desktop one at start;
    // tests install their own. Not owned. Without one, nothing is opened.
    static BrowserLauncher& current();
    static void install(BrowserLauncher* launcher);
};

} // namespace orv
