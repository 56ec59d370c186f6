#pragma once
// The printed lists as text lines, and their layout on pages. The layout is
// that of a printer used as a line device: lines one under the other from the
// top of the printable area, a new page when the next line would not fit, and
// a line wider than the page continued on the next line.
#include "core/Lines.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

// The choice of the print window.
enum class PrintChoice { Raw, Filtered, Both };

// The lines to print: the master block ("Raw Search Results"), the approved
// block ("Filtered Search Results") or the first followed by the second.
// Master records are printed as held, trailing fields included.
Lines printoutLines(PrintChoice choice, const Lines& master, const Lines& approved);

// Device measures of one page, in device units.
struct PageMetrics {
    int textHeight = 0; // height of a line of text in the printer's font
    int pageHeight = 0; // height of the printable area
    int pageWidth = 0; // width of the printable area
};

struct PlacedLine {
    std::string text; // empty for an empty line, which prints nothing
    int y = 0; // top of the line, from the top of the printable area
};
using PrintedPage = std::vector<PlacedLine>;

// Lays the lines out on pages. A line is textHeight + 2 high; an empty line
// moves down by textHeight only. After a line, a new page begins when the
// position lies below pageHeight minus twice the line's height (minus nothing
// after an empty line). `widthOf` measures text in device units; a line wider
// than the page breaks after the last character that fits (at least one per
// line). A page is only begun when a line is placed on it, so no blank sheet
// follows the last line.
std::vector<PrintedPage> layOutPrintout(
    const Lines& lines, const PageMetrics& metrics, const std::function<int(std::string_view)>& widthOf);

} // namespace orv
