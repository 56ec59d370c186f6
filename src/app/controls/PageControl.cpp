#include "app/controls/PageControl.h"

#include <QMouseEvent>

namespace orv
{

void PageTabBar::mousePressEvent(QMouseEvent* event)
{
    QTabBar::mousePressEvent(event);
    emit pressed(event->button(), event->modifiers(), event->position().toPoint());
}

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent)
    , bar_(new PageTabBar(this))
{
    setTabBar(bar_);
    connect(bar_, &PageTabBar::pressed, this, &PageControl::mouseDown);
}

} // namespace orv
