#include "app/ToolbarGlyphs.h"

#include "platform/ui/DesktopLook.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orv
{

namespace
{

constexpr int kSize = 20;

// Outlines and strokes: dark on a light toolbar, light on a dark one.
QColor ink()
{
    return IsDarkPalette(QGuiApplication::palette()) ? QColor(215, 215, 215) : QColor(40, 40, 40);
}

// A sheet of paper with a folded corner.
void drawPage(QPainter& p, QRectF r, QColor fill)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.35;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void drawTextLines(QPainter& p, QRectF r, int count)
{
    p.save();
    p.setPen(QPen(QColor(90, 90, 140), 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + 5 + i * 3;
        p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
    }
    p.restore();
}

void paintGlyph(QPainter& p, Glyph glyph)
{
    const QPen outline(ink(), 1);
    p.setPen(outline);
    switch (glyph) {
    case Glyph::New:
        drawPage(p, QRectF(4.5, 1.5, 11, 16), Qt::white);
        p.setPen(QPen(QColor(230, 180, 0), 2));
        p.drawLine(QPointF(14, 13), QPointF(18, 17));
        p.drawLine(QPointF(14, 17), QPointF(18, 13));
        break;
    case Glyph::Open: {
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(1.5, 5.5, 14, 11));
        p.drawRect(QRectF(1.5, 3.5, 6, 2));
        QPainterPath flap;
        flap.moveTo(4.5, 8.5);
        flap.lineTo(18.5, 8.5);
        flap.lineTo(15.5, 16.5);
        flap.lineTo(1.5, 16.5);
        flap.closeSubpath();
        p.setBrush(QColor(250, 225, 130));
        p.drawPath(flap);
        break;
    }
    case Glyph::Save:
        p.setBrush(QColor(60, 80, 160));
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(5.5, 11.5, 9, 6));
        break;
    case Glyph::Cut:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink(), 1.5));
        p.drawLine(QPointF(6, 2), QPointF(12.5, 12));
        p.drawLine(QPointF(14, 2), QPointF(7.5, 12));
        p.setPen(QPen(QColor(180, 30, 30), 1.5));
        p.drawEllipse(QPointF(6, 15), 3, 3);
        p.drawEllipse(QPointF(14, 15), 3, 3);
        break;
    case Glyph::Copy:
        drawPage(p, QRectF(1.5, 1.5, 10, 13), Qt::white);
        drawTextLines(p, QRectF(1.5, 1.5, 8, 13), 2);
        drawPage(p, QRectF(8.5, 5.5, 10, 13), Qt::white);
        drawTextLines(p, QRectF(8.5, 5.5, 8, 13), 3);
        break;
    case Glyph::Paste:
        p.setBrush(QColor(170, 120, 60));
        p.drawRoundedRect(QRectF(2.5, 3.5, 12, 15), 1.5, 1.5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(5.5, 1.5, 6, 3));
        drawPage(p, QRectF(9.5, 7.5, 9, 11), Qt::white);
        drawTextLines(p, QRectF(9.5, 7.5, 7, 11), 3);
        break;
    case Glyph::Delete:
        p.setPen(QPen(QColor(200, 20, 20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(16, 16));
        p.drawLine(QPointF(16, 4), QPointF(4, 16));
        break;
    case Glyph::Find:
        p.setBrush(QColor(200, 230, 255));
        p.setPen(QPen(ink(), 1.5));
        p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
        p.setPen(QPen(QColor(120, 70, 20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
        break;
    case Glyph::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 1.5, 9, 7));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(1.5, 7.5, 17, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 12.5, 9, 6));
        p.setBrush(QColor(40, 200, 40));
        p.drawEllipse(QPointF(15.5, 10), 1, 1);
        break;
    case Glyph::Help: {
        p.setBrush(QColor(40, 90, 200));
        p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
        QFont font;
        font.setBold(true);
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(1.5, 1.5, 17, 17), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

} // namespace

namespace
{

// Draws the glyph afresh at whatever size and scale it is asked for, so that
// it stays sharp at 150% and 200% instead of being blown up from 20 x 20.
class GlyphEngine final : public QIconEngine
{
public:
    explicit GlyphEngine(Glyph glyph)
        : glyph_(glyph)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / qreal(kSize), rect.height() / qreal(kSize));
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        paintGlyph(*painter, glyph_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` counts device pixels; the picture is shown at size / scale.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            paint(&p, QRect(QPoint(0, 0), pixmap.size()), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new GlyphEngine(glyph_); }

private:
    Glyph glyph_;
};

} // namespace

QIcon toolbarGlyph(Glyph glyph)
{
    return QIcon(new GlyphEngine(glyph));
}

QPixmap drawnLogo(QSize size, qreal scale)
{
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, size.height());
    band.setColorAt(0, QColor(20, 40, 110));
    band.setColorAt(1, QColor(60, 110, 200));
    p.setBrush(band);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 6, 6);
    QFont font;
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(size.height() * 11 / 20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size.width(), size.height()), Qt::AlignCenter, QStringLiteral("Orvalen"));
    return pixmap;
}

} // namespace orv
