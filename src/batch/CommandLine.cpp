#include "batch/CommandLine.h"

#include "core/Text.h"
#include "files/OptionsFile.h"

#include <array>
#include <filesystem>
#include <optional>
#include <utility>

#ifndef ORVALEN_VERSION
#define ORVALEN_VERSION "0"
#endif

namespace orv
{

namespace
{

struct ValueOption {
    const char* name;
    std::string BatchOptions::*field;
};

constexpr std::array<ValueOption, 8> kBatchPaths = { {
    { "--criteria", &BatchOptions::criteriaFile },
    { "--open", &BatchOptions::resultsFile },
    { "--urls", &BatchOptions::urlsFile },
    { "--save", &BatchOptions::save },
    { "--html", &BatchOptions::html },
    { "--text", &BatchOptions::text },
    { "--csv", &BatchOptions::csv },
    { "--json", &BatchOptions::json },
} };

class ArgReader
{
public:
    explicit ArgReader(const std::vector<std::string>& args)
        : args_(args)
    {
    }

    bool done() const { return next_ >= args_.size(); }

    // The next argument; an "--name=value" argument is split, its value
    // kept for value().
    std::string take()
    {
        std::string arg = args_[next_++];
        inlineValue_.reset();
        if (StartsWith(arg, "--")) {
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue_ = arg.substr(eq + 1);
                arg.resize(eq);
            }
        }
        return arg;
    }

    bool hasInlineValue() const { return inlineValue_.has_value(); }

