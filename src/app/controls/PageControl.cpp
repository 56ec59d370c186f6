#include "app/controls/PageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace orv
{

void PageTabBar::mousePressEvent(QMouseEvent* event)
{
    QTabBar::mousePressEvent(event);
    emit pressed();
}

void PageTabBar::keyPressEvent(QKeyEvent* event)
{
    const int before = currentIndex();
    QTabBar::keyPressEvent(event);
    if (currentIndex() != before)
        emit pressed();
}

#if QT_CONFIG(wheelevent)
void PageTabBar::wheelEvent(QWheelEvent* event)
{
    const int before = currentIndex();
    QTabBar::wheelEvent(event);
    if (currentIndex() != before)
        emit pressed();
}
#endif

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent)
    , bar_(new PageTabBar(this))
{
    setTabBar(bar_);
    connect(bar_, &PageTabBar::pressed, this, &PageControl::mouseDown);
}

void PageControl::keyPressEvent(QKeyEvent* event)
{
    const int before = currentIndex();
    QTabWidget::keyPressEvent(event);
    if (currentIndex() != before)
        emit mouseDown();
}

} // namespace orv
