#pragma once
// The engine walk of a search run: every ticked engine in search order, its
// first page, then as many further pages as its parser's paging state calls
// for, stopping as soon as the abort flag is set. The window supplies the
// steps (its check boxes, query procedures and parsers); tests supply fakes.
#include "search/RunState.h"

namespace orv
{

class SearchSteps
{
public:
    virtual ~SearchSteps() = default;
    virtual bool engineTicked(Engine e) = 0;
    // The engine's query procedure: fetches one result page into its data file.
    // Magellan and Netfind.Aol are told whether to use the first-page form.
    virtual void queryPage(Engine e, bool firstPage) = 0;
    // The engine's parser. An error it raises ends the walk there.
    virtual void parsePage(Engine e) = 0;
};

// Runs the engines of one search run over `run`, whose paging state the
// caller has reset. Page values and start offsets of further pages are set
// in `run` before each query.
void RunEngines(RunState& run, SearchSteps& steps);

// The engine data file name for a request: the client's document name, or
// when that is empty or names a folder ("." or ".."), "thunderstone" or
// "planetsearch" while those engines are searched and "tempfile" otherwise.
std::string DataFileNameFor(const std::string& documentName, const std::string& activityText);

// The engine data file name for a request of engine `e` to `url`, decided
// before the request: PlanetSearch's and Thunderstone's fixed names, for the
// others the document name the URL gives (as DataFileNameFor). Both the
// document handler and the parser use it, whatever the query holds.
std::string EngineDataFileName(Engine e, const std::string& url);

} // namespace orv
