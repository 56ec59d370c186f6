#include "files/Printout.h"

#include "core/Text.h"

namespace orv
{

Lines printoutLines(PrintChoice choice, const Lines& master, const Lines& approved)
{
    Lines out;
    if (choice == PrintChoice::Raw || choice == PrintChoice::Both) {
        out.emplace_back("UnVerified Search Engine Returns");
        out.insert(out.end(), master.begin(), master.end());
        out.emplace_back("");
        out.push_back(IntToStr(static_cast<long long>(master.size())) + " total Urls");
        out.emplace_back("");
    }
    if (choice == PrintChoice::Filtered || choice == PrintChoice::Both) {
        out.emplace_back("Verified Search Engine Returns");
        out.insert(out.end(), approved.begin(), approved.end());
        out.emplace_back("");
        out.push_back(IntToStr(static_cast<long long>(approved.size())) + " total Urls");
    }
    return out;
}

namespace
{

// The number of leading characters of `text` that fit in `width`, at least one.
size_t fittingPrefix(std::string_view text, int width, const std::function<int(std::string_view)>& widthOf)
{
    if (widthOf(text) <= width)
        return text.size();
    size_t fits = 1, tooWide = text.size();
    while (tooWide - fits > 1) {
        const size_t mid = fits + (tooWide - fits) / 2;
        if (widthOf(text.substr(0, mid)) <= width)
            fits = mid;
        else
            tooWide = mid;
    }
    return fits;
}

class PageWriter
{
public:
    explicit PageWriter(const PageMetrics& m)
        : m_(m)
    {
    }

    void place(std::string text)
    {
        if (pendingPage_) {
            pages_.emplace_back();
            y_ = 0;
            pendingPage_ = false;
        }
        const bool empty = text.empty();
        pages_.back().push_back({ std::move(text), y_ });
        const int height = empty ? m_.textHeight : m_.textHeight + 2;
        y_ += height;
        if (y_ > m_.pageHeight - (empty ? 0 : 2 * height))
            pendingPage_ = true;
    }

    std::vector<PrintedPage> take() { return std::move(pages_); }

private:
    const PageMetrics& m_;
    std::vector<PrintedPage> pages_;
    int y_ = 0;
    bool pendingPage_ = true;
};

} // namespace

std::vector<PrintedPage> layOutPrintout(
    const Lines& lines, const PageMetrics& metrics, const std::function<int(std::string_view)>& widthOf)
{
    PageWriter writer(metrics);
    for (const std::string& line : lines) {
        std::string_view rest = line;
        if (rest.empty()) {
            writer.place({});
            continue;
        }
        while (!rest.empty()) {
            const size_t n = fittingPrefix(rest, metrics.pageWidth, widthOf);
            writer.place(std::string(rest.substr(0, n)));
            rest.remove_prefix(n);
        }
    }
    return writer.take();
}

} // namespace orv
