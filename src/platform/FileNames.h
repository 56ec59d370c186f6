#pragma once
// Paths between Qt and the file system. The program holds a path as the
// file system's own bytes (UTF-8 here); Qt holds it as text. Every crossing
// converts with the file system's encoding, so that a name with letters
// beyond ASCII names the same file on both sides. File contents stay
// UTF-8 text (WidgetText.h); only names go through here.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace orv {

inline QString pathToQ(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string pathFromQ(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace orv
