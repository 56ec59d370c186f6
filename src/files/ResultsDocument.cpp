#include "files/ResultsDocument.h"

#include <algorithm>

namespace orv
{

namespace
{

constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::string doubledAmpersands(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

} // namespace

void ContentDigest::add(std::string_view text)
{
    for (unsigned char c : text) {
        hash_ ^= c;
        hash_ *= kFnvPrime;
    }
    // A separator no text byte can fake: the length, byte by byte.
    std::uint64_t length = text.size();
    for (int i = 0; i < 8; ++i) {
        hash_ ^= (length & 0xff) | 0x100;
        hash_ *= kFnvPrime;
        length >>= 8;
    }
}

std::string ResultsDocument::fileName() const
{
    const auto slash = path_.find_last_of('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

void ResultsDocument::opened(const std::string& path, std::uint64_t digest)
{
    path_ = path;
    baseline_ = digest;
}

void ResultsDocument::closed(std::uint64_t digest)
{
    path_.clear();
    baseline_ = digest;
}

std::string ResultsDocument::title(bool modified) const
{
    if (path_.empty())
        return "Orvalen";
    return fileName() + (modified ? "*" : "") + " - Orvalen";
}

void RecentFiles::add(const std::string& path)
{
    if (path.empty())
        return;
    remove(path);
    files_.insert(files_.begin(), path);
    if (files_.size() > kMaxFiles)
        files_.resize(kMaxFiles);
}

void RecentFiles::remove(const std::string& path)
{
    files_.erase(std::remove(files_.begin(), files_.end(), path), files_.end());
}

void RecentFiles::assign(const std::vector<std::string>& paths)
{
    files_.clear();
    for (const std::string& path : paths) {
        if (path.empty() || std::find(files_.begin(), files_.end(), path) != files_.end())
            continue;
        files_.push_back(path);
        if (files_.size() == kMaxFiles)
            break;
    }
}

std::string recentFileCaption(std::size_t index, const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    std::string caption = index < 9 ? "&" + std::to_string(index + 1) + " " : std::to_string(index + 1) + " ";
    caption += doubledAmpersands(name);
    if (!folder.empty())
        caption += "  (" + doubledAmpersands(folder) + ")";
    return caption;
}

} // namespace orv
