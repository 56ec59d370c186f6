#pragma once
// What the main window keeps between starts: its frame geometry, where the
// splitter stands, the last tab and the recent files. Kept with Qt's
// settings in an INI file of the user's config folder
// ($XDG_CONFIG_HOME/Orvalen/Orvalen.conf); every value read back is checked,
// as the file may have been edited by hand.
#include <QByteArray>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

namespace orv
{

struct WindowSession {
    QByteArray geometry; // QWidget::saveGeometry; empty on a first start
    int splitterLeft = -1; // the results view's width; -1: as laid out
    int tabIndex = 0;
    std::vector<std::string> recentFiles; // newest first
};

class SessionStore
{
public:
    explicit SessionStore(QString file);
    // The file in the user's config folder.
    static QString defaultFile();

    const QString& file() const { return file_; }
    WindowSession load() const;
    void save(const WindowSession& session) const;
    // Only the recent files, written as soon as they change.
    void saveRecentFiles(const std::vector<std::string>& files) const;

private:
    QString file_;
};

// Where the window opens on a first start: two thirds of the screen's free
// area each way, never smaller than `drawn` (the window's own size) nor
// larger than the area, centred in it.
QRect firstStartGeometry(const QRect& available, const QSize& drawn);

} // namespace orv
