#pragma once
// A spin button: two small arrow buttons stacked, reporting a click on the
// upper and on the lower half separately. It holds no value of its own; the
// edit box beside it does.
#include <QWidget>

class QToolButton;

namespace orv
{

class SpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace orv
