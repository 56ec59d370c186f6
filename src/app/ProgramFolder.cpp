#include "app/ProgramFolder.h"

#include "platform/FileNames.h"
#include "platform/ProgramFolderChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace orv
{

std::string executableFolder()
{
    std::string folder = pathFromQ(QCoreApplication::applicationDirPath());
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::optional<std::string> findProgramFolder(const std::string& requested, std::string& problem)
{
    const std::string beside = executableFolder();
    ExecutableFolder executable;
    executable.path = beside;
    executable.writable = ::access(beside.c_str(), W_OK) == 0;
    executable.installed = QFileInfo(pathToQ(installedArtworkFolder(beside))).isDir();
    const ProgramFolderChoice choice = chooseProgramFolder(
        requested, executable, pathFromQ(qEnvironmentVariable("XDG_DATA_HOME")), pathFromQ(QDir::homePath()));
    if (choice.inUserDataFolder && !layOutProgramFolder(choice.folder, installedArtworkFolder(beside))) {
        problem = "cannot create the program folder " + choice.folder;
        return std::nullopt;
    }
    if (!QFileInfo(pathToQ(choice.folder)).isDir()) {
        problem = "the program folder " + choice.folder + " does not exist";
        return std::nullopt;
    }
    return choice.folder;
}

} // namespace orv
