#include "platform/ui/DesktopServices.h"

#include "platform/DesktopBrowsers.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace orv
{
namespace
{

bool openWithDesktop(const std::string& url)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

} // namespace

bool DesktopShell::openDocument(const std::string& path)
{
    const QString text = QString::fromStdString(path);
    const QUrl url = QFileInfo(text).isAbsolute() ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
    return QDesktopServices::openUrl(url);
}

bool DesktopBrowserLauncher::openUrl(BrowserKind browser, const std::string& url)
{
    std::string program;
    if (browser == BrowserKind::Navigator)
        program = findNavigatorProgram();
    else
        program = commandProgram(defaultBrowserCommand());
    if (!program.empty() && QProcess::startDetached(QString::fromStdString(program), { QString::fromStdString(url) }))
        return true;
    return openWithDesktop(url);
}

void installDesktopServices()
{
    static DesktopShell shell;
    static DesktopBrowserLauncher launcher;
    Shell::install(&shell);
    BrowserLauncher::install(&launcher);
}

} // namespace orv
