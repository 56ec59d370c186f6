#include "rcadigi/DigitStrip.h"

#include "rcadigi/Rcadigi.h"

#include <array>

namespace orv
{
namespace
{

// Segments a to g of a seven-segment cell: a top, b top right, c bottom
// right, d bottom, e bottom left, f top left, g middle.
enum Segment { A, B, C, D, E, F, G };

// Which segments each digit lights, as bits A..G.
constexpr std::array<unsigned, 10> kLit = {
    0b0111111, // 0: a b c d e f
    0b0000110, // 1: b c
    0b1011011, // 2: a b d e g
    0b1001111, // 3: a b c d g
    0b1100110, // 4: b c f g
    0b1101101, // 5: a c d f g
    0b1111101, // 6: a c d e f g
    0b0000111, // 7: a b c
    0b1111111, // 8
    0b1101111, // 9: a b c d f g
};

void fill(QImage& image, int x0, int y0, int x1, int y1, uint index)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            image.setPixel(x, y, index);
}

// Paints one segment of the cell that starts at column `left`, two pixels
// thick, with slanted-looking ends left out so the segments stay apart.
void paintSegment(QImage& image, int left, Segment segment, uint index)
{
    switch (segment) {
    case A:
        fill(image, left + 4, 1, left + 11, 2, index);
        break;
    case B:
        fill(image, left + 12, 3, left + 13, 9, index);
        break;
    case C:
        fill(image, left + 12, 11, left + 13, 17, index);
        break;
    case D:
        fill(image, left + 4, 18, left + 11, 19, index);
        break;
    case E:
        fill(image, left + 2, 11, left + 3, 17, index);
        break;
    case F:
        fill(image, left + 2, 3, left + 3, 9, index);
        break;
    case G:
        fill(image, left + 4, 9, left + 11, 10, index);
        break;
    }
}

} // namespace

QImage makeDigitStrip(bool withMinus)
{
    const int cells = withMinus ? 11 : 10;
    QImage strip(cells * kDigitCellWidth, kDigitCellHeight, QImage::Format_Indexed8);
    strip.setColorTable({ qRgb(0, 0, 0), qRgb(48, 16, 0), qRgb(255, 176, 32) });
    strip.fill(0u);
    for (int cell = 0; cell < cells; ++cell) {
        const unsigned lit = cell < 10 ? kLit[static_cast<size_t>(cell)] : (1u << G);
        for (int s = A; s <= G; ++s)
            paintSegment(strip, cell * kDigitCellWidth, static_cast<Segment>(s), (lit >> s) & 1u ? 2u : 1u);
    }
    return strip;
}

void setupCountdownPanel(TRCADigital& panel)
{
    panel.setBevelInner(TRCADigital::Bevel::Lowered);
    panel.setBevelOuter(TRCADigital::Bevel::None);
    panel.setBevelWidth(2);
    panel.setColor(Qt::black);
    panel.setNumberWidth(kDigitCellWidth);
    panel.setGap(1);
    panel.setNumbers(makeDigitStrip(false));
    panel.setVisible(false);
}

} // namespace orv
