#pragma once
// The tabbed settings area. A mouse press on the tab strip is reported after
// the strip has handled it, so that the handler sees the page the press has
// just chosen.
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
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class PageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit PageControl(QWidget* parent = nullptr);

    PageTabBar* pageTabBar() const { return bar_; }

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

private:
    PageTabBar* bar_;
};

} // namespace orv
