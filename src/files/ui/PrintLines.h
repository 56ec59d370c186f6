#pragma once
// Prints text lines on a printer used as a line device: the font is set, the
// lines are laid out by the page-break rule of the printout, and each page is
// drawn from the top-left corner of the printable area.
#include "core/Lines.h"

class QFont;
class QPrinter;

namespace orv
{

// Prints `lines` as one document. Throws orv::Exception with the printing
// facility's text when the document cannot be started.
void PrintLines(QPrinter& printer, const Lines& lines, const QFont& font);

} // namespace orv
