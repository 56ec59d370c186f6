// Reading the definition files of the shipped and the user's folder.
#include "engines/DefinitionKeys.h"
#include "engines/EngineDefinition.h"

#include <QString>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orv
{
namespace
{

namespace fs = std::filesystem;

// A definition file is a few hundred lines; a larger one is refused.
constexpr std::uintmax_t kMaxDefinitionFileBytes = 1024 * 1024;

bool sameName(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

std::vector<fs::path> definitionFiles(const std::string& folder, std::vector<DefinitionProblem>& problems)
{
    std::vector<fs::path> files;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return files;
    fs::directory_iterator it(folder, ec), end;
    if (ec) {
        problems.push_back({ folder, 0, "cannot read the folder: " + ec.message() });
        return files;
    }
    for (; it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        const std::string ext = p.extension().string();
        if ((ext == ".yml" || ext == ".yaml") && it->is_regular_file(ec))
            files.push_back(p);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The entries a file holds: one engine, a list of engines, or a map with an
// `engines:` list (as a SearXNG settings file has), in each YAML document.
std::vector<YAML::Node> entriesOf(const std::vector<YAML::Node>& documents)
{
    std::vector<YAML::Node> entries;
    for (const YAML::Node& doc : documents) {
        if (doc.IsMap() && doc["engines"]) {
            const YAML::Node list = doc["engines"];
            if (list.IsSequence())
                for (const auto& e : list)
                    entries.push_back(e);
            else
                entries.push_back(list);
        } else if (doc.IsSequence()) {
            for (const auto& e : doc)
                entries.push_back(e);
        } else if (!doc.IsNull()) {
            entries.push_back(doc);
        }
    }
    return entries;
}

void readFile(const fs::path& path, std::vector<EngineDefinition>& out, std::vector<DefinitionProblem>& problems)
{
    const std::string file = path.string();
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        problems.push_back({ file, 0, "cannot read the file: " + ec.message() });
        return;
    }
    if (size > kMaxDefinitionFileBytes) {
        problems.push_back({ file, 0, "the file is larger than 1 MiB" });
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) {
        problems.push_back({ file, 0, "cannot read the file" });
        return;
    }
    std::vector<YAML::Node> documents;
    try {
        documents = YAML::LoadAll(bytes.str());
    } catch (const YAML::Exception& e) {
        problems.push_back({ file, e.mark.line + 1, "not valid YAML: " + e.msg });
        return;
    }
    const std::vector<YAML::Node> entries = entriesOf(documents);
    if (entries.empty())
        problems.push_back({ file, 0, "the file holds no engine definition" });
    for (const YAML::Node& entry : entries) {
        try {
            if (std::optional<EngineDefinition> d = ReadDefinitionEntry(entry, file, problems))
                out.push_back(std::move(*d));
        } catch (const YAML::Exception& e) {
            problems.push_back({ file, e.mark.line + 1, e.msg });
        }
    }
}

// Every definition of a folder; a second one of a name is reported and left out.
std::vector<EngineDefinition> readFolder(const std::string& folder, std::vector<DefinitionProblem>& problems)
{
    std::vector<EngineDefinition> all;
    for (const fs::path& p : definitionFiles(folder, problems))
        readFile(p, all, problems);
    std::vector<EngineDefinition> kept;
    for (EngineDefinition& d : all) {
        const auto first = std::find_if(
            kept.begin(), kept.end(), [&](const EngineDefinition& k) { return sameName(k.name, d.name); });
        if (first != kept.end()) {
            problems.push_back({ d.file, d.line,
                d.name + ": a second engine of this name; the one at " + first->file + ":" + std::to_string(first->line)
                    + " is used" });
            continue;
        }
        kept.push_back(std::move(d));
    }
    return kept;
}

} // namespace

std::string DescribeProblem(const DefinitionProblem& problem)
{
    if (problem.line <= 0)
        return problem.file + ": " + problem.reason;
    return problem.file + ":" + std::to_string(problem.line) + ": " + problem.reason;
}

DefinedEngines LoadEngineDefinitions(const std::string& shippedFolder, const std::string& userFolder)
{
    DefinedEngines result;
    result.engines = readFolder(shippedFolder, result.problems);
    for (EngineDefinition& mine : readFolder(userFolder, result.problems)) {
        const auto shipped = std::find_if(result.engines.begin(), result.engines.end(),
            [&](const EngineDefinition& s) { return sameName(s.name, mine.name); });
        if (shipped != result.engines.end())
            *shipped = std::move(mine);
        else
            result.engines.push_back(std::move(mine));
    }
    return result;
}

DefinedEngines LoadEngineDefinitionFile(const std::string& file)
{
    DefinedEngines result;
    readFile(file, result.engines, result.problems);
    return result;
}

std::string ShippedEnginesFolder(const std::string& programFolder)
{
    // The build lays the shipped files out in the program folder; an
    // installed copy's program folder is the user's data folder, so its
    // shipped files are found beside the program's share folder.
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const std::string programDir = ec ? programFolder : self.parent_path().string() + "/";
    const std::string laidOut = programFolder + "engines-shipped/";
    if (fs::is_directory(laidOut, ec))
        return laidOut;
    return (fs::path(programDir) / "../share/orvalen/engines/").lexically_normal().string();
}

} // namespace orv
