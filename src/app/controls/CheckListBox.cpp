#include "app/controls/CheckListBox.h"

#include <QMouseEvent>

namespace orv
{

void CheckListBox::addCheckItem(const QString& text)
{
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
}

bool CheckListBox::isChecked(int row) const
{
    const QListWidgetItem* it = item(row);
    return it && it->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int row, bool checked)
{
    if (QListWidgetItem* it = item(row))
        it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CheckListBox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    const QPoint pos = event->position().toPoint();
    emit mouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

} // namespace orv
