#pragma once
// Text to and from widgets. Text inside the program is UTF-8; widgets hold
// UTF-16. Every crossing converts with UTF-8, so nothing typed is lost. A
// byte that is not UTF-8 (none should reach a widget) shows as U+FFFD.
#include <QString>
#include <string>
#include <string_view>

namespace orv
{

inline QString toQ(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQ(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace orv
