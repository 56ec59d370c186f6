#include "platform/ProgramFolderChoice.h"

#include "core/Text.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>

namespace orv
{

namespace
{

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool isSystemFolder(const std::string& folder)
{
    return StartsWith(folder, "/usr/") || StartsWith(folder, "/bin/") || StartsWith(folder, "/sbin/");
}

} // namespace

ProgramFolderChoice chooseProgramFolder(const std::string& requested, const ExecutableFolder& executable,
    const std::string& xdgDataHome, const std::string& home)
{
    if (!requested.empty())
        return { withSlash(requested), false };
    const std::string beside = withSlash(executable.path);
    if (executable.writable && !executable.installed && !isSystemFolder(beside))
        return { beside, false };
    if (StartsWith(xdgDataHome, "/"))
        return { withSlash(xdgDataHome) + "Orvalen/", true };
    if (StartsWith(home, "/"))
        return { withSlash(home) + ".local/share/Orvalen/", true };
    return { beside, false };
}

namespace
{

bool sameContents(const QString& a, const QString& b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    return first.readAll() == second.readAll();
}

} // namespace

bool layOutProgramFolder(const std::string& folder, const std::string& artworkFolder)
{
    const QString root = pathToQ(withSlash(folder));
    QDir dir;
    for (const char* sub : { "", "data", "Reports", "Templates" })
        if (!dir.mkpath(root + QString::fromLatin1(sub)))
            return false;
    const QString artwork = pathToQ(withSlash(artworkFolder));
    // The artwork, and a new user's options (every engine asked), so that
    // the first start neither lacks its pictures nor reports a missing file.
    for (const char* name : { "orvalen.avi", "logo.jpg", "logo@2x.jpg", "search.txt" }) {
        const QString file = QString::fromLatin1(name);
        if (!QFile::exists(root + file) && QFile::exists(artwork + file))
            QFile::copy(artwork + file, root + file);
    }
    // The help file is ours, not the user's: a newer install brings its own.
    const QString help = QStringLiteral("Orvalen.html");
    if (QFile::exists(artwork + help) && !sameContents(artwork + help, root + help)) {
        QFile::remove(root + help);
        QFile::copy(artwork + help, root + help);
    }
    return true;
}

std::string installedArtworkFolder(const std::string& executableFolder)
{
    return withSlash(executableFolder) + "../share/orvalen/";
}

} // namespace orv
