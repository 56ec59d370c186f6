#pragma once
// A file of URLs, one a line, as `--urls` offers them to the master URL
// list. The file is hostile input: it is read in pieces with memory for one
// bounded line, a UTF-8 byte order mark is skipped, and a line that cannot be
// a URL is reported with its number and left out while the rest goes on.
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

// A longer line is no URL anybody can use.
inline constexpr size_t kMaxUrlLineBytes = 64 * 1024;
// Reading stops here: a device or a runaway file never ends on its own.
inline constexpr long long kMaxUrlsFileBytes = 64LL * 1024 * 1024;

// One line made ready for the list: the blanks around it go, and a scheme
// is written in small letters. `url` is empty when the line is left out,
// `problem` then says why (nothing for a blank line).
struct UrlLine {
    std::string url;
    std::string problem;
};

// Lines of other schemes than http and https are refused; a line without a
// scheme ("host/path", "host:8080/") is kept for the list's own "http://".
UrlLine NormaliseUrlLine(std::string_view line);

struct UrlsFileRead {
    std::vector<std::string> urls; // in file order
    std::vector<std::string> problems; // "<path> line N: ..." each
};

// Throws EInOutError when the file cannot be opened or read.
UrlsFileRead ReadUrlsFile(const std::string& path);

} // namespace orv
