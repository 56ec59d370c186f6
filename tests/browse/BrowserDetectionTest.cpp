#include "browse/BrowserDetection.h"

#include <gtest/gtest.h>

using namespace orv;

namespace
{

// Registry text pieces the detection cases combine.
const std::string kNavigator = "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\n"
                               "\"Install Directory\"=\"C:\\\\Netscape\"\n";
const std::string kNavigatorEmpty = "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\n"
                                    "\"Install Directory\"=\"\"\n";
const std::string kIe4Setup = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\IE4\\Setup]\n\"Path\"=\"C:\\\\IE\"\n";
std::string ieBuild(const std::string& value)
{
    return "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer]\n" + value + "\n";
}
std::string httpCommand(const std::string& command)
{
    return "[HKEY_CLASSES_ROOT\\HTTP\\shell\\open\\command]\n@=\"" + command + "\"\n";
}

struct DetectionCase {
    const char* name;
    std::string registry;
    std::vector<BrowserEntry> entries;
    std::string chosen;
};

void PrintTo(const DetectionCase& c, std::ostream* os)
{
    *os << c.name;
}

const BrowserEntry ns { kBrowserNetscape, false };
const BrowserEntry nsOn { kBrowserNetscape, true };
const BrowserEntry ie { kBrowserExplorer, false };
const BrowserEntry ieOn { kBrowserExplorer, true };

} // namespace

class Detection : public ::testing::TestWithParam<DetectionCase>
{
};

TEST_P(Detection, ListsAndChoosesFromTheRegistry)
{
    const DetectionCase& c = GetParam();
    const DetectedBrowsers found = detectBrowsers(Registry::fromText("REGEDIT4\n" + c.registry));
    EXPECT_EQ(found.entries, c.entries);
    EXPECT_EQ(found.chosen, c.chosen);
}

INSTANTIATE_TEST_SUITE_P(Cases, Detection,
    ::testing::Values(DetectionCase { "Nothing", "", {}, "none" },
        DetectionCase { "NavigatorOnly", kNavigator, { ns }, "none" },
        DetectionCase { "EmptyInstallDirectoryIsNotListed", kNavigatorEmpty, {}, "none" },
        DetectionCase { "NavigatorDefaultInCapitals",
            kNavigator + httpCommand("C:\\\\PROGRAM FILES\\\\NETSCAPE\\\\NETSCAPE.EXE -h \\\"%1\\\""), { nsOn },
            "Netscape " },
        DetectionCase { "ExplorerListedTwice", kIe4Setup + ieBuild("\"Build\"=\"1234.5\""), { ie, ie }, "none" },
        DetectionCase { "BuildAtLimitNotListed", ieBuild("\"Build\"=\"1500\""), {}, "none" },
        DetectionCase { "BuildJustBelowLimit", ieBuild("\"Build\"=\"1499.99\""), { ie }, "none" },
        DetectionCase { "MissingBuildIsNotFound", kIe4Setup + ieBuild("\"Version\"=\"4\""), { ie }, "none" },
        DetectionCase { "NonNumericBuildIsNotFoundAndDetectionGoesOn",
            ieBuild("\"Build\"=\"4.72.3110.8\"") + httpCommand("iexplore.exe"), {}, "Internet Explorer" },
        DetectionCase { "BothWordsExplorerWinsBothChecked",
            kNavigator + kIe4Setup + httpCommand("netscape.exe or iexplore.exe"), { nsOn, ieOn }, "Internet Explorer" },
        DetectionCase { "DefaultNamesUnlistedBrowser", kIe4Setup + httpCommand("netscape %1"), { ie }, "Netscape " },
        DetectionCase { "FirstOfTwoExplorerEntriesIsChecked",
            kIe4Setup + ieBuild("\"Build\"=\"900\"") + httpCommand("IEXPLORE"), { ieOn, ie }, "Internet Explorer" },
        DetectionCase {
            "OtherDefaultChoosesNothing", kNavigator + httpCommand("/usr/bin/chromium %u"), { ns }, "none" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Detection, DecimalsFollowTheWholeText)
{
    double v = 0;
    EXPECT_TRUE(parseDecimal(" 1499.5 ", v));
    EXPECT_DOUBLE_EQ(v, 1499.5);
    EXPECT_TRUE(parseDecimal("+12", v));
    EXPECT_DOUBLE_EQ(v, 12);
    EXPECT_TRUE(parseDecimal("-3", v));
    EXPECT_DOUBLE_EQ(v, -3);
    for (const char* bad : { "", " ", "12abc", "1.2.3", "nan", "inf", "0x10", "+-1", "1,5" })
        EXPECT_FALSE(parseDecimal(bad, v)) << bad;
}
