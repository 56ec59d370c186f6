#pragma once
// The window's look on today's desktops: the desktop's light or dark
// palette, and small windows that open over their owner and close on Escape.
class QApplication;
class QPalette;
class QWidget;

namespace orv
{

// True when `palette` draws light text on a dark ground.
bool IsDarkPalette(const QPalette& palette);

// Follows the desktop's choice of dark windows where the platform theme
// does not (see ColorScheme.h): the Fusion style with a dark palette.
// `prefersDark` is the desktop's answer.
void FollowDesktopPalette(QApplication& app, bool prefersDark);

// A dark palette in the colours of the light one turned over.
QPalette DarkPalette();

// Escape hides `window` (a window that is not a dialog, which does it
// itself). Installing it twice does nothing more.
void CloseOnEscape(QWidget* window);

// Shows `window` over the middle of `owner`'s window the first time, where
// the user left it afterwards; raises and activates it.
void ShowOverOwner(QWidget* window, QWidget* owner);

} // namespace orv
