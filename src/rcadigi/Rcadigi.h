#pragma once
// TRCADigital: a bevelled panel that shows a whole number as a row of digit
// pictures cut from one strip image, like a seven-segment counter. The
// digits are right-aligned against the right inset; a number too long for
// the panel is cut on the left, so the lowest digits stay visible.
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <string>

class TRCADigital : public QWidget
{
    Q_OBJECT

public:
    enum class Bevel { None, Lowered, Raised };

    explicit TRCADigital(QWidget* parent = nullptr);

    // ---- Panel ------------------------------------------------------------
    Bevel bevelInner() const { return bevelInner_; }
    void setBevelInner(Bevel bevel);
    Bevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(Bevel bevel);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    // ---- Digits -----------------------------------------------------------
    // The strip: digits 0 to 9 side by side, each NumberWidth pixels wide
    // from x = 0, then optionally a minus picture at x = 10 * NumberWidth.
    // The control keeps its own copy.
    const QImage& numbers() const { return numbers_; }
    void setNumbers(const QImage& strip);
    std::uint16_t numberWidth() const { return numberWidth_; }
    void setNumberWidth(std::uint16_t width);
    std::int32_t value() const { return value_; }
    void setValue(std::int32_t value);
    std::uint16_t margin() const { return margin_; }
    void setMargin(std::uint16_t margin);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    std::int32_t gap() const { return gap_; }
    void setGap(std::int32_t gap);
    std::uint16_t formatWidth() const { return formatWidth_; }
    void setFormatWidth(std::uint16_t width);

    // The characters drawn: the value with at least FormatWidth digits.
    const std::string& displayText() const { return text_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Insets {
        int top, left, right;
    };
    Insets insets() const;
    void adjustHeight();
    int autoHeight() const;
    void paintPanel(QPainter& painter) const;
    void paintDigits(QPainter& painter) const;

    Bevel bevelInner_ = Bevel::Lowered;
    Bevel bevelOuter_ = Bevel::None;
    int bevelWidth_ = 3;
    int borderWidth_ = 0;
    QColor color_ = Qt::black;

    QImage numbers_;
    std::uint16_t numberWidth_ = 0;
    std::int32_t value_ = 0;
    std::uint16_t margin_ = 2;
    bool autoSize_ = true;
    std::int32_t gap_ = 0;
    std::uint16_t formatWidth_ = 1;
    std::string text_ = "0";
};

namespace orv
{

// The bevel colours of the panel: shadow and highlight.
inline constexpr QRgb kBevelShadow = 0xFF808080;
inline constexpr QRgb kBevelHighlight = 0xFFFFFFFF;

// Formats `value` with at least `width` digits and a leading "-" when
// negative ("%.<width>d").
std::string formatDigits(std::int32_t value, std::uint16_t width);

} // namespace orv
