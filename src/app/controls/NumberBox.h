#pragma once
// A number box: a spin box that lets any whole number be typed, and brings a
// value outside its range to the nearest bound when the box is left (a plain
// spin box refuses the keystroke instead, so typing "40" in a 1 to 32 box
// would leave "4").
#include <QSpinBox>

namespace orv
{

class NumberBox : public QSpinBox
{
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

} // namespace orv
