#include "app/ProgramFolder.h"

#include "platform/FileNames.h"

#include <QCoreApplication>

namespace orv
{

std::string executableFolder()
{
    std::string folder = pathFromQ(QCoreApplication::applicationDirPath());
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace orv
