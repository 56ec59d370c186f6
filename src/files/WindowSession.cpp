#include "files/WindowSession.h"

#include "platform/FileNames.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>

namespace orv
{

namespace
{

constexpr int kMaxTabs = 16;
constexpr int kMaxRecent = 8;

QStringList toList(const std::vector<std::string>& paths)
{
    QStringList list;
    for (const std::string& path : paths)
        list << pathToQ(path);
    return list;
}

} // namespace

SessionStore::SessionStore(QString file)
    : file_(std::move(file))
{
}

QString SessionStore::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Orvalen/Orvalen.conf");
}

WindowSession SessionStore::load() const
{
    const QSettings settings(file_, QSettings::IniFormat);
    WindowSession session;
    session.geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    bool ok = false;
    const int left = settings.value(QStringLiteral("window/splitter"), -1).toInt(&ok);
    session.splitterLeft = ok && left >= 0 ? left : -1;
    const int tab = settings.value(QStringLiteral("window/tab"), 0).toInt(&ok);
    session.tabIndex = ok && tab >= 0 && tab < kMaxTabs ? tab : 0;
    const QStringList recent = settings.value(QStringLiteral("files/recent")).toStringList();
    for (const QString& path : recent) {
        if (static_cast<int>(session.recentFiles.size()) == kMaxRecent)
            break;
        if (!path.isEmpty())
            session.recentFiles.push_back(pathFromQ(path));
    }
    return session;
}

void SessionStore::save(const WindowSession& session) const
{
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(QStringLiteral("window/geometry"), session.geometry);
    settings.setValue(QStringLiteral("window/splitter"), session.splitterLeft);
    settings.setValue(QStringLiteral("window/tab"), session.tabIndex);
    settings.setValue(QStringLiteral("files/recent"), toList(session.recentFiles));
}

void SessionStore::saveRecentFiles(const std::vector<std::string>& files) const
{
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(QStringLiteral("files/recent"), toList(files));
}

QRect firstStartGeometry(const QRect& available, const QSize& drawn)
{
    if (!available.isValid())
        return QRect(QPoint(0, 0), drawn);
    const int width = std::min(available.width(), std::max(drawn.width(), available.width() * 2 / 3));
    const int height = std::min(available.height(), std::max(drawn.height(), available.height() * 2 / 3));
    QRect r(0, 0, width, height);
    r.moveCenter(available.center());
    return r;
}

} // namespace orv
