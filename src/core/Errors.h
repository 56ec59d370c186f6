#pragma once
// The errors that end a command. Every handler that Qt calls catches
// `Exception` at its boundary and shows `what()` through the Dialogs seam.
#include <stdexcept>
#include <string>

namespace orv {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
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
// `path` decides between a missing file and a missing folder.
EInOutError inOutErrorFromErrno(int err, const std::string& path);

} // namespace orv
