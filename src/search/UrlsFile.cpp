#include "search/UrlsFile.h"

#include "core/Errors.h"
#include "core/Text.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orv
{

namespace
{

bool isSchemeChar(char c, bool first)
{
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return first ? letter : letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The length of the scheme that `text` begins with, or 0. "host:8080" is a
// host and a port, not a scheme.
size_t schemeLength(std::string_view text)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return 0;
    for (size_t i = 0; i < colon; ++i)
        if (!isSchemeChar(text[i], i == 0))
            return 0;
    size_t end = colon + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    const bool port
        = end > colon + 1 && (end == text.size() || text[end] == '/' || text[end] == '?' || text[end] == '#');
    return port ? 0 : colon;
}

// Collects lines of a file read in pieces, bounded in length.
class UrlLineCollector
{
public:
    UrlLineCollector(const std::string& path, UrlsFileRead& read)
        : path_(path)
        , read_(read)
    {
    }

    void feed(std::string_view piece)
    {
        for (const char c : piece) {
            if (atStart_) {
                atStart_ = false;
                if (static_cast<unsigned char>(c) == 0xEF) {
                    bomMatched_ = 1;
                    line_ += c;
                    continue;
                }
            } else if (bomMatched_ > 0 && bomMatched_ < 3) {
                const unsigned char want = bomMatched_ == 1 ? 0xBB : 0xBF;
                if (static_cast<unsigned char>(c) == want) {
                    line_ += c;
                    if (++bomMatched_ == 3) {
                        line_.clear();
                        bomMatched_ = 0;
                    }
                    continue;
                }
                bomMatched_ = 0;
            }
            if (pendingCr_) {
                pendingCr_ = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r' || c == '\n') {
                endLine();
                pendingCr_ = c == '\r';
                continue;
            }
            hasText_ = true;
            if (c == '\0')
                hasNul_ = true;
            if (line_.size() < kMaxUrlLineBytes)
                line_ += c;
            else
                tooLong_ = true;
        }
    }

    void finish()
    {
        if (hasText_ || !line_.empty())
            endLine();
    }

    void problem(const std::string& text)
    {
        read_.problems.push_back(path_ + " line " + IntToStr(lineNo_) + ": " + text);
    }
    long long lineNumber() const { return lineNo_; }

private:
    void endLine()
    {
        ++lineNo_;
        if (hasNul_) {
            problem("holds a NUL byte; left out");
        } else if (tooLong_) {
            problem("longer than " + IntToStr(static_cast<long long>(kMaxUrlLineBytes)) + " bytes; left out");
        } else {
            UrlLine url = NormaliseUrlLine(line_);
            if (!url.url.empty())
                read_.urls.push_back(std::move(url.url));
            else if (!url.problem.empty())
                problem(url.problem);
        }
        line_.clear();
        hasNul_ = tooLong_ = hasText_ = false;
        bomMatched_ = 0;
    }

    const std::string& path_;
    UrlsFileRead& read_;
    std::string line_;
    long long lineNo_ = 0;
    bool atStart_ = true;
    int bomMatched_ = 0; // bytes of a leading byte order mark seen so far
    bool pendingCr_ = false;
    bool hasNul_ = false;
    bool tooLong_ = false;
    bool hasText_ = false;
};

} // namespace

UrlLine NormaliseUrlLine(std::string_view line)
{
    std::string url = Trim(line);
    const size_t scheme = schemeLength(url);
    if (scheme == 0)
        return { url, {} };
    for (size_t i = 0; i < scheme; ++i)
        if (url[i] >= 'A' && url[i] <= 'Z')
            url[i] = static_cast<char>(url[i] - 'A' + 'a');
    const std::string_view name(url.data(), scheme);
    if (name != "http" && name != "https")
        return { {}, "unsupported scheme \"" + std::string(name) + "\"; left out" };
    return { url, {} };
}

UrlsFileRead ReadUrlsFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw inOutErrorFromErrno(errno, path);
    UrlsFileRead read;
    UrlLineCollector lines(path, read);
    std::string buffer(65536, '\0');
    long long total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw inOutErrorFromErrno(err, path);
        }
        if (n == 0)
            break;
        total += n;
        lines.feed(std::string_view(buffer.data(), static_cast<size_t>(n)));
        if (total >= kMaxUrlsFileBytes) {
            lines.finish();
            read.problems.push_back(
                path + ": read no further than " + IntToStr(kMaxUrlsFileBytes / (1024 * 1024)) + " MiB");
            ::close(fd);
            return read;
        }
    }
    ::close(fd);
    lines.finish();
    return read;
}

} // namespace orv
