#pragma once
// A list box whose entries carry check marks, reporting the release of a
// mouse button with the button, the modifier keys and the position.
#include <QListWidget>

namespace orv
{

class CheckListBox : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

    // Appends an entry with an empty check mark.
    void addCheckItem(const QString& text);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);

signals:
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace orv
