#include "app/controls/Splitter.h"

#include <QMouseEvent>

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
