#pragma once
// The tabbed settings area. A mouse press on the tab strip is reported after
// the strip has handled it, so that the handler sees the page the press has
// just chosen. A page chosen from the keyboard (Ctrl+Tab, the arrow keys on
// the strip) or by the mouse wheel over the strip is reported the same way,
// so that the settings area takes the height its page needs however it was
// chosen; pages the program chooses itself are not reported.
#include <QTabBar>
#include <QTabWidget>

namespace orv
{

class PageTabBar : public QTabBar
{
    Q_OBJECT

public:
    using QTabBar::QTabBar;

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent* event) override;
#endif
};

class PageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit PageControl(QWidget* parent = nullptr);

    PageTabBar* pageTabBar() const { return bar_; }

signals:
    // The user pressed on the tab strip or chose another page.
    void mouseDown();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    PageTabBar* bar_;
};

} // namespace orv
