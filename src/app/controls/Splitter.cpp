#include "app/controls/Splitter.h"

#include <QMouseEvent>
#include <QPainter>

namespace orv
{

Splitter::Splitter(QWidget* parent)
    : QFrame(parent)
{
    setCursor(Qt::SplitHCursor);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void Splitter::paintEvent(QPaintEvent*)
{
    // A raised bar with a grip in the middle, so that the handle can be
    // found in either palette.
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.button());
    p.fillRect(QRect(0, 0, 1, height()), pal.light());
    p.fillRect(QRect(width() - 1, 0, 1, height()), pal.dark());
    const int middle = height() / 2;
    for (int i = -3; i <= 3; ++i)
        p.fillRect(QRect(width() / 2, middle + i * 4, 1, 2), pal.shadow());
}

void Splitter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        grabOffset_ = event->position().toPoint().x();
}

void Splitter::mouseMoveEvent(QMouseEvent* event)
{
    if (grabOffset_ < 0)
        return;
    const int left = mapToParent(event->position().toPoint()).x() - grabOffset_;
    emit dragged(left);
}

void Splitter::mouseReleaseEvent(QMouseEvent* event)
{
    if (grabOffset_ < 0 || event->button() != Qt::LeftButton)
        return;
    grabOffset_ = -1;
    emit moved();
}

} // namespace orv
