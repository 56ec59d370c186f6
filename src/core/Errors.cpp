#include "core/Errors.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace orv {

namespace
{

EInOutError drawnInOutError(int err, const std::string& path)
{
    switch (err) {
    case ENOENT: {
        // A missing folder on the way makes the name itself unusable.
        std::error_code ec;
        const auto parent = std::filesystem::path(path).parent_path();
        if (!parent.empty() && !std::filesystem::is_directory(parent, ec))
            return EInOutError("Invalid filename", 3);
        return EInOutError("File not found", 2);
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return EInOutError("Invalid filename", 3);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return EInOutError("File access denied", 5);
    case ENOSPC:
    case EDQUOT:
        return EInOutError("Disk full", 101);
    default:
        return EInOutError("I/O error " + std::to_string(err), err);
    }
}

} // namespace

EInOutError inOutErrorFromErrno(int err, const std::string& path)
{
    EInOutError error = drawnInOutError(err, path);
    error.setDetail(path + ": " + std::strerror(err));
    return error;
}

std::string FullErrorText(const std::exception& error)
{
    const auto* own = dynamic_cast<const Exception*>(&error);
    return own && !own->detail().empty() ? own->detail() : std::string(error.what());
}

} // namespace orv
