#pragma once
// The program's command line. Without options it opens the window; --batch
// runs the window's commands without a display; --help and --version print
// and end. Parsing is pure, so every rule can be tested without starting
// anything.
#include "verify/PageJudge.h"

#include <optional>
#include <string>
#include <vector>

namespace orv
{

enum class LaunchMode {
    Window, // open the window (options Qt knows are left to Qt)
    Batch, // run the steps below without a window
    Help, // print the usage text to standard output
    Version, // print the version line to standard output
    Demo, // the unattended demonstration of the window (--demo FOLDER)
    BadUsage, // print `error` and the usage text to standard error, exit 2
};

// The steps and outputs of a batch run. Output paths of "-" mean standard
// output; an empty path means the output is not wanted.
struct BatchOptions {
    std::string criteriaFile; // --criteria: a template, opened and accepted
    std::string resultsFile; // --open: a results file
    std::string urlsFile; // --urls: one URL per line, offered as found
    bool search = false;
    bool retrieve = false;
    // --parallel: requests in flight during this run's retrieval; without
    // it the program folder's "Parallel fetches" setting holds.
    std::optional<int> parallel;
    // --http 1.0|1.1: "HTTP/1.1 connections" for this run's retrieval.
    std::optional<bool> http11;
    // --engines: the engines this run asks, by name in any case; without it
    // the program folder's choices hold.
    std::vector<std::string> engines;
    // --max: every asked engine's maximum for this run.
    std::optional<int> maximum;
    // --list-engines: print every engine of the catalogue and end.
    bool listEngines = false;
    // Criteria given on the command line, one criterion line per option;
    // All Words with --all-primary / --all-secondary, Any otherwise.
    std::vector<std::string> primary, secondary, exclude;
    bool allPrimary = false;
    bool allSecondary = false;
    // --match text|source: what the criteria are matched on during this
    // run; without it the program folder's setting holds.
    std::optional<MatchOn> matchOn;
    std::string save; // results file
    std::string html; // HTML report
    std::string text; // text report
    std::string csv;
    std::string json;

    bool criteriaGiven() const { return !primary.empty() || !secondary.empty() || !exclude.empty(); }
    bool anyOutput() const { return !save.empty() || !html.empty() || !text.empty() || !csv.empty() || !json.empty(); }
};

struct CommandLine {
    LaunchMode mode = LaunchMode::Window;
    std::string programFolder; // --program-folder; empty: found as usual
    std::string demoFolder; // --demo
    BatchOptions batch;
    std::string error; // what was wrong, for BadUsage
    // Arguments left for the window framework (window and demo modes).
    std::vector<std::string> windowArguments;
};

// `args` are the arguments after the program name. Options take their
// value as the next argument or after "=" ("--save=out.rst").
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The usage text --help prints, ending in a line feed.
std::string usageText();

// "orvalen <version>" and a line feed.
std::string versionText();

} // namespace orv
