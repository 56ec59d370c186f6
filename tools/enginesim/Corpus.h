#pragma once
// The simulator's repeatable world: which site each engine result points to,
// and what every site page says. Everything follows from the seed alone, with
// a hand-written generator so that the same seed gives the same pages on
// every machine and library version.
#include <cstdint>
#include <string>
#include <vector>

namespace enginesim
{

// How a site answers when it is fetched.
enum class SiteKind {
    Normal,
    Slow, // answers after the slow delay
    Reset, // resets the connection without answering
    NotFound, // 404
    Redirect, // 302 to the site's normal page
    Empty, // 200 with an empty body
    Secure, // 302 to the same site page over https (only while TLS is served)
};

const char* siteKindPath(SiteKind kind); // "site", "slow", "reset", "404", "redirect", "empty", "secure"

class Corpus
{
public:
    // `withTls`: some links lead to sites that have moved to https, as most
    // of the web has; without it no link does.
    Corpus(std::uint64_t seed, int resultsPerEngine, bool withFaults, bool withTls = false);

    // The site behind result `index` (0-based) of engine `engine` (0..9).
    int siteFor(int engine, int index) const;
    SiteKind kindOf(int site) const;

    // The path a result link points to: "/site/0042.html", "/fault/slow/0043.html",
    // "/secure/0046.html", ...
    std::string sitePath(int site) const;

    // Title shown in the engines' result lists (topic words only, so that no
    // engine marker can appear in it).
    std::string title(int site) const;
    // The whole HTML page of a site.
    std::string page(int site) const;

    int size() const { return size_; }

    // The words site pages are made of; criteria built from the topic words
    // pass on some pages and fail on others.
    static const std::vector<std::string>& topicWords();

private:
    std::vector<int> topicsOf(int site) const;

    std::uint64_t seed_;
    int size_;
    bool withFaults_;
    bool withTls_;
};

// One step of the splitmix64 generator: a well-mixed 64-bit value of `x`.
std::uint64_t mix64(std::uint64_t x);

} // namespace enginesim
