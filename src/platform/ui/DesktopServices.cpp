#include "platform/ui/DesktopServices.h"

#include "platform/DesktopBrowsers.h"
#include "platform/FileNames.h"
#include "platform/WidgetText.h"

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
    return QDesktopServices::openUrl(QUrl::fromUserInput(toQ(browserArgument(url))));
}

// Starts `program` with the URL as its only argument, never as an option.
bool startBrowser(const std::string& program, const std::string& url)
{
    return !program.empty()
        && QProcess::startDetached(pathToQ(program), { toQ(browserArgument(url)) });
}

} // namespace

bool DesktopShell::openDocument(const std::string& path)
{
    const QString text = pathToQ(path);
    const QUrl url = QFileInfo(text).isAbsolute() ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
    return QDesktopServices::openUrl(url);
}

bool DesktopBrowserLauncher::openUrl(BrowserKind browser, const std::string& url)
{
    const std::string program = browser == BrowserKind::Navigator ? findNavigatorProgram()
                                                                  : commandProgram(defaultBrowserCommand());
    return startBrowser(program, url) || openWithDesktop(url);
}

bool DesktopBrowserLauncher::openWithDefaultBrowser(const std::string& url)
{
    return startBrowser(commandProgram(defaultBrowserCommand()), url) || openWithDesktop(url);
}

void installDesktopServices()
{
    static DesktopShell shell;
    static DesktopBrowserLauncher launcher;
    Shell::install(&shell);
    BrowserLauncher::install(&launcher);
}

} // namespace orv
