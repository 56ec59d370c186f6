#pragma once
// The pictures of the toolbar buttons, drawn by the program itself.
#include <QIcon>

namespace orv
{

enum class Glyph { New, Open, Save, Cut, Copy, Paste, Delete, Find, Print, Help };

// A 20 x 20 picture of the command, on a transparent ground, drawn at the
// size and scale it is shown at.
QIcon toolbarGlyph(Glyph glyph);

// The logo shown at the right end of the toolbar when no picture file is at
// hand: the program's name on a dark band. `scale` is the screen's device
// pixel ratio: the picture has size * scale pixels and is shown at `size`.
QPixmap drawnLogo(QSize size, qreal scale = 1.0);

} // namespace orv
