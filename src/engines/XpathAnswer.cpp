// Reading an HTML (or XML) answer with a definition's selectors, the way
// SearXNG's xpath engine reads it.
#include "engines/AnswerReaders.h"
#include "engines/ClaimedCount.h"
#include "engines/NextPage.h"
#include "engines/ResultLinks.h"
#include "engines/XpathPage.h"

namespace orv
{
namespace
{

void addLink(const AnswerContext& in, EngineAnswer& answer, const std::optional<std::string>& url,
    const std::optional<std::string>& title, std::string content)
{
    if (!url || !title)
        return;
    std::optional<std::string> finished = FinishResultLink(*url, in.answerUrl, in.def.unwrap);
    if (!finished)
        return;
    answer.links.push_back({ std::move(*finished), *title, std::move(content) });
}

// Each result is a node of results_xpath; url, title and content are asked
// of it.
void readResults(const AnswerContext& in, XpathPage& page, EngineAnswer& answer)
{
    const EngineDefinition& def = in.def;
    const std::vector<xmlNode*> results = page.nodes(def.resultsXpath);
    if (!page.failure().empty()) {
        answer.problem = "`results_xpath` failed: " + page.failure();
        return;
    }
    for (xmlNode* result : results) {
        std::string content;
        if (!def.contentXpath.empty())
            content = page.text(def.contentXpath, result).value_or(std::string());
        addLink(in, answer, page.text(def.urlXpath, result), page.text(def.titleXpath, result), std::move(content));
    }
}

// Without results_xpath, the n-th url goes with the n-th title and content.
void readParallel(const AnswerContext& in, XpathPage& page, EngineAnswer& answer)
{
    const EngineDefinition& def = in.def;
    const std::vector<xmlNode*> urls = page.nodes(def.urlXpath);
    const std::vector<xmlNode*> titles = page.nodes(def.titleXpath);
    const std::vector<xmlNode*> contents
        = def.contentXpath.empty() ? std::vector<xmlNode*>() : page.nodes(def.contentXpath);
    const size_t n = std::min(urls.size(), titles.size());
    for (size_t i = 0; i < n; ++i) {
        std::string content = i < contents.size() ? NormalizedSpace(XpathPage::nodeText(contents[i])) : std::string();
        addLink(in, answer, XpathPage::nodeText(urls[i]), NormalizedSpace(XpathPage::nodeText(titles[i])),
            std::move(content));
    }
}

} // namespace

void ReadXpathAnswer(const AnswerContext& in, EngineAnswer& answer, bool& pagesOn)
{
    const EngineDefinition& def = in.def;
    XpathPage page(in.body, def.xmlAnswer, def.namespaces);
    if (!page.parsed()) {
        answer.problem = page.failure();
        return;
    }
    if (!def.blockedXpath.empty() && page.truth(def.blockedXpath)) {
        answer.blocked = true;
        answer.reason = "challenge page";
        return;
    }
    if (def.resultsXpath.empty())
        readParallel(in, page, answer);
    else
        readResults(in, page, answer);

    if (!def.countXpath.empty())
        if (const std::optional<std::string> text = page.text(def.countXpath))
            answer.claimed = ClaimedCount(*text, def.countPattern);

    if (!def.nextPageXpath.empty()) {
        const std::vector<xmlNode*> next = page.nodes(def.nextPageXpath);
        if (!next.empty())
            answer.next = NextPageRequest(next.front(), def, in.answerUrl);
        pagesOn = answer.next.has_value();
    }
}

} // namespace orv
