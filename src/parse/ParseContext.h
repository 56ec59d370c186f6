#pragma once
// What a result-page parser needs from the program around it. The main window
// implements it over its controls and run state; tests and the parsepage tool
// implement it over plain values.
#include "search/Engines.h"
#include "search/RunState.h"

#include <string>

namespace orv
{

class ParseContext
{
public:
    virtual ~ParseContext() = default;

    // The shared run flags, the current data file name and the paging state.
    virtual RunState& runState() = 0;

    // The text of the engine's maximum box, unconverted: the parser converts
    // it and lets a failed conversion end the search run.
    virtual std::string engineMaxText(Engine engine) = 0;

    // Shows the activity text (the main window's lblCurrentEngine).
    virtual void setActivity(const std::string& text) = 0;

    // Appends one line to the engine report.
    virtual void addReportLine(const std::string& line) = 0;

    // Offers one result URL to the master URL list.
    virtual void offerUrl(const std::string& url) = 0;
};

} // namespace orv
