#include "engines/ClaimedCount.h"

#include <QRegularExpression>

namespace orv
{
namespace
{

// A count line is short; a longer text is cut before a pattern sees it.
constexpr size_t kMaxCountText = 4096;
constexpr int kMaxDigits = 18;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The width of a thousands separator at `i`, 0 when there is none.
size_t separatorAt(std::string_view s, size_t i)
{
    const char c = s[i];
    if (c == ',' || c == '.' || c == '\'' || c == ' ')
        return 1;
    if (s.substr(i, 2) == "\xC2\xA0") // no-break space
        return 2;
    if (s.substr(i, 3) == "\xE2\x80\xAF") // narrow no-break space
        return 3;
    return 0;
}

std::optional<long long> firstNumber(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && !isDigit(s[i]))
        ++i;
    if (i == s.size())
        return std::nullopt;
    long long value = 0;
    int digits = 0;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            if (++digits > kMaxDigits)
                return std::nullopt;
            value = value * 10 + (s[i] - '0');
            ++i;
            continue;
        }
        const size_t sep = separatorAt(s, i);
        if (sep == 0 || i + sep >= s.size() || !isDigit(s[i + sep]))
            break;
        i += sep;
    }
    return value;
}

} // namespace

std::optional<long long> ClaimedCount(std::string_view text, const std::string& pattern)
{
    text = text.substr(0, kMaxCountText);
    if (pattern.empty())
        return firstNumber(text);
    const QRegularExpression re(QString::fromStdString(pattern));
    if (!re.isValid())
        return std::nullopt;
    const QRegularExpressionMatch m = re.match(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (!m.hasMatch())
        return std::nullopt;
    const QString piece = re.captureCount() > 0 ? m.captured(1) : m.captured(0);
    return firstNumber(piece.toStdString());
}

std::string CountPatternError(const std::string& pattern)
{
    const QRegularExpression re(QString::fromStdString(pattern));
    return re.isValid() ? std::string() : re.errorString().toStdString();
}

} // namespace orv
