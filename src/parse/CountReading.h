#pragma once
// Reading the number of results an engine claims on the first result page of
// a run, and the line the engine report shows about it. Each engine words and
// places its count differently, so each has its own reader; what the numbers
// then do to the paging state is common (EngineRules, ParsePage).
#include "core/Lines.h"

#include <optional>
#include <string>

namespace orv
{

struct CountReading {
    // The engine report line; none when the engine writes no line.
    std::optional<std::string> reportLine;
    // Whether the reading goes into the paging state.
    bool setsPaging = false;
    // The converted count (Snap: the page total); 0 when it does not convert.
    int value = 0;
    // The page gives no links (a count text of "0" where that rule holds).
    bool skipLinks = false;
};

// Cuts are made with the 1-based text rules: a marker that is missing stands
// at position 0, and a cut whose closing text is missing is empty.
CountReading readAltaVistaCount(const Lines& lines);
CountReading readInfoseekCount(const Lines& lines);
CountReading readExciteCount(const Lines& lines);
CountReading readYahooCount(const Lines& lines);
CountReading readWebcrawlerCount(const Lines& lines);
CountReading readThunderstoneCount(const Lines& lines);
CountReading readSnapCount(const Lines& lines);
CountReading readMagellanCount(const Lines& lines);
CountReading readNetfindAolCount(const Lines& lines);
CountReading readPlanetSearchCount(const Lines& lines);

} // namespace orv
