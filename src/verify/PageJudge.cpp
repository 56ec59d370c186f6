#include "verify/PageJudge.h"

#include "verify/CriteriaPatterns.h"
#include "core/Errors.h"
#include "core/LineReader.h"
#include "text/Charset.h"
#include "text/PageDecoder.h"
#include "verify/PageTextJudge.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace orv
{

namespace
{

// The drawn scan over the page source: the bytes go to the scanner as they
// come, whatever their character set.
class SourceJudge final : public PageJudge
{
public:
    explicit SourceJudge(const WordLists& lists)
        : scanner_(CompiledCriteria(lists))
    {
    }

    bool add(std::string_view bytes) override { return scanner_.add(bytes); }
    ScanVerdict verdict(ScanModes modes) override { return scanner_.verdict(modes); }

private:
    PageScanner scanner_;
};

// Decodes the page's bytes into UTF-8 before a judge of its text sees them.
class DecodingJudge : public PageJudge
{
public:
    DecodingJudge(std::unique_ptr<PageJudge> inner, const std::string& contentType)
        : inner_(std::move(inner))
        , decoder_(contentType)
    {
    }

    bool add(std::string_view bytes) override
    {
        if (done_)
            return false;
        text_.clear();
        decoder_.add(bytes, text_);
        if (!text_.empty() && !inner_->add(text_))
            done_ = true;
        return !done_;
    }

    ScanVerdict verdict(ScanModes modes) override
    {
        if (!done_) {
            text_.clear();
            decoder_.finish(text_);
            if (!text_.empty())
                inner_->add(text_);
            done_ = true;
        }
        return inner_->verdict(modes);
    }

private:
    std::unique_ptr<PageJudge> inner_;
    PageDecoder decoder_;
    std::string text_;
    bool done_ = false;
};

} // namespace

std::unique_ptr<PageJudge> MakePageJudge(const WordLists& lists, MatchOn on, const std::string& contentType)
{
    std::unique_ptr<PageJudge> inner;
    if (on == MatchOn::PageText)
        inner = std::make_unique<PageTextJudge>(lists, ContentTypeIsPlainText(contentType));
    else
        inner = std::make_unique<SourceJudge>(lists);
    return std::make_unique<DecodingJudge>(std::move(inner), contentType);
}

ScanVerdict JudgePageFile(const std::string& path, PageJudge& judge, ScanModes modes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw inOutErrorFromErrno(errno, path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } const closer { fd };
    const auto buffer = std::make_unique<char[]>(65536);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), 65536);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw inOutErrorFromErrno(errno, path);
        }
        if (n == 0 || !judge.add(std::string_view(buffer.get(), static_cast<size_t>(n))))
            break;
    }
    return judge.verdict(modes);
}

} // namespace orv
