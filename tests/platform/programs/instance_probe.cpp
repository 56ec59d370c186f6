// A tiny program that uses the single-instance guard as Orvalen does, for
// the tests that start it twice. Usage: instance_probe <folder> <name> [once]
// The first start shows a minimised window, prints "ready" and, on a
// later start's message, restores it and prints the window's state, then
// ends; with "once" it ends right after "ready". A later start prints
// "second" and ends without a window.
#include "platform/SingleInstance.h"
#include "platform/ui/SingleInstanceWindow.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    orv::SingleInstance guard(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[1]));
    if (!guard.isFirst()) {
        std::printf("second delivered=%d windows=%d\n", guard.messageDelivered() ? 1 : 0,
            static_cast<int>(QApplication::topLevelWidgets().size()));
        return 0;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("probe"));
    window.showMinimized();
    orv::raiseOnAnotherStart(guard, &window);
    QObject::connect(&guard, &orv::SingleInstance::anotherStart, &app, [&] {
        std::printf("raised minimized=%d visible=%d\n", window.isMinimized() ? 1 : 0, window.isVisible() ? 1 : 0);
        std::fflush(stdout);
        app.quit();
    });
    std::printf("ready minimized=%d\n", window.isMinimized() ? 1 : 0);
    std::fflush(stdout);
    if (argc > 3)
        return 0;
    QTimer::singleShot(30000, &app, [] { std::exit(3); }); // never outlive a broken test
    return app.exec();
}
