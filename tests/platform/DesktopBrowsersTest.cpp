#include "platform/DesktopBrowsers.h"
#include "browse/BrowserDetection.h"
#include "platform/Registry.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace orv;

TEST(DesktopBrowsers, RecognisesTheNavigatorFamilyByProgramName)
{
    EXPECT_TRUE(isNavigatorFamily("/usr/bin/firefox-esr"));
    EXPECT_TRUE(isNavigatorFamily("FireFox"));
    EXPECT_TRUE(isNavigatorFamily("firefox.desktop"));
    EXPECT_FALSE(isNavigatorFamily("/usr/bin/chromium"));
    EXPECT_FALSE(isNavigatorFamily("/opt/firefox/updater"));
}

TEST(DesktopBrowsers, CommandProgramIsTheFirstWordWithoutQuotes)
{
    EXPECT_EQ(commandProgram("/usr/bin/firefox %u"), "/usr/bin/firefox");
    EXPECT_EQ(commandProgram("\"/opt/my browser/run\" --new %u"), "/opt/my browser/run");
    EXPECT_EQ(commandProgram("  epiphany"), "epiphany");
    EXPECT_EQ(commandProgram(""), "");
}

// Points the XDG folders at a temp dir for one test and restores them.
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
    ~ScopedEnv()
    {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(DesktopBrowsers, DefaultBrowserComesFromTheHttpAssociation)
{
    test::TempFolder dir;
    std::filesystem::create_directories(dir.file("config"));
    std::filesystem::create_directories(dir.file("data/applications"));
    dir.write("config/mimeapps.list",
        "[Added Associations]\nx-scheme-handler/http=wrong.desktop\n\n"
        "[Default Applications]\nx-scheme-handler/http=surf.desktop;other.desktop\n");
    dir.write("data/applications/surf.desktop", "[Desktop Entry]\nName=Surf\nExec=/usr/bin/surf --new %u\n");
    ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", dir.file("none"));
    ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", dir.file("none"));
    ScopedEnv browser("BROWSER", "");
    EXPECT_EQ(defaultBrowserCommand(), "/usr/bin/surf --new %u");

    dir.write("config/mimeapps.list", "[Default Applications]\ntext/html=surf.desktop\n");
    EXPECT_EQ(defaultBrowserCommand(), "");
}

TEST(DesktopBrowsers, WithoutARegistryFileTheDesktopsNavigatorIsFoundAndChosen)
{
    test::TempFolder dir;
    std::filesystem::create_directories(dir.file("bin"));
    std::filesystem::create_directories(dir.file("config"));
    std::filesystem::create_directories(dir.file("data/applications"));
    dir.write("bin/firefox-esr", "#!/bin/sh\n");
    std::filesystem::permissions(dir.file("bin/firefox-esr"), std::filesystem::perms::owner_all);
    dir.write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=firefox-esr.desktop\n");
    dir.write("data/applications/firefox-esr.desktop", "[Desktop Entry]\nExec=/usr/lib/firefox-esr/firefox-esr %u\n");
    ScopedEnv path("PATH", dir.file("bin"));
    ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", dir.file("none"));
    ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", dir.file("none"));
    ScopedEnv browser("BROWSER", "");
    ScopedEnv registry("ORVALEN_REGISTRY", dir.file("no-such-file.reg"));

    EXPECT_EQ(findNavigatorProgram(), dir.file("bin/firefox-esr"));
    const DetectedBrowsers found = detectBrowsers(Registry::load());
    ASSERT_EQ(found.entries.size(), 1u);
    EXPECT_EQ(found.entries[0].text, "Netscape ");
    EXPECT_TRUE(found.entries[0].checked);
    EXPECT_EQ(found.chosen, "Netscape ");

    // Another default browser is listed by nobody and chooses nothing.
    dir.write("data/applications/firefox-esr.desktop", "[Desktop Entry]\nExec=/usr/bin/epiphany %u\n");
    const DetectedBrowsers other = detectBrowsers(Registry::load());
    EXPECT_EQ(other.chosen, "none");
    ASSERT_EQ(other.entries.size(), 1u);
    EXPECT_FALSE(other.entries[0].checked);
}
