#pragma once
// The errors that end a command. Every handler that Qt calls catches
// `Exception` at its boundary and shows `what()` through the Dialogs seam.
#include <stdexcept>
#include <string>
#include <utility>

namespace orv {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}

    // The error told in full for a reader without the window: the file (and
    // the line, for a file being read) and the system's reason. The window
    // shows what() as it always did; empty when what() already says it all.
    const std::string& detail() const { return detail_; }
    void setDetail(std::string detail) { detail_ = std::move(detail); }

private:
    std::string detail_;
};

// A text that is not a whole number where one is converted.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be opened, created, read or written.
class EInOutError : public Exception {
public:
    EInOutError(const std::string& message, int code) : Exception(message), errorCode(code) {}
    int errorCode;
};

// Builds the input/output error for an errno value: "File not found",
// "Invalid filename", "File access denied", "Disk full" or "I/O error %d".
// `path` decides between a missing file and a missing folder. Its detail
// names the path and the system's text for `err`.
EInOutError inOutErrorFromErrno(int err, const std::string& path);

// `error` with its full text set, thrown as its own type.
template <typename E> E WithDetail(E error, std::string detail)
{
    error.setDetail(std::move(detail));
    return error;
}

// The full text of an error: its detail when it has one, else what().
std::string FullErrorText(const std::exception& error);

} // namespace orv
