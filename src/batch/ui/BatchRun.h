#pragma once
// A batch run: the window's own commands (Open with Accept, Search,
// Retrieve, Save, the exports) driven on a main window that is never shown,
// with the questions answered so that data is kept, the progress and the
// engine yield written to standard error, and Ctrl-C taken as Abort.
#include "batch/CommandLine.h"

#include <string>

namespace orv
{

// Runs `options` on a main window over `programFolder` (ends in "/").
// Needs a QApplication. Returns the exit status: 0 every step ran, 1 a step
// failed or the run was interrupted.
int runBatch(const BatchOptions& options, const std::string& programFolder);

} // namespace orv
