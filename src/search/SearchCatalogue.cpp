#include "search/SearchCatalogue.h"

#include "core/Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace orv
{

SearchCatalogue::SearchCatalogue()
    : SearchCatalogue(DefinedEngines {})
{
}

SearchCatalogue::SearchCatalogue(DefinedEngines defined)
{
    for (Engine e : kSearchOrder)
        entries_.push_back({ std::string(engineCaption(e)), e, -1, drawnEngineId(e) });
    // A definition named as a drawn engine would leave two rows the user
    // and --engines could not tell apart.
    std::vector<EngineDefinition> kept;
    for (EngineDefinition& def : defined.engines) {
        if (find(def.name) || def.name.empty()) {
            defined.problems.push_back({ def.file, def.line,
                def.name.empty() ? std::string("the engine has no name")
                                 : "the name '" + def.name + "' is already taken by another engine" });
            continue;
        }
        const int index = static_cast<int>(kept.size());
        entries_.push_back({ def.name, std::nullopt, index, definedEngineId(index) });
        kept.push_back(std::move(def));
    }
    defined_.engines = std::move(kept);
    defined_.problems = std::move(defined.problems);
}

SearchCatalogue SearchCatalogue::load(const std::string& programFolder)
{
    // An installed copy keeps its program folder in the user's data folder,
    // away from the program; the shipped definitions are then found beside
    // the program itself.
    std::string shipped = ShippedEnginesFolder(programFolder);
    if (!QDir(QFile::decodeName(QByteArray::fromStdString(shipped))).exists() && QCoreApplication::instance()) {
        const std::string besideProgram
            = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/../share/orvalen/engines/";
        if (QDir(QFile::decodeName(QByteArray::fromStdString(besideProgram))).exists())
            shipped = besideProgram;
    }
    return SearchCatalogue(LoadEngineDefinitions(shipped, programFolder + "engines/"));
}

const CatalogueEntry* SearchCatalogue::find(std::string_view name) const
{
    const std::string wanted = LowerCase(Trim(std::string(name)));
    for (const CatalogueEntry& entry : entries_)
        if (LowerCase(entry.name) == wanted)
            return &entry;
    return nullptr;
}

const EngineDefinition& SearchCatalogue::definitionOf(const CatalogueEntry& entry) const
{
    return defined_.engines.at(static_cast<size_t>(entry.definition));
}

std::vector<const CatalogueEntry*> SearchCatalogue::definedEntries() const
{
    std::vector<const CatalogueEntry*> defined;
    for (const CatalogueEntry& entry : entries_)
        if (!entry.drawn)
            defined.push_back(&entry);
    return defined;
}

std::string CatalogueListLine(
    const std::string& name, bool drawn, bool asked, const std::string& where, const std::string& file)
{
    return name + "\t" + (drawn ? "drawn" : "defined") + "\t" + (asked ? "asked" : "not asked") + "\t" + where + "\t"
        + (file.empty() ? std::string("built in") : file);
}

std::string UrlOrigin(const std::string& url)
{
    const size_t scheme = url.find("://");
    const size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t pathStart = url.find_first_of("/?#", hostStart);
    return pathStart == std::string::npos ? url : url.substr(0, pathStart);
}

} // namespace orv
