#pragma once
// Ties the single-instance guard to the main window: every later start of
// the program restores the window when it is minimised and brings it to
// the front.
class QWidget;

namespace orv
{

class SingleInstance;

// Restores `window` if minimised, shows it and makes it the active window.
void bringToFront(QWidget* window);

// Calls bringToFront(window) on every message of a later start. The
// connection ends with either object.
void raiseOnAnotherStart(SingleInstance& guard, QWidget* window);

} // namespace orv
