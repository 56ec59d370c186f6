// The one-pass page scan against the line scan it replaces (every line lowered
// into a copy, each criterion searched on its own), over pages in many shapes.
#include "verify/CaptureTags.h"
#include "verify/PageJudge.h"
#include "verify/PageScan.h"

#include "Corpus.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace orv
{
namespace
{

using namespace std::string_literals;

bool foundInLines(std::string criterion, const Lines& lowered)
{
    criterion = LowerCase(criterion);
    if (criterion.empty())
        return false;
    for (const auto& line : lowered)
        if (line.find(criterion) != std::string::npos)
            return true;
    return false;
}

size_t countFound(const Lines& entries, const Lines& lowered, bool dropQuotes)
{
    size_t n = 0;
    for (std::string entry : entries) {
        if (dropQuotes)
            entry.erase(std::remove(entry.begin(), entry.end(), '"'), entry.end());
        n += foundInLines(entry, lowered);
    }
    return n;
}

ScanVerdict referenceScan(std::string_view bytes, const WordLists& lists, ScanModes modes)
{
    const Lines lines = SplitLines(bytes);
    Lines lowered;
    for (const auto& line : lines)
        lowered.push_back(LowerCase(line));
    ScanVerdict v;
    for (const auto& entry : lists.exclusion)
        v.excluded = v.excluded || foundInLines(entry, lowered);
    if (v.excluded)
        return v;
    v.primaryScanned = true;
    std::optional<std::string> title, meta;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!title)
            title = TitleOfLine(lines[i], lowered[i]);
        if (!meta)
            meta = MetaDescriptionOfLine(lines[i], lowered[i]);
    }
    v.description = meta ? meta : title;
    const auto passes = [](size_t found, size_t entries, MatchMode mode) {
        return mode == MatchMode::All ? found > 0 && found == entries : found > 0;
    };
    v.primaryPass = passes(countFound(lists.primary, lowered, true), lists.primary.size(), modes.primary);
    v.secondaryPass = v.primaryPass
        && (lists.secondary.empty()
            || passes(countFound(lists.secondary, lowered, false), lists.secondary.size(), modes.secondary));
    return v;
}

// The page in other shapes: bare LF, bare CR with one CR LF, one line, a NUL
// somewhere, tags in capitals and a description without its closing quote,
// quotes, the title and description on one line and a second pair later.
std::string reshaped(std::string page, int shape, std::mt19937& random)
{
    const std::vector<std::vector<std::pair<std::string, std::string>>> replacements
        = { {}, { { "\r\n", "\n" } }, { { "\r\n", "\r" } }, { { "\r\n", " " } }, {},
              { { "<title>", "<TITLE>" }, { "</title>", "</TiTlE>" }, { "\">\r\n</head>", ">\r\n</head>" } },
              { { " wind ", " \"wind\" " }, { "</title>\r\n<meta", "</title><meta" },
                  { "</html>", "<title>Second</title><meta name=\"description\" content=\"second\">" } } };
    for (const auto& [from, to] : replacements[static_cast<size_t>(shape) % replacements.size()])
        for (size_t at = 0; (at = page.find(from, at)) != std::string::npos; at += to.size())
            page.replace(at, from.size(), to);
    if (shape == 2 || shape == 4)
        page.insert(random() % page.size(), shape == 2 ? "\r\n"s : "\0"s);
    return page;
}

// Criteria from the topic words: some quoted, some in capitals, some phrases
// of two words, sometimes an empty Primary line or a phrase over two lines.
WordLists randomLists(std::mt19937& random)
{
    const auto& words = enginesim::Corpus::topicWords();
    const auto word = [&] { return words[random() % words.size()]; };
    const auto entry = [&]() -> std::string {
        const std::string w = word(),
                          shapes[]
            = { "\"" + w + "\"", UpperCase(w), w + " " + word(), "</p>\r\n<p>" /* never found: holds a line break */,
                  "<title>" + w.substr(0, 2), w, w, w };
        return shapes[random() % std::size(shapes)];
    };
    WordLists lists;
    for (int i = 0, n = 1 + static_cast<int>(random() % 3); i < n; ++i)
        lists.primary.push_back(random() % 10 == 0 ? std::string() : entry());
    for (int i = 0, n = static_cast<int>(random() % 3); i < n; ++i)
        lists.secondary.push_back(entry());
    if (random() % 3 == 0)
        lists.exclusion.push_back(entry());
    return lists;
}

auto fieldsOf(const ScanVerdict& v)
{
    return std::tuple(v.excluded, v.primaryPass, v.secondaryPass, v.primaryScanned, v.description);
}

TEST(PageScanCorpus, OnePassGivesTheVerdictsOfTheLineScan)
{
    const enginesim::Corpus corpus(21, 40, false);
    std::mt19937 random(21);
    const ScanModes modes[] = { { MatchMode::Any, MatchMode::Any }, { MatchMode::All, MatchMode::Any },
        { MatchMode::Any, MatchMode::All }, { MatchMode::All, MatchMode::All } };
    int approved = 0, excluded = 0, described = 0;
    for (int site = 1; site <= 120; ++site) {
        const std::string page = reshaped(corpus.page(site), site % 7, random);
        for (int round = 0; round < 6; ++round) {
            const WordLists lists = randomLists(random);
            const ScanModes m = modes[random() % std::size(modes)];
            const ScanVerdict expected = referenceScan(page, lists, m);
            // Whole, in small pieces and in pieces of random size, through
            // the judge of the retrieval.
            for (size_t piece : { page.size() + 1, size_t(1 + random() % 3), size_t(1 + random() % 200) }) {
                const std::unique_ptr<PageJudge> judge = MakePageJudge(lists, MatchOn::PageSource, "text/html");
                for (size_t at = 0; at < page.size(); at += piece)
                    judge->add(std::string_view(page).substr(at, piece));
                ASSERT_EQ(fieldsOf(judge->verdict(m)), fieldsOf(expected))
                    << "site " << site << " pieces of " << piece << "\nprimary " << JoinLines(lists.primary)
                    << "secondary " << JoinLines(lists.secondary) << "exclusion " << JoinLines(lists.exclusion);
            }
            approved += expected.approved();
            excluded += expected.excluded;
            described += expected.description.has_value() && !expected.description->empty();
        }
    }
    // The corpus is varied enough to show something: every kind of verdict.
    EXPECT_GT(approved, 20);
    EXPECT_GT(excluded, 10);
    EXPECT_GT(described, 200);
}

} // namespace
} // namespace orv
