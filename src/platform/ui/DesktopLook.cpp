#include "platform/ui/DesktopLook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>

namespace orv
{

bool IsDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QPalette DarkPalette()
{
    QPalette p;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    const QColor disabled(125, 125, 130);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 43));
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(55, 55, 59));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 90, 90));
    p.setColor(QPalette::Light, QColor(80, 80, 85));
    p.setColor(QPalette::Midlight, QColor(65, 65, 70));
    p.setColor(QPalette::Mid, QColor(40, 40, 43));
    p.setColor(QPalette::Dark, QColor(20, 20, 22));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Highlight, QColor(50, 110, 200));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 140, 255));
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}

void FollowDesktopPalette(QApplication& app, bool prefersDark)
{
    if (!prefersDark || IsDarkPalette(QApplication::palette()))
        return;
    // The platform's own style may draw in fixed light colours; Fusion
    // draws from the palette alone.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setPalette(DarkPalette());
}

namespace
{

// Hides its window on an Escape that no control inside it has taken.
class EscapeCloser final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
            && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            static_cast<QWidget*>(watched)->hide();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void CloseOnEscape(QWidget* window)
{
    if (window->property("orvClosesOnEscape").toBool())
        return;
    window->setProperty("orvClosesOnEscape", true);
    window->installEventFilter(new EscapeCloser(window));
}

void ShowOverOwner(QWidget* window, QWidget* owner)
{
    if (!window->property("orvPlaced").toBool() && owner) {
        QWidget* top = owner->window();
        QRect frame = window->frameGeometry();
        frame.moveCenter(top->frameGeometry().center());
        if (QScreen* screen = top->screen()) {
            // Keep the title bar on the screen the owner is on.
            const QRect area = screen->availableGeometry();
            frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
            frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
        }
        window->move(frame.topLeft());
        window->setProperty("orvPlaced", true);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace orv
