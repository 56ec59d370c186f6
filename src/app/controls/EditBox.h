#pragma once
// A one-line edit box that also tells when the keyboard focus leaves it for
// another control of the program (not when the whole window loses the focus
// or a menu opens), as the engine maximum boxes need.
#include <QLineEdit>

namespace orv
{

class EditBox : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace orv
