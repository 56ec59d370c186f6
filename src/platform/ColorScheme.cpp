#include "platform/ColorScheme.h"

#include <QProcess>
#include <QStandardPaths>

namespace orv
{

namespace
{

std::string lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A theme name ending in "-dark" or a GTK_THEME variant ":dark".
bool darkThemeName(std::string name)
{
    name = lowered(name);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\'' || name.back() == ' '))
        name.pop_back();
    return endsWith(name, ":dark") || endsWith(name, "-dark");
}

std::string gsetting(const char* key)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        return {};
    QProcess process;
    process.start(QStringLiteral("gsettings"),
        { QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), QString::fromLatin1(key) });
    // A desktop that does not answer at once is taken as light.
    if (!process.waitForFinished(1000)) {
        process.kill();
        process.waitForFinished(500);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().left(200).toStdString();
}

} // namespace

bool DesktopPrefersDark(const std::string& gtkTheme, const std::string& colorScheme, const std::string& gtkThemeName)
{
    if (!gtkTheme.empty())
        return darkThemeName(gtkTheme);
    const std::string scheme = lowered(colorScheme);
    if (scheme.find("prefer-dark") != std::string::npos)
        return true;
    if (scheme.find("prefer-light") != std::string::npos)
        return false;
    return darkThemeName(gtkThemeName);
}

bool AskDesktopPrefersDark()
{
    const std::string gtkTheme = qEnvironmentVariable("GTK_THEME").toStdString();
    if (!gtkTheme.empty())
        return DesktopPrefersDark(gtkTheme, {}, {});
    const std::string scheme = gsetting("color-scheme");
    return DesktopPrefersDark({}, scheme,
        scheme.find("dark") == std::string::npos && scheme.find("light") == std::string::npos ? gsetting("gtk-theme")
                                                                                              : std::string());
}

} // namespace orv
