#pragma once
// The bar between the two URL lists. Dragging it moves its left edge (the
// width of the list on its left) within the bounds its owner sets, and
// `moved` is reported once the drag ends.
#include <QFrame>

namespace orv
{

class Splitter : public QFrame
{
    Q_OBJECT

public:
    explicit Splitter(QWidget* parent = nullptr);

    // Smallest width left to either side while dragging.
    static constexpr int kMinSize = 30;

signals:
    // While dragging: the left edge the bar is to take.
    void dragged(int left);
    // The drag has ended.
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int grabOffset_ = -1; // where in the bar the drag took hold; -1: no drag
};

} // namespace orv
