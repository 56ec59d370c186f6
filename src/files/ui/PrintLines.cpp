#include "files/ui/PrintLines.h"

#include "core/Errors.h"
#include "files/Printout.h"
#include "platform/WidgetText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace orv
{

void PrintLines(QPrinter& printer, const Lines& lines, const QFont& font)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        throw Exception("The printer could not start the document on " + fromQ(where));
    }
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const PageMetrics page { metrics.height(), printer.height(), printer.width() };
    const auto widthOf = [&metrics](std::string_view text) { return metrics.horizontalAdvance(toQ(text)); };
    const std::vector<PrintedPage> pages = layOutPrintout(lines, page, widthOf);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        for (const PlacedLine& line : pages[i])
            if (!line.text.empty())
                painter.drawText(0, line.y + metrics.ascent(), toQ(line.text));
    }
    if (!painter.end())
        throw Exception("The printer could not finish the document");
}

} // namespace orv
