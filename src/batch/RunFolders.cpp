#include "batch/RunFolders.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace orv
{

namespace fs = std::filesystem;

namespace
{

bool isRunFolderName(const std::string& name)
{
    return name.rfind("batch-", 0) == 0 && name.size() > 6;
}

// Whether the folder's lock file exists and nobody holds it, in which case
// `fd` is left open holding it. A missing file says `missing`.
bool takeAbandonedLock(const fs::path& folder, int& fd, bool& missing)
{
    fd = ::open((folder / kRunLockName).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    ::close(fd);
    fd = -1;
    return false;
}

bool olderThanAMinute(const fs::path& folder)
{
    std::error_code ec;
    const auto written = fs::last_write_time(folder, ec);
    return !ec && fs::file_time_type::clock::now() - written > std::chrono::minutes(1);
}

} // namespace

RunFolderLock::RunFolderLock(const std::string& folder)
{
    fd_ = ::open((fs::path(folder) / kRunLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

RunFolderLock::~RunFolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int RemoveLeftoverRunFolders(const std::string& dataFolder, const std::string& ownFolder)
{
    std::error_code ec;
    const fs::path own = fs::weakly_canonical(ownFolder, ec);
    int removed = 0;
    for (fs::directory_iterator it(dataFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path folder = it->path();
        std::error_code kindError;
        if (!isRunFolderName(folder.filename().string()) || !it->is_directory(kindError) || it->is_symlink(kindError))
            continue;
        std::error_code sameError;
        if (fs::weakly_canonical(folder, sameError) == own)
            continue;
        int fd = -1;
        bool missing = false;
        const bool abandoned = takeAbandonedLock(folder, fd, missing);
        if (abandoned || (missing && olderThanAMinute(folder))) {
            std::error_code removeError;
            // The lock is held while the folder goes, so that a second run
            // cleaning up at the same moment leaves it to this one.
            if (fs::remove_all(folder, removeError) != static_cast<std::uintmax_t>(-1) && !removeError)
                ++removed;
        }
        if (fd >= 0)
            ::close(fd);
    }
    return removed;
}

} // namespace orv