    // The value of the option just taken, or nullopt when none follows.
    std::optional<std::string> value()
    {
        if (inlineValue_)
            return std::exchange(inlineValue_, std::nullopt);
        if (done())
            return std::nullopt;
        return args_[next_++];
    }

private:
    const std::vector<std::string>& args_;
    size_t next_ = 0;
    std::optional<std::string> inlineValue_;
};

// Digits alone: no sign, blank or "$" hexadecimal as the window's number
// boxes read, so that "--parallel +4" or "--parallel ' 4'" is refused.
std::optional<int> decimalNumber(const std::string& text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

CommandLine badUsage(std::string error)
{
    CommandLine line;
    line.mode = LaunchMode::BadUsage;
    line.error = std::move(error);
    return line;
}

// "a,B , c" -> "a", "B", "c"; empty names are dropped.
std::vector<std::string> engineNames(const std::string& list)
{
    std::vector<std::string> names;
    size_t at = 0;
    while (at <= list.size()) {
        size_t comma = list.find(',', at);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string name = Trim(list.substr(at, comma - at));
        if (!name.empty())
            names.push_back(name);
        at = comma + 1;
    }
    return names;
}

// Two outputs written to one file would leave only the last.
std::string sharedOutputPath(const BatchOptions& b)
{
    const std::pair<const char*, const std::string*> outputs[] = { { "--save", &b.save }, { "--html", &b.html },
        { "--text", &b.text }, { "--csv", &b.csv }, { "--json", &b.json } };
    auto sameFile = [](const std::string& a, const std::string& b) {
        std::error_code ec;
        const auto full = [&ec](const std::string& p) { return std::filesystem::absolute(p, ec).lexically_normal(); };
        return full(a) == full(b);
    };
    for (size_t i = 0; i < std::size(outputs); ++i)
        for (size_t j = i + 1; j < std::size(outputs); ++j) {
            const std::string& a = *outputs[i].second;
            const std::string& c = *outputs[j].second;
            if (!a.empty() && !c.empty() && a != "-" && c != "-" && sameFile(a, c))
                return std::string(outputs[i].first) + " and " + outputs[j].first + " name the same file " + c;
        }
    return {};
}

// The checks that need the whole batch command line.
std::string batchProblem(const BatchOptions& b)
{
    if (!b.criteriaFile.empty() && !b.resultsFile.empty())
        return "--criteria and --open cannot be used together";
    if (b.criteriaGiven() && (!b.criteriaFile.empty() || !b.resultsFile.empty()))
        return "--primary, --secondary and --exclude cannot be used with --criteria or --open";
    if ((b.allPrimary || b.allSecondary) && !b.criteriaGiven())
        return "--all-primary and --all-secondary need criteria given with --primary, --secondary or --exclude";
    if (b.search && b.criteriaFile.empty() && b.resultsFile.empty() && b.primary.empty())
        return "--search needs criteria: give --criteria FILE.cri, --open FILE.rst or --primary TEXT";
    if (b.criteriaFile.empty() && b.resultsFile.empty() && b.urlsFile.empty() && !b.search && !b.retrieve
        && !b.anyOutput() && !b.listEngines && !b.criteriaGiven())
        return "--batch needs something to do: an input, a step or an output";
    int toStandardOutput = 0;
    for (const std::string* path : { &b.save, &b.html, &b.text, &b.csv, &b.json })
        toStandardOutput += *path == "-" ? 1 : 0;
    if (toStandardOutput > 1)
        return "only one output can go to standard output (-)";
    return sharedOutputPath(b);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    bool batch = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> batchOnly; // options that mean nothing without --batch
    ArgReader reader(args);
    while (!reader.done()) {
        const std::string arg = reader.take();
        auto valueOf = [&](std::string& into) -> bool {
            const auto value = reader.value();
            // "--save --csv out.csv" lacks its name; it must not become a
            // file called "--csv".
            if (!value || value->empty() || StartsWith(*value, "--"))
                return false;
            into = *value;
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--batch") {
            batch = true;
        } else if (arg == "--program-folder") {
            if (!valueOf(line.programFolder))
                return badUsage("--program-folder needs a folder");
        } else if (arg == "--demo") {
            if (!valueOf(line.demoFolder))
                return badUsage("--demo needs a folder");
        } else if (arg == "--search" || arg == "--retrieve") {
            if (reader.hasInlineValue())
                return badUsage(arg + " takes no value");
            (arg == "--search" ? line.batch.search : line.batch.retrieve) = true;
            batchOnly.push_back(arg);
        } else if (arg == "--engines") {
            std::string text;
            if (!valueOf(text) || (line.batch.engines = engineNames(text)).empty())
                return badUsage("--engines needs engine names, separated by commas");
            batchOnly.push_back(arg);
        } else if (arg == "--max") {
            std::string text;
            std::optional<int> n;
            if (!valueOf(text) || !(n = decimalNumber(text)) || *n < 1 || *n > 200)
                return badUsage("--max needs a whole number from 1 to 200");
            line.batch.maximum = n;
            batchOnly.push_back(arg);
        } else if (arg == "--primary" || arg == "--secondary" || arg == "--exclude") {
            std::string text;
            if (!valueOf(text))
                return badUsage(arg + " needs a text");
            (arg == "--primary"            ? line.batch.primary
                    : arg == "--secondary" ? line.batch.secondary
                                           : line.batch.exclude)
                .push_back(text);
            batchOnly.push_back(arg);
        } else if (arg == "--list-engines" || arg == "--all-primary" || arg == "--all-secondary") {
            if (reader.hasInlineValue())
                return badUsage(arg + " takes no value");
            (arg == "--list-engines"         ? line.batch.listEngines
                    : arg == "--all-primary" ? line.batch.allPrimary
                                             : line.batch.allSecondary)
                = true;
            batchOnly.push_back(arg);
        } else if (arg == "--parallel") {
            std::string text;
            std::optional<int> n;
            // The same range as the window's "Parallel fetches" box.
            if (!valueOf(text) || !(n = decimalNumber(text)) || *n < kParallelFetchesMin || *n > kParallelFetchesMax)
                return badUsage("--parallel needs a whole number from " + IntToStr(kParallelFetchesMin) + " to "
                    + IntToStr(kParallelFetchesMax));
            line.batch.parallel = n;
            batchOnly.push_back(arg);
        } else if (arg == "--http") {
            std::string text;
            if (!valueOf(text) || (text != "1.0" && text != "1.1"))
                return badUsage("--http needs 1.0 or 1.1");
            line.batch.http11 = text == "1.1";
        } else if (arg == "--match") {
            std::string text;
            if (!valueOf(text) || (text != "text" && text != "source"))
                return badUsage("--match needs \"text\" or \"source\"");
            line.batch.matchOn = text == "text" ? MatchOn::PageText : MatchOn::PageSource;
            batchOnly.push_back(arg);
        } else {
            bool known = false;
            for (const ValueOption& option : kBatchPaths) {
                if (arg != option.name)
                    continue;
                known = true;
                if (!valueOf(line.batch.*option.field))
                    return badUsage(arg + " needs a file name");
                batchOnly.push_back(arg);
            }
            if (!known) {
                if (StartsWith(arg, "--"))
                    return badUsage("unknown option " + arg);
                // Anything else is the window framework's (for instance
                // "-platform offscreen"); a batch run takes no such argument.
                if (batch)
                    return badUsage("unexpected argument " + arg);
                line.windowArguments.push_back(arg);
            }
        }
    }

    if (help) {
        line.mode = LaunchMode::Help;
        return line;
    }
    if (version) {
        line.mode = LaunchMode::Version;
        return line;
    }
    if (batch) {
        if (!line.windowArguments.empty())
            return badUsage("unexpected argument " + line.windowArguments.front());
        if (!line.demoFolder.empty())
            return badUsage("--demo cannot be used with --batch");
        const std::string problem = batchProblem(line.batch);
        if (!problem.empty())
            return badUsage(problem);
        line.mode = LaunchMode::Batch;
        return line;
    }
    if (!batchOnly.empty())
        return badUsage(batchOnly.front() + " needs --batch");
    line.mode = line.demoFolder.empty() ? LaunchMode::Window : LaunchMode::Demo;
    return line;
}

std::string usageText()
{
    static_assert(kParallelFetchesMin == 1 && kParallelFetchesMax == 32, "the usage text names the range");
    return "Usage: orvalen [--program-folder DIR]\n"
           "       orvalen --batch [--program-folder DIR] [--criteria FILE.cri | --open FILE.rst]\n"
           "                       [--primary TEXT]... [--secondary TEXT]... [--exclude TEXT]...\n"
           "                       [--all-primary] [--all-secondary]\n"
           "                       [--urls FILE] [--search] [--engines LIST] [--max N]\n"
           "                       [--retrieve] [--parallel N] [--list-engines]\n"
           "                       [--match text|source]\n"
           "                       [--save FILE.rst] [--html FILE.htm] [--text FILE.txt]\n"
           "                       [--csv FILE.csv] [--json FILE.json]\n"
           "       orvalen --help | --version\n"
           "\n"
           "Without --batch, Orvalen opens its window (or brings the running one to the front).\n"
           "\n"
           "Batch runs work without a display, in this order: load, --urls, search, retrieve, outputs.\n"
           "  --criteria FILE.cri  open a criteria template and accept it\n"
           "  --open FILE.rst      open a results file (criteria, both lists, ticks, statuses)\n"
           "  --primary TEXT       a Primary criterion line (may repeat); with --secondary TEXT and\n"
           "  --secondary TEXT     --exclude TEXT the criteria of this run, accepted as typed on the\n"
           "  --exclude TEXT       \"Search Criteria\" tab; not with --criteria or --open\n"
           "  --all-primary        match all Primary words (All Words); Any Words without it\n"
           "  --all-secondary      match all Secondary words (All Words); Any Words without it\n"
           "  --urls FILE          offer the http and https URLs of FILE, one a line, to the result list\n"
           "  --search             search with the engines and settings of the program folder\n"
           "                       (search.txt, engines.txt); starts from empty lists\n"
           "  --engines LIST       ask only these engines this run (names separated by commas, any\n"
           "                       case; drawn or defined; see --list-engines)\n"
           "  --max N              take at most N results from each engine this run, 1 to 200\n"
           "  --list-engines       print every engine: name, drawn or defined, asked or not, where it\n"
           "                       is asked and the file it came from (TAB-separated)\n"
           "  --retrieve           fetch and judge every page not ticked yet\n"
           "  --parallel N         pages fetched at once while retrieving, 1 to 32; without it the\n"
           "                       program folder's \"Parallel fetches\" setting (search.txt) holds\n"
           "  --http 1.0|1.1       retrieve with HTTP/1.0 requests or HTTP/1.1 connections; without\n"
           "                       it the \"HTTP/1.1 connections\" setting (search.txt) holds\n"
           "  --match text|source  match the criteria on the text a reader sees or on the page\n"
           "                       source; without it the program folder's setting holds\n"
           "  --save FILE.rst      write a results file\n"
           "  --html FILE.htm      write the HTML report\n"
           "  --text FILE.txt      write the text report\n"
           "  --csv FILE.csv       write every result as CSV\n"
           "  --json FILE.json     write criteria, engine yield and results as JSON\n"
           "  --program-folder DIR use DIR as the program folder (data/, Reports/, Templates/)\n"
           "An output of - goes to standard output. Progress and the engine yield go to standard error,\n"
           "as do engine definitions that cannot be used (file:line: reason); the others still run.\n"
           "Exit status: 0 every step ran, 1 a step failed or the run was interrupted, 2 bad usage.\n";
}

std::string versionText()
{
    return std::string("orvalen ") + ORVALEN_VERSION + "\n";
}

} // namespace orv
