#pragma once
// Every engine a search can ask, in the order a search asks them: the ten
// drawn engines first, in search order, then the engines defined as data in
// the order their files were read. Names are unique in any letter case.
#include "engines/EngineDefinition.h"
#include "search/EngineYield.h"
#include "search/Engines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

struct CatalogueEntry {
    std::string name; // the check box caption or the definition's name
    std::optional<Engine> drawn; // set for the ten drawn engines
    int definition = -1; // index into the definitions, for a defined engine
    EngineId id = 0; // the engine's id in the yield
};

class SearchCatalogue
{
public:
    // The drawn engines alone.
    SearchCatalogue();
    // The drawn engines and these definitions. A definition whose name is
    // a drawn engine's (any case) cannot be told apart from it: it is listed
    // as a problem of its file and left out.
    explicit SearchCatalogue(DefinedEngines defined);

    // Reads the shipped definitions and the user's (programFolder + "engines/").
    static SearchCatalogue load(const std::string& programFolder);

    const std::vector<CatalogueEntry>& entries() const { return entries_; }
    const std::vector<EngineDefinition>& definitions() const { return defined_.engines; }
    const std::vector<DefinitionProblem>& problems() const { return defined_.problems; }

    // The entry named `name` in any letter case, or null.
    const CatalogueEntry* find(std::string_view name) const;
    // The definition of a defined entry.
    const EngineDefinition& definitionOf(const CatalogueEntry& entry) const;
    // The defined entries, in catalogue order.
    std::vector<const CatalogueEntry*> definedEntries() const;

private:
    DefinedEngines defined_;
    std::vector<CatalogueEntry> entries_;
};

// One line of --list-engines: name, "drawn" or "defined", "asked" or "not
// asked", where it is asked (scheme, host and port), and the file it came
// from ("built in" for a drawn engine), separated by TABs.
std::string CatalogueListLine(
    const std::string& name, bool drawn, bool asked, const std::string& where, const std::string& file);

// The scheme, host and port of a URL ("https://www.bing.com"), for listing.
std::string UrlOrigin(const std::string& url);

} // namespace orv
