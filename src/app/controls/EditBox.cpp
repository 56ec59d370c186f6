#include "app/controls/EditBox.h"

#include <QFocusEvent>

namespace orv
{

void EditBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit exited();
}

} // namespace orv
