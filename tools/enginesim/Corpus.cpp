#include "Corpus.h"

#include <algorithm>
#include <cstdio>

namespace enginesim
{

namespace
{

const std::vector<std::string> kFiller = {
    "the",
    "and",
    "with",
    "about",
    "more",
    "local",
    "guide",
    "notes",
    "useful",
    "for",
    "every",
    "season",
};

std::string capitalised(std::string word)
{
    if (!word.empty() && word[0] >= 'a' && word[0] <= 'z')
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

std::string fourDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

} // namespace

std::uint64_t mix64(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

const char* siteKindPath(SiteKind kind)
{
    switch (kind) {
    case SiteKind::Normal:
        return "site";
    case SiteKind::Slow:
        return "slow";
    case SiteKind::Reset:
        return "reset";
    case SiteKind::NotFound:
        return "404";
    case SiteKind::Redirect:
        return "redirect";
    case SiteKind::Empty:
        return "empty";
    case SiteKind::Secure:
        return "secure";
    }
    return "site";
}

const std::vector<std::string>& Corpus::topicWords()
{
    static const std::vector<std::string> words = {
        "solar",
        "wind",
        "turbine",
        "garden",
        "orchard",
        "apple",
        "river",
        "fox",
        "den",
        "tools",
        "bicycle",
        "harbour",
    };
    return words;
}

Corpus::Corpus(std::uint64_t seed, int resultsPerEngine, bool withFaults, bool withTls)
    : seed_(seed)
    , size_(std::max(50, resultsPerEngine * 3))
    , withFaults_(withFaults)
    , withTls_(withTls)
{
}

int Corpus::siteFor(int engine, int index) const
{
    const std::uint64_t stream = mix64(seed_ * 1000003ULL + static_cast<std::uint64_t>(engine));
    const std::uint64_t key = mix64(stream ^ mix64(static_cast<std::uint64_t>(index) + 0x5bd1e995ULL));
    return static_cast<int>(key % static_cast<std::uint64_t>(size_));
}

SiteKind Corpus::kindOf(int site) const
{
    // One site in five has moved to https: not a fault, so it stays without them.
    if (withTls_ && site % 25 >= 6 && site % 25 <= 10)
        return SiteKind::Secure;
    if (!withFaults_)
        return SiteKind::Normal;
    switch (site % 25) {
    case 1:
        return SiteKind::Slow;
    case 2:
        return SiteKind::Reset;
    case 3:
        return SiteKind::NotFound;
    case 4:
        return SiteKind::Redirect;
    case 5:
        return SiteKind::Empty;
    default:
        return SiteKind::Normal;
    }
}

std::string Corpus::sitePath(int site) const
{
    const SiteKind kind = kindOf(site);
    if (kind == SiteKind::Normal)
        return "/site/" + fourDigits(site) + ".html";
    if (kind == SiteKind::Secure)
        return "/secure/" + fourDigits(site) + ".html";
    return std::string("/fault/") + siteKindPath(kind) + "/" + fourDigits(site) + ".html";
}

std::vector<int> Corpus::topicsOf(int site) const
{
    const auto& words = topicWords();
    std::uint64_t r = mix64(seed_ * 31 + static_cast<std::uint64_t>(site));
    const int count = 1 + static_cast<int>(r % 3);
    std::vector<int> topics;
    while (static_cast<int>(topics.size()) < count) {
        r = mix64(r);
        const int t = static_cast<int>(r % words.size());
        if (std::find(topics.begin(), topics.end(), t) == topics.end())
            topics.push_back(t);
    }
    return topics;
}

std::string Corpus::title(int site) const
{
    std::string text;
    for (int t : topicsOf(site)) {
        if (!text.empty())
            text += " and ";
        text += capitalised(topicWords()[static_cast<size_t>(t)]);
    }
    return text + " " + fourDigits(site);
}

std::string Corpus::page(int site) const
{
    const auto topics = topicsOf(site);
    const std::uint64_t r = mix64(seed_ * 131 + static_cast<std::uint64_t>(site));
    std::string html = "<html>\r\n<head>\r\n";
    // Some sites split the title over two lines or carry no description, as
    // real pages do; the page scan has to cope with both.
    if (r % 7 == 3)
        html += "<title>" + title(site) + "\r\n</title>\r\n";
    else
        html += "<title>" + title(site) + "</title>\r\n";
    if (r % 3 != 0) {
        std::string about;
        for (int t : topics)
            about += topicWords()[static_cast<size_t>(t)] + " ";
        html += "<meta name=\"description\" content=\"Notes on " + about + "from site " + fourDigits(site) + "\">\r\n";
    }
    html += "</head>\r\n<body>\r\n<h1>" + title(site) + "</h1>\r\n";
    std::uint64_t w = r;
    for (int para = 0; para < 4; ++para) {
        html += "<p>";
        for (int i = 0; i < 24; ++i) {
            w = mix64(w);
            const bool topic = w % 5 == 0;
            const std::string& word = topic ? topicWords()[static_cast<size_t>(topics[(w >> 8) % topics.size()])]
                                            : kFiller[(w >> 8) % kFiller.size()];
            html += (i ? " " : "") + word;
        }
        html += ".</p>\r\n";
    }
    html += "</body>\r\n</html>\r\n";
    return html;
}

} // namespace enginesim
