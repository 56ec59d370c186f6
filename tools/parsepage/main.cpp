// parsepage: runs one engine's result-page parser on a saved page and prints
// what the parser did, for a maintainer checking a page whose format changed.
//
//   parsepage ENGINE FILE [--max N] [--later-page]
//   parsepage --engine NAME-or-FILE PAGE [--status N] [--url URL] [--page N] [--query TEXT]
//
// ENGINE is the engine's check box caption ("Infoseek", "Netfind.Aol", ...).
// FILE is copied into a temporary program folder first, so the parser's
// deletion never touches the user's file. --max gives the text of the
// engine's maximum box (default: the box's default). --later-page parses the
// page as a later page of a run whose first page claimed at least the maximum.
#include "DefinedEnginePage.h"
#include "core/Errors.h"
#include "core/Lines.h"
#include "parse/Parse.h"
#include "parse/ParseRecorder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace
{

int usage()
{
    std::cerr << "usage: parsepage ENGINE FILE [--max N] [--later-page]\n"
                 "       parsepage --engine NAME-or-FILE PAGE [--status N] [--url URL] [--page N] [--query TEXT]\n"
                 "ENGINE is one of:";
    for (orv::Engine e : orv::kAllEngines)
        std::cerr << ' ' << orv::engineCaption(e);
    std::cerr << '\n';
    return 2;
}

// TAB written as \t, so that the report line shows what it holds.
std::string visible(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

// A fresh program folder with its data/ folder, removed on exit.
class TempProgramFolder
{
public:
    TempProgramFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "parsepage-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern + "/";
        std::filesystem::create_directory(path_ + "data");
    }
    ~TempProgramFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string defaultMaxText(orv::Engine engine)
{
    return engine == orv::Engine::NetfindAol ? "10" : "20";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--engine")
        return RunDefinedEnginePage(argc, argv);
    if (argc < 3)
        return usage();
    const std::optional<orv::Engine> engine = orv::engineFromCaption(argv[1]);
    if (!engine) {
        std::cerr << "parsepage: unknown engine '" << argv[1] << "'\n";
        return usage();
    }
    const std::string file = argv[2];
    std::string maxText = defaultMaxText(*engine);
    bool laterPage = false;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--max" && i + 1 < argc)
            maxText = argv[++i];
        else if (arg == "--later-page")
            laterPage = true;
        else
            return usage();
    }

    try {
        const TempProgramFolder folder;
        const std::string dataFile = folder.path() + "data/" + std::filesystem::path(file).filename().string();
        orv::SaveFileBytes(dataFile, orv::LoadFileBytes(file));

        orv::ParseRecorder recorder;
        recorder.maxTexts[static_cast<size_t>(orv::engineIndex(*engine))] = maxText;
        recorder.run.resetPaging();
        recorder.run.currentDataFile = dataFile;
        if (laterPage)
            recorder.prepareLaterPage(*engine);

        std::string failure;
        try {
            orv::ParseEnginePage(*engine, recorder);
        } catch (const orv::EConvertError& e) {
            failure = e.what(); // what the search run would show and stop on
        }

        if (recorder.reportLines.empty())
            std::cout << "report: none\n";
        for (const std::string& line : recorder.reportLines)
            std::cout << "report: " << visible(line) << '\n';
        const orv::PagingState& paging = recorder.run.pagingOf(*engine);
        std::cout << "count: " << paging.resultCount << '\n'
                  << "known: " << (paging.countKnown ? 1 : 0) << '\n'
                  << "page: " << paging.page << '\n'
                  << "activity: " << recorder.activity << '\n'
                  << "deleted: " << (orv::FileExists(dataFile) ? "no" : "yes") << '\n';
        for (const std::string& url : recorder.urls)
            std::cout << "url: " << url << '\n';
        if (!failure.empty()) {
            std::cout << "error: " << failure << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "parsepage: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
