#pragma once
// The progress a batch run writes to standard error: one line per engine
// page and per URL when standard error is a file or a pipe, or one live line
// redrawn in place when it is a terminal. Also the engine yield summary.
#include "search/EngineYield.h"

#include <string>
#include <vector>

namespace orv
{

// "search Infoseek page 2: 20 links, 57 URLs"
std::string enginePageLine(std::string_view engine, int page, int links, int masterCount);

// "retrieve 12/180 Verified http://..." ("skipped" for a ticked row), and
// for a row with a reason "retrieve 3/180 Error http://...: too many redirects".
std::string urlProgressLine(
    int index, int total, std::string_view statusText, std::string_view url, std::string_view reason = {});

// The live line: a bar of `done` of `total`, the counts and the current URL,
// cut to `width` columns. Bytes above 127 of the URL are shown as "?" so
// that the terminal's column count stays true.
std::string liveProgressLine(
    std::string_view phase, int done, int total, int approved, std::string_view url, int width);

// The engine yield as a table: a heading and one line per engine asked.
std::vector<std::string> yieldSummaryLines(const std::vector<EngineYieldRow>& rows);

} // namespace orv
