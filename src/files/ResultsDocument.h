#pragma once
// What the window knows of the results file it shows: the file it last came
// from or went to, the digest of what it held then (so that a close can tell
// whether anything would be lost), and the files used lately. Plain data: the
// window computes the digests of what it holds and asks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

// A digest of a sequence of texts. Equal sequences give equal digests; the
// boundaries between texts count, so {"ab", "c"} and {"a", "bc"} differ.
class ContentDigest
{
public:
    void add(std::string_view text);
    void add(bool flag) { add(std::string_view(flag ? "1" : "0")); }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ull; // FNV-1a offset basis
};

class ResultsDocument
{
public:
    // The results file last opened or saved; empty when there is none.
    const std::string& path() const { return path_; }
    // Its name without the folder, or empty.
    std::string fileName() const;

    // The window's contents were read from or written to `path`: they are
    // what a later close compares against.
    void opened(const std::string& path, std::uint64_t digest);
    void saved(const std::string& path, std::uint64_t digest) { opened(path, digest); }
    // Nothing is open any more (Close) and nothing held now can be lost.
    void closed(std::uint64_t digest);
    // The contents were changed in a way that keeps no file's name (a
    // template replaced the criteria, say); only the digest moves on.
    void setBaseline(std::uint64_t digest) { baseline_ = digest; }

    // Whether contents with `digest` differ from the last open or save.
    bool modified(std::uint64_t digest) const { return digest != baseline_; }

    // The main window's title at rest: "Orvalen" without a file, else the
    // file's name (with "*" while it has unsaved changes) and the program.
    std::string title(bool modified) const;

private:
    std::string path_;
    std::uint64_t baseline_ = ContentDigest().value();
};

// The files opened or saved lately, the newest first, each once.
class RecentFiles
{
public:
    static constexpr std::size_t kMaxFiles = 8;

    // Puts `path` first; an empty path is ignored.
    void add(const std::string& path);
    void remove(const std::string& path);
    // Replaces the list (from stored settings): empty entries and repeats
    // dropped, at most kMaxFiles kept.
    void assign(const std::vector<std::string>& paths);
    const std::vector<std::string>& files() const { return files_; }

private:
    std::vector<std::string> files_;
};

// The text of a recent-files menu entry: "&1 name.rst  (folder)". An "&" in
// the path is doubled so that it is shown, not taken as an access key.
std::string recentFileCaption(std::size_t index, const std::string& path);

} // namespace orv
