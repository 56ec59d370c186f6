#include "batch/BatchProgress.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdio>

namespace orv
{

namespace
{

std::string printable(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F)
            c = '?';
    }
    return out;
}

std::string padLeft(const std::string& text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padRight(const std::string& text, size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

} // namespace

std::string enginePageLine(std::string_view engine, int page, int links, int masterCount)
{
    return "search " + std::string(engine) + " page " + IntToStr(page) + ": " + IntToStr(links)
        + (links == 1 ? " link, " : " links, ") + IntToStr(masterCount) + (masterCount == 1 ? " URL" : " URLs");
}

std::string urlProgressLine(
    int index, int total, std::string_view statusText, std::string_view url, std::string_view reason)
{
    return "retrieve " + IntToStr(index + 1) + "/" + IntToStr(total) + " " + printable(statusText) + " "
        + printable(url) + (reason.empty() ? std::string() : ": " + printable(reason));
}

std::string liveProgressLine(
    std::string_view phase, int done, int total, int approved, std::string_view url, int width)
{
    constexpr int kBarWidth = 20;
    const int filled = total > 0 ? static_cast<int>(static_cast<long long>(std::clamp(done, 0, total)) * kBarWidth / total)
                                 : 0;
    std::string line = std::string(phase) + " [" + std::string(static_cast<size_t>(filled), '#')
        + std::string(static_cast<size_t>(kBarWidth - filled), '.') + "] " + IntToStr(done) + "/" + IntToStr(total)
        + " approved " + IntToStr(approved) + " " + printable(url);
    if (width > 0 && static_cast<int>(line.size()) > width)
        line.resize(static_cast<size_t>(width));
    return line;
}

std::vector<std::string> yieldSummaryLines(const std::vector<EngineYieldRow>& rows)
{
    std::vector<std::string> lines;
    lines.push_back(padRight("engine", 14) + padLeft("claimed", 10) + padLeft("pages", 7) + padLeft("links", 7)
        + padLeft("new", 7) + padLeft("verified", 10) + padLeft("approved", 10));
    for (const EngineYieldRow& row : rows) {
        lines.push_back(padRight(printable(row.displayName()), 14)
            + padLeft(row.claimed.empty() ? "-" : printable(row.claimed), 10) + padLeft(IntToStr(row.pages), 7)
            + padLeft(IntToStr(row.links), 7) + padLeft(IntToStr(row.newUrls), 7)
            + padLeft(IntToStr(row.verified), 10) + padLeft(IntToStr(row.approved), 10)
            + (row.blocked ? "  blocked: " + printable(row.reason) : std::string()));
    }
    return lines;
}

} // namespace orv
