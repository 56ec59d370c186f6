#include "rcadigi/Rcadigi.h"
#include "rcadigi/DigitStrip.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace orv;

namespace
{

// A strip in which every pixel is unique, so a painted pixel tells exactly
// which strip pixel it came from.
QImage uniqueStrip(int cells, int cellWidth = 16, int height = 21)
{
    QImage strip(cells * cellWidth, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < strip.width(); ++x)
            strip.setPixel(x, y, qRgb(x + 10, 20 + 5 * y, 77));
    return strip;
}

QImage paint(TRCADigital& panel)
{
    QImage image(panel.size(), QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    panel.render(&image);
    return image;
}

// Where one digit picture lands: its left column in the panel and the
// column of the strip it is cut from.
struct Placed {
    int x;
    int sourceColumn;
};

// The expected picture of a panel with a lowered inner bevel of `bevel`
// rings, no outer bevel and no border, black, with the given digits placed.
QRgb expectedPixel(int X, int Y, int W, int H, int bevel, int top, const QImage& strip, int numberWidth,
    const std::vector<Placed>& placed)
{
    for (int i = 0; i < bevel; ++i) {
        const int l = i, t = i, r = W - 1 - i, b = H - 1 - i;
        if ((X == r && Y >= t && Y <= b) || (Y == b && X >= l && X <= r))
            return kBevelHighlight;
        if ((X == l && Y >= t && Y < b) || (Y == t && X >= l && X < r))
            return kBevelShadow;
    }
    for (const Placed& p : placed) {
        if (X >= p.x && X < p.x + numberWidth && Y >= top && Y < top + strip.height()) {
            const int sx = p.sourceColumn + X - p.x;
            if (sx < strip.width())
                return strip.pixel(sx, Y - top);
        }
    }
    return qRgb(0, 0, 0);
}

// Compares column by column and reports the first column that differs.
void expectColumns(const QImage& image, const std::function<QRgb(int, int)>& expected)
{
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != (expected(x, y) | 0xFF000000)) {
                ADD_FAILURE() << "column " << x << " row " << y << ": got " << std::hex << image.pixel(x, y)
                              << " expected " << expected(x, y);
                return;
            }
        }
    }
}

TRCADigital* mainWindowPanel(QWidget& parent, int width)
{
    auto* panel = new TRCADigital(&parent);
    setupCountdownPanel(*panel);
    panel->resize(width, 10);
    return panel;
}

} // namespace

TEST(RCADigital, DefaultsAtCreation)
{
    TRCADigital panel;
    EXPECT_EQ(panel.bevelInner(), TRCADigital::Bevel::Lowered);
    EXPECT_EQ(panel.bevelWidth(), 3);
    EXPECT_EQ(panel.color(), QColor(Qt::black));
    EXPECT_EQ(panel.numberWidth(), 0);
    EXPECT_EQ(panel.value(), 0);
    EXPECT_EQ(panel.margin(), 2);
    EXPECT_TRUE(panel.autoSize());
    EXPECT_EQ(panel.gap(), 0);
    EXPECT_EQ(panel.formatWidth(), 1);
    EXPECT_EQ(panel.displayText(), "0");
}

TEST(RCADigital, MainWindowPanelIsTwentyNineHighAndHidden)
{
    QWidget parent;
    TRCADigital* panel = mainWindowPanel(parent, 47);
    EXPECT_EQ(panel->height(), 29);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(panel->numbers().size(), QSize(160, 21));
    EXPECT_EQ(panel->numbers().depth(), 8);
    panel->resize(47, 60); // the height follows the strip, not the caller
    EXPECT_EQ(panel->height(), 29);
}

TEST(RCADigital, ThreeDigitsOnFortySevenPixelsShowTheLastTwo)
{
    QWidget parent;
    TRCADigital* panel = mainWindowPanel(parent, 47);
    const QImage strip = uniqueStrip(10);
    panel->setNumbers(strip);
    panel->setValue(123);
    const QImage image = paint(*panel);
    // Right inset 43: "3" at 27, a gap column at 26, "2" at 10; "1" would be at -7.
    expectColumns(image, [&](int x, int y) {
        return expectedPixel(x, y, 47, 29, 2, 4, strip, 16, { { 27, 3 * 16 }, { 10, 2 * 16 } });
    });
}

TEST(RCADigital, LeadingZerosAndGapsAreRightAligned)
{
    QWidget parent;
    TRCADigital* panel = mainWindowPanel(parent, 100);
    const QImage strip = uniqueStrip(10);
    panel->setNumbers(strip);
    panel->setValue(5);
    panel->setFormatWidth(3);
    EXPECT_EQ(panel->displayText(), "005");
    const QImage image = paint(*panel);
    expectColumns(image, [&](int x, int y) {
        return expectedPixel(x, y, 100, 29, 2, 4, strip, 16, { { 80, 5 * 16 }, { 63, 0 }, { 46, 0 } });
    });
}

