// Whether the desktop asks for dark windows, from what it tells.
#include "platform/ColorScheme.h"

#include <gtest/gtest.h>

namespace
{

struct SchemeCase {
    const char* gtkTheme;
    const char* colorScheme;
    const char* themeName;
    bool dark;
};

class DesktopPrefersDark : public ::testing::TestWithParam<SchemeCase>
{
};

TEST_P(DesktopPrefersDark, FromTheThemeVariableTheSchemeOrTheThemeName)
{
    const SchemeCase& c = GetParam();
    EXPECT_EQ(orv::DesktopPrefersDark(c.gtkTheme, c.colorScheme, c.themeName), c.dark)
        << c.gtkTheme << "|" << c.colorScheme << "|" << c.themeName;
}

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopPrefersDark,
    ::testing::Values(SchemeCase { "Adwaita:dark", "", "", true }, SchemeCase { "Adwaita", "'prefer-dark'", "", false },
        SchemeCase { "", "'prefer-dark'\n", "", true }, SchemeCase { "", "'prefer-light'", "'Adwaita-dark'", false },
        SchemeCase { "", "'default'", "'Adwaita-dark'\n", true }, SchemeCase { "", "'default'", "'Adwaita'", false },
        SchemeCase { "", "", "", false }));

} // namespace
