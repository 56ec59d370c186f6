#pragma once
// Whether the desktop asks for dark windows. Qt's own platform theme tells
// the palette on desktops it knows; where it gives a light palette although
// the desktop has chosen dark (GTK_THEME=...:dark, the GNOME colour-scheme
// setting), the window draws a dark palette of its own.
#include <string>

namespace orv
{

// `gtkTheme` is $GTK_THEME ("Adwaita:dark"), `colorScheme` what
// `gsettings get org.gnome.desktop.interface color-scheme` prints
// ("'prefer-dark'"), `gtkThemeName` the GNOME gtk-theme setting
// ("'Adwaita-dark'"); any may be empty.
bool DesktopPrefersDark(const std::string& gtkTheme, const std::string& colorScheme, const std::string& gtkThemeName);

// Asks the desktop (environment and, when present, gsettings, bounded in
// time) and answers DesktopPrefersDark.
bool AskDesktopPrefersDark();

} // namespace orv
