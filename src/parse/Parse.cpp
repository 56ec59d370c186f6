#include "parse/Parse.h"

#include "core/Errors.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "parse/EngineRules.h"

#include <algorithm>

namespace orv
{

namespace
{

// Deletes the data file when parsing ends, also when the maximum box fails
// to convert and the error leaves the parser.
class DeleteWhenDone
{
public:
    explicit DeleteWhenDone(std::string path)
        : path_(std::move(path))
    {
    }
    ~DeleteWhenDone() { DeleteFile(path_); }
    DeleteWhenDone(const DeleteWhenDone&) = delete;
    DeleteWhenDone& operator=(const DeleteWhenDone&) = delete;

private:
    std::string path_;
};

// Puts the first page's count into the paging state. The maximum box is read
// only here, so a later page never converts it.
void applyCount(const EngineRules& rules, int value, ParseContext& context, PagingState& paging)
{
    if (rules.paging == PagingRule::None)
        return;
    const int maximum = StrToInt(context.engineMaxText(rules.engine));
    switch (rules.paging) {
    case PagingRule::PagesOfCount:
        paging.resultCount = std::min(value, maximum);
        paging.page = paging.resultCount / rules.divisor;
        break;
    case PagingRule::CountOnly:
        paging.resultCount = std::min(value, maximum);
        break;
    case PagingRule::PageTotal:
        paging.page = std::min(value, maximum / 20);
        break;
    case PagingRule::None:
        break;
    }
    paging.countKnown = true;
}

} // namespace

void ParsePageLines(Engine engine, const Lines& lines, ParseContext& context)
{
    const EngineRules& rules = rulesOf(engine);
    PagingState& paging = context.runState().pagingOf(engine);
    const bool firstPage = !paging.countKnown;
    bool linksWanted = true;
    // PlanetSearch keeps no paging state and reads its count on every call.
    if (firstPage || rules.paging == PagingRule::None) {
        const CountReading reading = rules.readCount(lines);
        if (reading.reportLine && !rules.reportAfterCap)
            context.addReportLine(*reading.reportLine);
        if (reading.setsPaging)
            applyCount(rules, reading.value, context, paging);
        if (reading.reportLine && rules.reportAfterCap)
            context.addReportLine(*reading.reportLine);
        linksWanted = !reading.skipLinks;
    }
    if (rules.noLinksWhileCountZero && paging.resultCount == 0)
        linksWanted = false;
    if (!linksWanted)
        return;

    const BlockRange block = findBlock(lines, rules.block, firstPage);
    takeLinks(lines, block, rules.link, [&context](const std::string& url) { context.offerUrl(url); });
}

void ParseEnginePage(Engine engine, ParseContext& context)
{
    const EngineRules& rules = rulesOf(engine);
    RunState& run = context.runState();
    if (run.abortFlag)
        return;
    if (run.timeoutFlag) {
        // The page is skipped and its file left for the next download.
        run.timeoutFlag = false;
        context.setActivity(rules.timedOutCaption);
        return;
    }
    context.setActivity(rules.parsingCaption);

    const std::string path = run.currentDataFile;
    Lines lines;
    try {
        lines = LoadLines(path);
    } catch (const EInOutError&) {
        return; // a page that never arrived: nothing to report or delete
    }
    if (lines.empty()) {
        if (rules.deletesEmptyFile)
            DeleteFile(path);
        return;
    }
    const DeleteWhenDone deleteFile(path);

    ParsePageLines(engine, lines, context);
}

void ParseAltaVista(ParseContext& context)
{
    ParseEnginePage(Engine::AltaVista, context);
}
void ParseInfoseek(ParseContext& context)
{
    ParseEnginePage(Engine::Infoseek, context);
}
void ParseExcite(ParseContext& context)
{
    ParseEnginePage(Engine::Excite, context);
}
void ParseYahoo(ParseContext& context)
{
    ParseEnginePage(Engine::Yahoo, context);
}
void ParseNetfindAol(ParseContext& context)
{
    ParseEnginePage(Engine::NetfindAol, context);
}
void ParseWebcrawler(ParseContext& context)
{
    ParseEnginePage(Engine::Webcrawler, context);
}
void ParseSnap(ParseContext& context)
{
    ParseEnginePage(Engine::Snap, context);
}
void ParseMagellan(ParseContext& context)
{
    ParseEnginePage(Engine::Magellan, context);
}
void ParsePlanetSearch(ParseContext& context)
{
    ParseEnginePage(Engine::PlanetSearch, context);
}
void ParseThunderstone(ParseContext& context)
{
    ParseEnginePage(Engine::Thunderstone, context);
}

} // namespace orv
