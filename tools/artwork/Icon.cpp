// The program's icon for the desktop menu: a globe of results under a
// magnifying glass on a rounded tile, in the colours of the logo.
#include "Art.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace art
{

QImage programIcon(int size)
{
    constexpr int kDrawSize = 256;
    QImage image(kDrawSize, kDrawSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient tile(0, 0, 0, kDrawSize);
    tile.setColorAt(0, QColor(38, 92, 160));
    tile.setColorAt(1, QColor(18, 48, 96));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(12, 12, 232, 232), 40, 40);

    // The globe: a sphere with meridians and parallels.
    const QRectF globe(40, 40, 130, 130);
    QRadialGradient sea(globe.center() - QPointF(25, 25), 90);
    sea.setColorAt(0, QColor(120, 200, 255));
    sea.setColorAt(1, QColor(30, 110, 190));
    p.setBrush(sea);
    p.drawEllipse(globe);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 245, 255, 190), 4));
    p.drawEllipse(globe.adjusted(35, 0, -35, 0));
    p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
    p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
    p.drawLine(QPointF(globe.left() + 12, globe.top() + 35), QPointF(globe.right() - 12, globe.top() + 35));
    p.drawLine(QPointF(globe.left() + 12, globe.bottom() - 35), QPointF(globe.right() - 12, globe.bottom() - 35));

    // The magnifying glass over its lower right side.
    const QPointF lens(150, 150);
    p.setPen(QPen(QColor(250, 200, 60), 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + QPointF(38, 38), QPointF(222, 222));
    p.setBrush(QColor(255, 255, 255, 70));
    p.setPen(QPen(QColor(255, 224, 120), 12));
    p.drawEllipse(lens, 50, 50);
    p.end();

    if (size == kDrawSize)
        return image;
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace art
