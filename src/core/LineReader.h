#pragma once
// Lines of text that arrives in pieces, split by the same rules as
// SplitLines (CR, LF or CR LF end a line; a NUL ends the text), so that a
// large file can be read line by line with memory for one line only.
#include <functional>
#include <string>
#include <string_view>

namespace orv
{

// Called once per line; returning false stops the reading.
using LineHandler = std::function<bool(std::string_view line)>;

class LineSplitter
{
public:
    // Hands every line completed by `piece` to `onLine`. Returns false once
    // the text has ended (a NUL, or the handler asked to stop); later
    // pieces are then ignored.
    bool feed(std::string_view piece, const LineHandler& onLine);
    // The end of the text: hands over a last line that has no line break.
    void finish(const LineHandler& onLine);

    // Bytes held for a line not yet complete.
    size_t pendingBytes() const { return line_.size(); }

private:
    bool emit(std::string_view line, const LineHandler& onLine);

    std::string line_;
    bool pendingCr_ = false; // a CR ended the last piece; an LF that follows belongs to it
    bool ended_ = false;
};

// Hands the bytes of the file at `path` to `onPiece` in pieces of up to
// `pieceSize` bytes, until the end or until it returns false. Throws
// EInOutError when the file cannot be opened or read.
void ReadFilePieces(
    const std::string& path, const std::function<bool(std::string_view piece)>& onPiece, size_t pieceSize = 65536);

// Reads the file at `path` in fixed-size pieces and hands each line to
// `onLine`. Throws EInOutError when the file cannot be opened or read, as
// LoadLines does. `pieceSize` exists for tests of lines split across pieces.
void ForEachLineOfFile(const std::string& path, const LineHandler& onLine, size_t pieceSize = 65536);

} // namespace orv
