#pragma once
// The seam between a retrieval and the criteria: a page's bytes go in as they
// arrive, the verdict comes out when the page has ended. Which text is matched
// (the page source line by line, as drawn, or the text a reader sees) and how
// the bytes are decoded are the judge's business; the retrieval only feeds it.
#include "verify/PageScan.h"

#include <memory>
#include <string>
#include <string_view>

namespace orv
{

enum class MatchOn {
    PageSource, // the drawn scan: every line of the source, markup included
    PageText, // what a reader sees: no scripts, styles, tags or attributes
};

class PageJudge
{
public:
    virtual ~PageJudge() = default;
    // Takes the next bytes of the page as received; false once the verdict
    // can no longer change, so the rest need not be read.
    virtual bool add(std::string_view bytes) = 0;
    // Ends the page and gives the verdict; the modes are read now, as the
    // scans read the radio pairs when they run.
    virtual ScanVerdict verdict(ScanModes modes) = 0;
};

// `contentType` is the answer's Content-Type header value (may be empty); it
// may name the page's character set.
std::unique_ptr<PageJudge> MakePageJudge(const WordLists& lists, MatchOn on, const std::string& contentType);

// Feeds the page file at `path` to `judge` and gives its verdict. Throws
// EInOutError when the file cannot be opened or read.
ScanVerdict JudgePageFile(const std::string& path, PageJudge& judge, ScanModes modes);

} // namespace orv
