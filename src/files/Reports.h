#pragma once
// The two reports of the accepted criteria and the approved URL list. The
// text report writes words and URLs unchanged; the HTML report writes them
// with "&", "<", ">" and '"' as entities, since they come from web pages and
// shared templates and must never become markup in the reader's browser, and
// every other character beyond ASCII as a numeric character reference.
#include "core/Lines.h"
#include "files/ResultsFile.h"

namespace orv
{

// The HTML report (*.htm), one string per line.
Lines htmlReport(const CriteriaSections& criteria, const Lines& approved);

// The text report (*.txt), one string per line.
Lines textReport(const CriteriaSections& criteria, const Lines& approved);

} // namespace orv
