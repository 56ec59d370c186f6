#include "app/ProgramFolder.h"

#include <QCoreApplication>

namespace orv
{

std::string executableFolder()
{
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace orv
