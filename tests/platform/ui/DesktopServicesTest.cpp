// The real browser launcher starts the chosen browser's program with the
// URL: fake browsers on PATH record what they were given.
#include "platform/ui/DesktopServices.h"
#include "support/TempFolder.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace orv;

namespace
{

// A program that writes its name and arguments to `record`.
void writeFakeBrowser(const std::string& path, const std::string& record)
{
    std::ofstream(path) << "#!/bin/sh\necho \"$(basename \"$0\") $*\" > \"" << record << ".tmp\"\nmv \"" << record
                        << ".tmp\" \"" << record << "\"\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string waitForRecord(const std::string& path)
{
    std::string text;
    (void)QTest::qWaitFor(
        [&] {
            std::ifstream in(path);
            return in && std::getline(in, text);
        },
        10000);
    return text;
}

class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { had_ ? (void)::setenv(name_, old_.c_str(), 1) : (void)::unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

} // namespace

// The chosen browser's program gets the URL. Whatever a URL holds, it gets
// it as a URL: one beginning with "-" would otherwise be read as one of its
// options.
TEST(DesktopBrowserLauncher, StartsTheChosenBrowsersProgramWithTheUrlNeverReadAsAnOption)
{
    test::TempFolder dir;
    std::filesystem::create_directories(dir.file("bin"));
    writeFakeBrowser(dir.file("bin/seamonkey"), dir.file("navigator.txt"));
    writeFakeBrowser(dir.file("bin/otherbrowser"), dir.file("explorer.txt"));
    ScopedEnv path("PATH", dir.file("bin") + ":/usr/bin:/bin");
    ScopedEnv browser("BROWSER", dir.file("bin/otherbrowser"));

    DesktopBrowserLauncher launcher;
    EXPECT_TRUE(launcher.openUrl(BrowserKind::Navigator, "http://a.example/x?y=1"));
    EXPECT_EQ(waitForRecord(dir.file("navigator.txt")), "seamonkey http://a.example/x?y=1");
    EXPECT_TRUE(launcher.openUrl(BrowserKind::IExplorer, "http://b.example/"));
    EXPECT_EQ(waitForRecord(dir.file("explorer.txt")), "otherbrowser http://b.example/");

    std::filesystem::remove(dir.file("navigator.txt"));
    std::filesystem::remove(dir.file("explorer.txt"));
    EXPECT_TRUE(launcher.openUrl(BrowserKind::Navigator, "-new-instance"));
    EXPECT_EQ(waitForRecord(dir.file("navigator.txt")), "seamonkey http://-new-instance");
    EXPECT_TRUE(launcher.openUrl(BrowserKind::IExplorer, "--remote-debugging-port=9222"));
    EXPECT_EQ(waitForRecord(dir.file("explorer.txt")), "otherbrowser http://--remote-debugging-port=9222");
}

// A default browser outside the navigator's family opens the URL; without
// any, nothing is started and the launcher says so.
TEST(DesktopBrowserLauncher, TheDesktopsDefaultBrowserOfAnyMakeOpensTheUrl)
{
    test::TempFolder dir;
    std::filesystem::create_directories(dir.file("bin"));
    std::filesystem::create_directories(dir.file("config"));
    std::filesystem::create_directories(dir.file("data/applications"));
    writeFakeBrowser(dir.file("bin/chromium"), dir.file("default.txt"));
    dir.write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=chromium.desktop\n");
    dir.write("data/applications/chromium.desktop", "[Desktop Entry]\nExec=" + dir.file("bin/chromium") + " %U\n");
    ScopedEnv path("PATH", dir.file("bin") + ":/usr/bin:/bin");
    ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", dir.file("none"));
    ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", dir.file("none"));
    ScopedEnv browser("BROWSER", "");

    DesktopBrowserLauncher launcher;
    EXPECT_TRUE(launcher.openWithDefaultBrowser("http://c.example/"));
    EXPECT_EQ(waitForRecord(dir.file("default.txt")), "chromium http://c.example/");
    std::filesystem::remove(dir.file("default.txt"));
    EXPECT_TRUE(launcher.openWithDefaultBrowser("-x"));
    EXPECT_EQ(waitForRecord(dir.file("default.txt")), "chromium http://-x");

    // No association and no opener on PATH: nothing can open the page.
    std::filesystem::remove(dir.file("config/mimeapps.list"));
    ScopedEnv bare("PATH", dir.file("bin"));
    EXPECT_FALSE(launcher.openWithDefaultBrowser("http://c.example/"));
}
