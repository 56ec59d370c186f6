#pragma once
// The folders batch runs keep their downloaded pages in (data/batch-XXXXXX).
// A run holds a lock on a file in its own folder for as long as it lives;
// the system lets the lock go however the run ends, even by SIGKILL. A later
// run removes every such folder whose lock nobody holds, and never touches
// the folder of a run that still lives.
#include <string>

namespace orv
{

// The lock file in a run's folder.
inline constexpr const char* kRunLockName = ".running";

class RunFolderLock
{
public:
    // Creates the lock file in `folder` and holds it; held() tells whether
    // that worked.
    explicit RunFolderLock(const std::string& folder);
    ~RunFolderLock();
    RunFolderLock(const RunFolderLock&) = delete;
    RunFolderLock& operator=(const RunFolderLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Removes the folders "batch-*" of `dataFolder` that no living run holds,
// except `ownFolder`. A folder without a lock file is taken for a run that
// is just starting until it is a minute old. Returns how many went.
int RemoveLeftoverRunFolders(const std::string& dataFolder, const std::string& ownFolder);

} // namespace orv
