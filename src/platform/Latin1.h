#pragma once
// Bytes to and from widget text. Pages and files are Windows-1252 bytes;
// Latin-1 stands in for it at the widgets, one byte per character both ways.
#include <QString>
#include <string>
#include <string_view>

namespace orv {

inline QString toQ(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string fromQ(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace orv
