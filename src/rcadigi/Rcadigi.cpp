#include "rcadigi/Rcadigi.h"

#include <QPainter>
#include <QResizeEvent>

#include <string>

namespace orv
{

std::string formatDigits(std::int32_t value, std::uint16_t width)
{
    // As printf's "%.*d": at least `width` digits, zero-padded, the sign in
    // front; a zero with no digits asked for prints nothing.
    if (value == 0 && width == 0)
        return {};
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    std::string digits = std::to_string(magnitude);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

} // namespace orv

namespace
{

// Draws `width` rings of a 3D frame inside `rect` and shrinks it by them:
// the top and left lines in `topLeft`, the bottom and right lines in
// `bottomRight`, which also takes the two corners where they meet.
void frame3D(QPainter& painter, QRect& rect, QColor topLeft, QColor bottomRight, int width)
{
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
        painter.fillRect(QRect(QPoint(l, t), QPoint(l, b - 1)), topLeft);
        painter.fillRect(QRect(QPoint(l, t), QPoint(r - 1, t)), topLeft);
        painter.fillRect(QRect(QPoint(r, t), QPoint(r, b)), bottomRight);
        painter.fillRect(QRect(QPoint(l, b), QPoint(r, b)), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

void bevelColours(TRCADigital::Bevel bevel, QColor& topLeft, QColor& bottomRight)
{
    const bool lowered = bevel == TRCADigital::Bevel::Lowered;
    topLeft = QColor::fromRgb(lowered ? orv::kBevelShadow : orv::kBevelHighlight);
    bottomRight = QColor::fromRgb(lowered ? orv::kBevelHighlight : orv::kBevelShadow);
}

} // namespace

TRCADigital::TRCADigital(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    adjustHeight();
}

void TRCADigital::setBevelInner(Bevel bevel)
{
    bevelInner_ = bevel;
    adjustHeight();
    update();
}

void TRCADigital::setBevelOuter(Bevel bevel)
{
    bevelOuter_ = bevel;
    adjustHeight();
    update();
}

void TRCADigital::setBevelWidth(int width)
{
    bevelWidth_ = width;
    adjustHeight();
    update();
}

void TRCADigital::setBorderWidth(int width)
{
    borderWidth_ = width;
    adjustHeight();
    update();
}

void TRCADigital::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void TRCADigital::setNumbers(const QImage& strip)
{
    numbers_ = strip.copy();
    adjustHeight();
    update();
}

void TRCADigital::setNumberWidth(std::uint16_t width)
{
    numberWidth_ = width;
    update();
}

void TRCADigital::setValue(std::int32_t value)
{
    value_ = value;
    text_ = orv::formatDigits(value_, formatWidth_);
    update();
}

void TRCADigital::setMargin(std::uint16_t margin)
{
    margin_ = margin;
    adjustHeight();
    update();
}

void TRCADigital::setAutoSize(bool on)
{
    const int kept = height();
    autoSize_ = on;
    setSizePolicy(QSizePolicy::Preferred, on ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    adjustHeight();
    if (!on)
        resize(width(), kept);
    update();
}

void TRCADigital::setGap(std::int32_t gap)
{
    gap_ = gap;
    update();
}

void TRCADigital::setFormatWidth(std::uint16_t width)
{
    formatWidth_ = width;
    setValue(value_);
}

TRCADigital::Insets TRCADigital::insets() const
{
    Insets in { 0, 0, width() };
    auto shrink = [&in](int by) {
        in.top += by;
        in.left += by;
        in.right -= by;
    };
    if (bevelInner_ != Bevel::None)
        shrink(bevelWidth_);
    if (bevelOuter_ != Bevel::None)
        shrink(bevelWidth_);
    shrink(borderWidth_);
    shrink(margin_);
    return in;
}

int TRCADigital::autoHeight() const
{
    return numbers_.height() + 2 * insets().top;
}

void TRCADigital::adjustHeight()
{
    // The height is held as a fixed constraint, so that any later resize,
    // shown or hidden, in a layout or not, keeps it.
    if (!autoSize_) {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        return;
    }
    setFixedHeight(autoHeight());
}

QSize TRCADigital::sizeHint() const
{
    return QSize(width() > 0 ? width() : 47, autoSize_ ? autoHeight() : height());
}

void TRCADigital::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    adjustHeight();
}

void TRCADigital::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintPanel(painter);
    paintDigits(painter);
}

void TRCADigital::paintPanel(QPainter& painter) const
{
    QRect rect = this->rect();
    QColor topLeft, bottomRight;
    if (bevelOuter_ != Bevel::None) {
        bevelColours(bevelOuter_, topLeft, bottomRight);
        frame3D(painter, rect, topLeft, bottomRight, bevelWidth_);
    }
    frame3D(painter, rect, color_, color_, borderWidth_);
    if (bevelInner_ != Bevel::None) {
        bevelColours(bevelInner_, topLeft, bottomRight);
        frame3D(painter, rect, topLeft, bottomRight, bevelWidth_);
    }
    painter.fillRect(rect, color_);
}

void TRCADigital::paintDigits(QPainter& painter) const
{
    if (numbers_.isNull())
        return;
    const Insets in = insets();
    const int width = numberWidth_;
    int x = in.right;
    for (auto c = text_.rbegin(); c != text_.rend(); ++c) {
        x -= width;
        if (x > in.left) {
            int column = 0;
            if (*c == '-')
                column = 10 * width;
            else if (*c >= '0' && *c <= '9')
                column = (*c - '0') * width;
            // A picture the strip does not hold (no minus sign) leaves its
            // place empty.
            const QRect source = QRect(column, 0, width, numbers_.height()) & numbers_.rect();
            if (!source.isEmpty())
                painter.drawImage(QPoint(x + source.left() - column, in.top), numbers_, source);
        }
        x -= gap_;
    }
}
