#pragma once
// The digit pictures of the countdown panel, drawn in code as lit and unlit
// seven-segment cells, and the set-up of the main window's panel.
#include <QImage>

class TRCADigital;

namespace orv
{

// Width and height of one digit cell of the countdown strip.
inline constexpr int kDigitCellWidth = 16;
inline constexpr int kDigitCellHeight = 21;

// A strip of 8 bits per pixel: digits 0 to 9 side by side, each
// kDigitCellWidth wide, and, with `withMinus`, a minus picture after them.
// Palette: 0 background, 1 unlit segment, 2 lit segment.
QImage makeDigitStrip(bool withMinus = false);

// Sets the main window's countdown panel up: inner bevel lowered, no outer
// bevel, bevel width 2, black, NumberWidth 16, Gap 1, hidden, and the
// 160 x 21 strip without a minus picture. The caller places it at the right
// edge of its panel (for example last in a horizontal layout after a
// stretch); 47 pixels are wide enough for two digits.
void setupCountdownPanel(TRCADigital& panel);

} // namespace orv
