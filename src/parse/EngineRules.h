#pragma once
// What sets one engine's parser apart from the others: its captions, how its
// count reading goes into the paging state, its result block and link cuts,
// and what becomes of an empty data file. The procedure that uses these rules
// is the same for every engine (ParsePage.h).
#include "core/Lines.h"
#include "parse/CountReading.h"
#include "parse/ResultBlock.h"
#include "search/Engines.h"

namespace orv
{

// How the count of the first page goes into the paging state.
enum class PagingRule {
    PagesOfCount, // result count capped at the maximum; page value = count div `divisor`
    CountOnly, // result count capped at the maximum; the driver pages by start offset
    PageTotal, // page value = the page total read, lowered to maximum div 20 (Snap)
    None, // no paging state; the count is read on every call (PlanetSearch)
};

struct EngineRules {
    Engine engine;
    const char* timedOutCaption;
    const char* parsingCaption;
    bool deletesEmptyFile;

    CountReading (*readCount)(const Lines& lines);
    PagingRule paging;
    int divisor;
    // The report line follows the capping, so a maximum that does not
    // convert leaves no line (Infoseek); otherwise it comes first.
    bool reportAfterCap;
    // No links while the result count is 0, on any page (Excite).
    bool noLinksWhileCountZero;

    BlockRule block;
    LinkRule link;
};

const EngineRules& rulesOf(Engine engine);

// The legal-notice page of AltaVista's owner; lines naming it give no link.
inline constexpr const char* kAltaVistaLegalNotice = "www.avowner.com/legal/notice.html";

} // namespace orv
