// parsepage --engine NAME-or-FILE PAGE: runs a definition (a shipped or user
// engine by name, or a definition file) on a saved answer and prints its
// links, titles, claimed count, next page and whether the answer is blocked,
// for a maintainer mending a definition after an engine changed its page.
#include "DefinedEnginePage.h"

#include "core/Lines.h"
#include "engines/EngineDefinition.h"

#include <QString>

#include <filesystem>
#include <iostream>
#include <optional>

namespace
{

int usage()
{
    std::cerr << "usage: parsepage --engine NAME-or-FILE PAGE [--status N] [--url URL] [--page N] [--query TEXT]\n";
    return 2;
}

std::string programFolder()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("./") : self.parent_path().string() + "/";
}

void printProblems(const orv::DefinedEngines& d)
{
    for (const orv::DefinitionProblem& p : d.problems)
        std::cerr << "definition: " << orv::DescribeProblem(p) << '\n';
}

std::optional<orv::EngineDefinition> findEngine(const std::string& nameOrFile)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(nameOrFile, ec)) {
        const orv::DefinedEngines d = orv::LoadEngineDefinitionFile(nameOrFile);
        printProblems(d);
        if (d.engines.empty())
            return std::nullopt;
        if (d.engines.size() > 1)
            std::cerr << "parsepage: " << nameOrFile << " holds " << d.engines.size() << " engines; using the first\n";
        return d.engines.front();
    }
    const std::string folder = programFolder();
    const orv::DefinedEngines d = orv::LoadEngineDefinitions(orv::ShippedEnginesFolder(folder), folder + "engines/");
    printProblems(d);
    for (const orv::EngineDefinition& e : d.engines)
        if (QString::fromStdString(e.name).compare(QString::fromStdString(nameOrFile), Qt::CaseInsensitive) == 0)
            return e;
    std::cerr << "parsepage: no engine named '" << nameOrFile << "'; defined engines:";
    for (const orv::EngineDefinition& e : d.engines)
        std::cerr << " '" << e.name << "'";
    std::cerr << '\n';
    return std::nullopt;
}

void printRequest(const char* label, const orv::EngineRequest& r)
{
    std::cout << label << ": " << r.method << ' ' << r.url;
    if (!r.body.empty())
        std::cout << " body " << r.body;
    std::cout << '\n';
}

} // namespace

int RunDefinedEnginePage(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    const std::string which = argv[2], page = argv[3];
    int status = 200, pageno = 1;
    std::string url, query = "orvalen";
    try {
        for (int i = 4; i < argc; ++i) {
            const std::string arg = argv[i];
            if (i + 1 >= argc)
                return usage();
            if (arg == "--status")
                status = std::stoi(argv[++i]);
            else if (arg == "--page")
                pageno = std::max(1, std::stoi(argv[++i]));
            else if (arg == "--url")
                url = argv[++i];
            else if (arg == "--query")
                query = argv[++i];
            else
                return usage();
        }
        const std::optional<orv::EngineDefinition> def = findEngine(which);
        if (!def)
            return 1;
        const orv::EngineRequest asked = orv::PageRequest(*def, query, pageno);
        if (url.empty())
            url = asked.url;
        const std::string body = orv::LoadFileBytes(page);
        const orv::EngineAnswer a = orv::ReadAnswer(*def, status, "", body, url, asked, pageno, query);

        std::cout << "engine: " << def->name << " (" << def->file << ':' << def->line << ")\n";
        printRequest("asked", asked);
        std::cout << "blocked: " << (a.blocked ? "yes (" + a.reason + ")" : std::string("no")) << '\n';
        if (!a.problem.empty())
            std::cout << "problem: " << a.problem << '\n';
        std::cout << "count: " << (a.claimed ? std::to_string(*a.claimed) : std::string("none")) << '\n';
        std::cout << "links: " << a.links.size() << '\n';
        for (const orv::AnswerLink& l : a.links)
            std::cout << "link: " << l.url << "\n  title: " << l.title << '\n';
        if (a.next)
            printRequest("next", *a.next);
        else
            std::cout << "next: none\n";
        return a.problem.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "parsepage: " << e.what() << '\n';
        return 1;
    }
}
