// The one-pass page scan against the scan it replaces, kept here as the
// reference: every line lowered into a copy, every criterion searched in it
// on its own. Over a corpus of pages in many shapes, fed in pieces of every
// size, both must give the same verdicts and descriptions.
#include "verify/CaptureTags.h"
#include "verify/PageJudge.h"
#include "verify/PageScan.h"

#include "Corpus.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

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

bool passes(size_t found, size_t entries, MatchMode mode)
{
    return mode == MatchMode::All ? found > 0 && found == entries : found > 0;
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
    v.primaryPass = passes(countFound(lists.primary, lowered, true), lists.primary.size(), modes.primary);
    v.secondaryPass = v.primaryPass
        && (lists.secondary.empty()
            || passes(countFound(lists.secondary, lowered, false), lists.secondary.size(), modes.secondary));
    return v;
}

// The page in another shape: other line breaks, one line, a NUL, a tag in
// capitals or cut, quotes.
std::string reshaped(std::string page, int shape, std::mt19937& random)
{
    const auto replaceAll = [&page](const std::string& from, const std::string& to) {
        for (size_t at = 0; (at = page.find(from, at)) != std::string::npos; at += to.size())
            page.replace(at, from.size(), to);
    };
    switch (shape) {
    case 1: // bare LF
        replaceAll("\r\n", "\n");
        break;
    case 2: // bare CR, and one CR LF left at a random place
        replaceAll("\r\n", "\r");
        page.insert(random() % page.size(), "\r\n");
        break;
    case 3: // the whole page on one line
        replaceAll("\r\n", " ");
        break;
    case 4: // a NUL somewhere ends the text
        page.insert(random() % page.size(), 1, '\0');
        break;
    case 5: // tags in capitals, the description without its closing quote
        replaceAll("<title>", "<TITLE>");
        replaceAll("</title>", "</TiTlE>");
        replaceAll("\">\r\n</head>", ">\r\n</head>");
        break;
    case 6: // quotes around words, the title and description on one line
        replaceAll(" wind ", " \"wind\" ");
        replaceAll("</title>\r\n<meta", "</title><meta");
        break;
    case 7: // a second title and description that must not count
        page.insert(0, "\n\n");
        page += "<title>Second</title><meta name=\"description\" content=\"second\">\r\n";
        break;
    default:
        break;
    }
    return page;
}

// Criteria from the topic words: some quoted, some in capitals, some phrases
// of two words, sometimes an empty Primary line or a phrase over two lines.
WordLists randomLists(std::mt19937& random)
{
    const auto& words = enginesim::Corpus::topicWords();
    const auto word = [&] { return words[random() % words.size()]; };
    const auto entry = [&]() -> std::string {
        switch (random() % 8) {
        case 0:
            return "\"" + word() + "\"";
        case 1:
            return UpperCase(word());
        case 2:
            return word() + " " + word();
        case 3:
            return "</p>\r\n<p>"; // never found: holds a line break
        case 4:
            return "<title>" + word().substr(0, 2);
        default:
            return word();
        }
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

std::string describe(const ScanVerdict& v)
{
    std::ostringstream os;
    os << "excluded " << v.excluded << " primary " << v.primaryPass << " secondary " << v.secondaryPass << " scanned "
       << v.primaryScanned << " description " << (v.description ? "'" + *v.description + "'" : "none");
    return os.str();
}

bool sameVerdict(const ScanVerdict& a, const ScanVerdict& b)
{
    return a.excluded == b.excluded && a.primaryPass == b.primaryPass && a.secondaryPass == b.secondaryPass
        && a.primaryScanned == b.primaryScanned && a.description == b.description;
}

TEST(PageScanCorpus, OnePassGivesTheVerdictsOfTheLineScan)
{
    const enginesim::Corpus corpus(21, 40, false);
    std::mt19937 random(21);
    const ScanModes modes[] = { { MatchMode::Any, MatchMode::Any }, { MatchMode::All, MatchMode::Any },
        { MatchMode::Any, MatchMode::All }, { MatchMode::All, MatchMode::All } };
    int approved = 0, excluded = 0, described = 0, compared = 0;
    for (int site = 1; site <= 120; ++site) {
        const std::string page = reshaped(corpus.page(site), site % 8, random);
        for (int round = 0; round < 6; ++round) {
            const WordLists lists = randomLists(random);
            const ScanModes m = modes[random() % std::size(modes)];
            const ScanVerdict expected = referenceScan(page, lists, m);
            // Whole, in small pieces, and in pieces of random size; through
            // the judge of the retrieval too.
            for (size_t piece : { page.size() + 1, size_t(1 + random() % 3), size_t(1 + random() % 200) }) {
                PageScanner scanner(lists);
                const std::unique_ptr<PageJudge> judge = MakePageJudge(lists, MatchOn::PageSource, "text/html");
                for (size_t at = 0; at < page.size(); at += piece) {
                    scanner.add(std::string_view(page).substr(at, piece));
                    judge->add(std::string_view(page).substr(at, piece));
                }
                const ScanVerdict got = scanner.verdict(m);
                ASSERT_TRUE(sameVerdict(got, expected))
                    << "site " << site << " pieces of " << piece << "\n got " << describe(got) << "\n expected "
                    << describe(expected) << "\n primary " << JoinLines(lists.primary) << " secondary "
                    << JoinLines(lists.secondary) << " exclusion " << JoinLines(lists.exclusion);
                ASSERT_TRUE(sameVerdict(judge->verdict(m), expected)) << "site " << site;
                ++compared;
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
    EXPECT_EQ(compared, 120 * 6 * 3);
}

} // namespace
} // namespace orv
