#include "platform/ui/SingleInstanceWindow.h"

#include "platform/SingleInstance.h"

#include <QWidget>

namespace orv
{

void bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

void raiseOnAnotherStart(SingleInstance& guard, QWidget* window)
{
    QObject::connect(&guard, &SingleInstance::anotherStart, window, [window] { bringToFront(window); });
}

} // namespace orv
