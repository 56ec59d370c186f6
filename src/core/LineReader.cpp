#include "core/LineReader.h"

#include "core/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace orv
{

bool LineSplitter::emit(std::string_view line, const LineHandler& onLine)
{
    if (!onLine(line))
        ended_ = true;
    return !ended_;
}

bool LineSplitter::feed(std::string_view piece, const LineHandler& onLine)
{
    if (ended_)
        return false;
    size_t i = 0;
    if (pendingCr_ && !piece.empty()) {
        pendingCr_ = false;
        if (piece[0] == '\n')
            i = 1;
    }
    while (i < piece.size()) {
        const size_t end = piece.find_first_of(std::string_view("\r\n\0", 3), i);
        if (end == std::string_view::npos) {
            line_.append(piece.substr(i));
            return true;
        }
        const std::string_view rest = piece.substr(i, end - i);
        if (piece[end] == '\0') {
            line_.append(rest);
            if (!line_.empty())
                emit(line_, onLine);
            line_.clear();
            ended_ = true;
            return false;
        }
        // A line that lies whole in this piece is handed over without a copy.
        bool goOn;
        if (line_.empty()) {
            goOn = emit(rest, onLine);
        } else {
            line_.append(rest);
            goOn = emit(line_, onLine);
            line_.clear();
        }
        if (!goOn)
            return false;
        i = end + 1;
        if (piece[end] == '\r') {
            if (i == piece.size())
                pendingCr_ = true;
            else if (piece[i] == '\n')
                ++i;
        }
    }
    return true;
}

void LineSplitter::finish(const LineHandler& onLine)
{
    if (!ended_ && !line_.empty())
        emit(line_, onLine);
    line_.clear();
    ended_ = true;
}

void ReadFilePieces(
    const std::string& path, const std::function<bool(std::string_view piece)>& onPiece, size_t pieceSize)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw inOutErrorFromErrno(errno, path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } const closer { fd };
    struct stat st {
    };
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        throw inOutErrorFromErrno(EISDIR, path);
    const std::unique_ptr<char[]> buffer(new char[pieceSize]);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), pieceSize);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw inOutErrorFromErrno(errno, path);
        }
        if (n == 0 || !onPiece(std::string_view(buffer.get(), static_cast<size_t>(n))))
            return;
    }
}

void ForEachLineOfFile(const std::string& path, const LineHandler& onLine, size_t pieceSize)
{
    LineSplitter splitter;
    bool ended = false;
    ReadFilePieces(
        path,
        [&](std::string_view piece) {
            ended = !splitter.feed(piece, onLine);
            return !ended;
        },
        pieceSize);
    if (!ended)
        splitter.finish(onLine);
}

} // namespace orv