TEST(RCADigital, MinusPictureComesFromColumnTenTimesWidth)
{
    QWidget parent;
    TRCADigital* panel = mainWindowPanel(parent, 100);
    const QImage withMinus = uniqueStrip(11);
    panel->setNumbers(withMinus);
    panel->setValue(-7);
    expectColumns(paint(*panel), [&](int x, int y) {
        return expectedPixel(x, y, 100, 29, 2, 4, withMinus, 16, { { 80, 7 * 16 }, { 63, 160 } });
    });

    // Without a minus picture that place stays empty.
    const QImage withoutMinus = uniqueStrip(10);
    panel->setNumbers(withoutMinus);
    expectColumns(paint(*panel), [&](int x, int y) {
        return expectedPixel(x, y, 100, 29, 2, 4, withoutMinus, 16, { { 80, 7 * 16 } });
    });
}

TEST(RCADigital, OuterBevelAndBorderAddToTheInsets)
{
    TRCADigital panel;
    panel.setBevelOuter(TRCADigital::Bevel::Raised);
    panel.setBevelWidth(1);
    panel.setBorderWidth(1);
    panel.setMargin(0);
    panel.setColor(QColor(0, 0, 200));
    panel.setNumberWidth(4);
    panel.setNumbers(uniqueStrip(10, 4, 5));
    panel.resize(20, 1);
    ASSERT_EQ(panel.height(), 5 + 2 * 3);
    panel.setValue(9);
    const QImage image = paint(panel);
    const int mid = 5;
    EXPECT_EQ(image.pixel(0, mid), kBevelHighlight); // raised outer ring
    EXPECT_EQ(image.pixel(19, mid), kBevelShadow); //
    EXPECT_EQ(image.pixel(1, mid), qRgb(0, 0, 200)); // border in the panel colour
    EXPECT_EQ(image.pixel(2, mid), kBevelShadow); // lowered inner ring
    EXPECT_EQ(image.pixel(17, mid), kBevelHighlight); //
    EXPECT_EQ(image.pixel(13, 3), uniqueStrip(10, 4, 5).pixel(36, 0)); // "9" at 17 - 4 = 13, top inset 3
    EXPECT_EQ(image.pixel(12, 3), qRgb(0, 0, 200));
}

TEST(RCADigital, AutoSizeFollowsMarginOnlyWhenOn)
{
    QWidget parent;
    TRCADigital* panel = mainWindowPanel(parent, 47);
    panel->setMargin(5);
    EXPECT_EQ(panel->height(), 21 + 2 * (2 + 5));
    panel->setAutoSize(false);
    panel->setMargin(1);
    EXPECT_EQ(panel->height(), 35);
    panel->resize(47, 50);
    EXPECT_EQ(panel->height(), 50);
    panel->setAutoSize(true);
    EXPECT_EQ(panel->height(), 21 + 2 * (2 + 1));
}

TEST(RCADigital, NothingButThePanelWithoutAStrip)
{
    TRCADigital panel;
    panel.setNumberWidth(16);
    panel.setValue(42);
    panel.resize(60, 1);
    EXPECT_EQ(panel.height(), 2 * (3 + 2));
    const QImage image = paint(panel);
    EXPECT_EQ(image.pixel(30, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 5), kBevelShadow);
}

TEST(RCADigital, DisplayTextFormats)
{
    EXPECT_EQ(formatDigits(5, 3), "005");
    EXPECT_EQ(formatDigits(-5, 3), "-005");
    EXPECT_EQ(formatDigits(123, 1), "123");
    EXPECT_EQ(formatDigits(0, 0), "");
    EXPECT_EQ(formatDigits(INT_MIN, 1), "-2147483648");
}

TEST(DigitStrip, LightsTheSegmentsOfEachDigit)
{
    const QImage strip = makeDigitStrip();
    ASSERT_EQ(strip.size(), QSize(160, 21));
    const int lit = 2, unlit = 1;
    // The middle segment: off for 0, 1 and 7, on for the others.
    for (int digit = 0; digit < 10; ++digit) {
        const bool middle = digit != 0 && digit != 1 && digit != 7;
        EXPECT_EQ(strip.pixelIndex(digit * 16 + 8, 9), middle ? lit : unlit) << digit;
    }
    EXPECT_EQ(strip.pixelIndex(1 * 16 + 12, 5), lit); // "1": top right
    EXPECT_EQ(strip.pixelIndex(1 * 16 + 2, 5), unlit); // "1": top left off
    EXPECT_EQ(strip.pixelIndex(0, 0), 0); // background
    EXPECT_EQ(makeDigitStrip(true).pixelIndex(10 * 16 + 8, 9), lit);
    EXPECT_EQ(makeDigitStrip(true).pixelIndex(10 * 16 + 8, 1), unlit);
}
