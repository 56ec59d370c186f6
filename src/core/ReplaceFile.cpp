#include "core/ReplaceFile.h"

#include "core/Errors.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {
namespace {

// Closes a descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now; the errno of a failed close, or 0.
    int close()
    {
        if (fd_ < 0)
            return 0;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Writes all of `bytes`; the errno of the failure, or 0.
int writeAll(int fd, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

void writeInPlace(const std::string& path, std::string_view bytes)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (file.get() < 0)
        throw inOutErrorFromErrno(errno, path);
    if (const int err = writeAll(file.get(), bytes); err != 0)
        throw inOutErrorFromErrno(err, path);
    if (const int err = file.close(); err != 0)
        throw inOutErrorFromErrno(err, path);
}

// The file a write to `path` lands in: the end of a chain of links, or
// `path` itself.
std::string targetOf(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// A name in the target's folder that no other save uses: a hidden name
// made of the target's own name (shortened so the whole stays a valid
// name) and a random suffix.
std::string temporaryNameFor(const std::string& target)
{
    static std::atomic<unsigned> counter { 0 };
    static const unsigned seed = std::random_device {}();
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200);
    std::mt19937 random(seed ^ (static_cast<unsigned>(::getpid()) << 16) ^ counter++);
    return folder + "." + name + ".new-" + std::to_string(random() % 1000000000u);
}

// Makes the renamed file's folder entry durable; a failure here leaves a
// whole file either way, so it is not reported.
void syncFolderOf(const std::string& target)
{
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        (void)::fsync(dir.get());
}

} // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const std::string target = targetOf(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw inOutErrorFromErrno(EISDIR, path);
    if (exists && !S_ISREG(old.st_mode)) {
        writeInPlace(target, bytes);
        return;
    }
    // A file the user may not write stays refused, as an in-place write
    // would refuse it, even where the folder would allow a rename over it.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        throw inOutErrorFromErrno(errno, path);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryNameFor(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            throw inOutErrorFromErrno(errno, path);
    }
    if (fd < 0)
        throw inOutErrorFromErrno(EEXIST, path);
    FileDescriptor file(fd);

    int err = writeAll(file.get(), bytes);
    if (err == 0 && ::fsync(file.get()) != 0)
        err = errno;
    if (err == 0 && exists)
        (void)::fchmod(file.get(), old.st_mode & 07777);
    if (const int closeErr = file.close(); err == 0)
        err = closeErr;
    if (err == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temporary.c_str());
        throw inOutErrorFromErrno(err, path);
    }
    syncFolderOf(target);
}

} // namespace orv
