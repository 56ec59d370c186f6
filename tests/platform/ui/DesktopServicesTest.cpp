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

TEST(DesktopBrowserLauncher, StartsTheChosenBrowsersProgramWithTheUrl)
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
}

// Whatever a URL holds, the started browser gets it as a URL: one beginning
// with "-" would otherwise be read as one of its options.
TEST(DesktopBrowserLauncher, AUrlIsNeverReadAsAnOption)
{
    test::TempFolder dir;
    std::filesystem::create_directories(dir.file("bin"));
    writeFakeBrowser(dir.file("bin/seamonkey"), dir.file("navigator.txt"));
    writeFakeBrowser(dir.file("bin/otherbrowser"), dir.file("explorer.txt"));
    ScopedEnv path("PATH", dir.file("bin") + ":/usr/bin:/bin");
    ScopedEnv browser("BROWSER", dir.file("bin/otherbrowser"));

    DesktopBrowserLauncher launcher;
    EXPECT_TRUE(launcher.openUrl(BrowserKind::Navigator, "-new-instance"));
    EXPECT_EQ(waitForRecord(dir.file("navigator.txt")), "seamonkey http://-new-instance");
    EXPECT_TRUE(launcher.openUrl(BrowserKind::IExplorer, "--remote-debugging-port=9222"));
    EXPECT_EQ(waitForRecord(dir.file("explorer.txt")), "otherbrowser http://--remote-debugging-port=9222");
}
