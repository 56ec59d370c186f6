#include "platform/DesktopBrowsers.h"

#include "core/Lines.h"
#include "core/Text.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace orv
{
namespace
{

// The navigator's descendants, in the order they are looked for.
const char* const kNavigatorFamily[]
    = { "firefox", "firefox-esr", "seamonkey", "iceweasel", "icecat", "librewolf", "mozilla", "netscape" };

std::string baseName(const std::string& program)
{
    const size_t slash = program.find_last_of('/');
    return slash == std::string::npos ? program : program.substr(slash + 1);
}

// Reads the value of `key` in section `section` of a desktop-entry style
// file ("[Section]" lines, "key=value" lines). "" when absent.
std::string iniValue(const QString& path, const std::string& section, const std::string& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::string current;
    for (const std::string& raw : SplitLines(std::string(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find('=');
        if (current == section && eq != std::string::npos && Trim(line.substr(0, eq)) == key)
            return Trim(line.substr(eq + 1));
    }
    return {};
}

std::string defaultHttpDesktopFile()
{
    QStringList places;
    places << QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        places << data + QStringLiteral("/applications");
    for (const QString& place : places) {
        const std::string value
            = iniValue(place + QStringLiteral("/mimeapps.list"), "Default Applications", "x-scheme-handler/http");
        if (!value.empty())
            return value.substr(0, value.find(';'));
    }
    return {};
}

} // namespace

bool isNavigatorFamily(const std::string& program)
{
    const std::string name = LowerCase(baseName(program));
    for (const char* member : kNavigatorFamily)
        if (name == member || name == std::string(member) + ".desktop")
            return true;
    return false;
}

std::string findNavigatorProgram()
{
    for (const char* member : kNavigatorFamily) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(member));
        if (!path.isEmpty())
            return pathFromQ(path);
    }
    return {};
}

std::string commandProgram(const std::string& command)
{
    const std::string text = Trim(command);
    if (text.empty())
        return {};
    if (text[0] == '"') {
        const size_t close = text.find('"', 1);
        return text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return text.substr(0, text.find(' '));
}

std::string browserArgument(const std::string& url)
{
    if (!url.empty() && url[0] == '-')
        return "http://" + url;
    return url;
}

std::string defaultBrowserCommand()
{
    if (const char* browser = std::getenv("BROWSER"); browser && *browser)
        return std::string(browser).substr(0, std::string(browser).find(':'));
    const std::string desktopFile = defaultHttpDesktopFile();
    if (desktopFile.empty())
        return {};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString path = data + QStringLiteral("/applications/") + pathToQ(desktopFile);
        if (QFile::exists(path))
            return iniValue(path, "Desktop Entry", "Exec");
    }
    return {};
}

} // namespace orv
