#pragma once
// The two reports of the accepted criteria and the approved URL list. Words
// and URLs are written unchanged: the reports are for reading, not for
// feeding back, and no escaping is applied.
#include "core/Lines.h"
#include "files/ResultsFile.h"

namespace orv
{

// The HTML report (*.htm), one string per line.
Lines htmlReport(const CriteriaSections& criteria, const Lines& approved);

// The text report (*.txt), one string per line.
Lines textReport(const CriteriaSections& criteria, const Lines& approved);

} // namespace orv
