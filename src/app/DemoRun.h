#pragma once
// The unattended demonstration: drives the real main window through a
// search, a retrieval, an HTML and a text export and a saved results file,
// leaving the files and a picture of the window in a folder. Used by
// ./run.sh on a machine without a display (under Xvfb).
#include <string>

class TForm1;

namespace orv
{

struct DemoOptions {
    std::string outputFolder; // ends in "/"
    std::string primary = "solar"; // criteria typed into the three memos
    std::string secondary = "wind";
    std::string exclusion = "fox";
};

// Runs the whole demonstration on `form`, which must be shown. Returns the
// process exit code: 0 when every step ran and every file was written.
int runDemo(TForm1& form, const DemoOptions& options);

} // namespace orv
