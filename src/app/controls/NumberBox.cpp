#include "app/controls/NumberBox.h"

#include <algorithm>

namespace orv
{
namespace
{

// At most nine digits, so that the number fits an int.
bool isWholeNumberText(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QValidator::State NumberBox::validate(QString& input, int& pos) const
{
    if (input.isEmpty())
        return QValidator::Intermediate;
    if (!isWholeNumberText(input))
        return QSpinBox::validate(input, pos);
    const int value = input.toInt();
    return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void NumberBox::fixup(QString& input) const
{
    if (!isWholeNumberText(input)) {
        input = QString::number(value());
        return;
    }
    input = QString::number(std::clamp(input.toInt(), minimum(), maximum()));
}

} // namespace orv
