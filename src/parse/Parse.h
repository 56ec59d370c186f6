#pragma once
// The result-page parsers. Each reads the engine data file named in the run
// state, sets the engine's paging state from the first page of a run, writes
// one engine report line, offers every result link to the master URL list and
// deletes the file. A maximum box that does not hold a whole number throws
// EConvertError out of the parser (after the data file is deleted), which ends
// the search run.
#include "core/Lines.h"
#include "parse/ParseContext.h"
#include "search/Engines.h"

namespace orv
{

// The common procedure, run with the rules of `engine`.
void ParseEnginePage(Engine engine, ParseContext& context);

// The part of the procedure that works on the loaded page alone: the count
// of a first page (its report line and paging state), then the links. The
// run flags, the activity text and the data file are left to the caller.
void ParsePageLines(Engine engine, const Lines& lines, ParseContext& context);

void ParseAltaVista(ParseContext& context);
void ParseInfoseek(ParseContext& context);
void ParseExcite(ParseContext& context);
void ParseYahoo(ParseContext& context);
void ParseNetfindAol(ParseContext& context);
void ParseWebcrawler(ParseContext& context);
void ParseSnap(ParseContext& context);
void ParseMagellan(ParseContext& context);
void ParsePlanetSearch(ParseContext& context);
void ParseThunderstone(ParseContext& context);

} // namespace orv
