#pragma once
// What each engine of the last search run brought: the count it claimed,
// the result pages fetched, the links taken from them, how many of those
// were new to the master URL list, and, once pages have been retrieved, how
// many of its URLs were verified and approved. It also remembers which
// engines' pages held each found URL. No file format stores any of this, so
// it lives as long as the lists of the run and is cleared with them.
#include "platform/Collation.h"
#include "search/Engines.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv
{

// An engine of the catalogue: the ten drawn engines take their
// engineIndex(), a defined engine kEngineCount + its place among the
// definitions.
using EngineId = int;
inline constexpr EngineId drawnEngineId(Engine e)
{
    return engineIndex(e);
}
inline constexpr EngineId definedEngineId(int slot)
{
    return kEngineCount + slot;
}

struct EngineYieldRow {
    Engine engine = Engine::AltaVista; // a drawn engine's; AltaVista for a defined one
    // The count as the engine report line shows it; empty when the engine
    // wrote no line (its first page never arrived).
    std::string claimed;
    int pages = 0;
    int links = 0;
    int newUrls = 0;
    int verified = 0;
    int approved = 0;
    std::string name; // the definition's name; empty for a drawn engine, named by its caption
    bool blocked = false; // the engine answered with a block (a challenge, 429, ...)
    std::string reason; // why, when blocked

    // The check box caption or the definition's name.
    std::string displayName() const { return name.empty() ? std::string(engineCaption(engine)) : name; }
};

// How one master record ended, for counting outcomes per engine.
struct RecordOutcome {
    std::string url;
    bool verified = false;
    bool approved = false;
};

// The count text of an engine report line: what stands after its TABs and
// blanks, before " url" or " urls".
std::string claimedCountText(std::string_view reportLine);

// The claimed count as a number, when the text is digits (thousands commas
// allowed) that fit; nullopt otherwise.
std::optional<long long> claimedCountValue(std::string_view claimed);

class EngineYield
{
public:
    // URLs are matched as the master URL list matches them: under the
    // collation, letter case ignored. The collation must outlive this.
    explicit EngineYield(const LocaleCollation& collation = LocaleCollation::user());

    // Forgets everything; no search has run.
    void clear();
    // A search run starts: forgets the previous one.
    void startSearch();
    bool searched() const { return searched_; }

    void engineAsked(Engine e) { engineAsked(drawnEngineId(e), std::string(engineCaption(e))); }
    void reportLine(Engine e, std::string_view line) { reportLine(drawnEngineId(e), line); }
    void pageFetched(Engine e) { pageFetched(drawnEngineId(e)); }
    // A link of `e`'s page offered to the master list as `url` (the form
    // the record holds); `isNew` when the list did not hold it before.
    void linkTaken(Engine e, std::string_view url, bool isNew) { linkTaken(drawnEngineId(e), url, isNew); }

    // The same for any engine of the catalogue; `name` names a defined one.
    void engineAsked(EngineId id, const std::string& name);
    void reportLine(EngineId id, std::string_view line);
    void pageFetched(EngineId id);
    void linkTaken(EngineId id, std::string_view url, bool isNew);
    // The engine answered with a block; its row says why.
    void blocked(EngineId id, const std::string& reason);

    // The drawn engines whose pages held `url`, in search order.
    std::vector<Engine> enginesOf(std::string_view url) const;
    // The names of every engine whose pages held `url`: drawn ones in search
    // order, then defined ones in catalogue order.
    std::vector<std::string> engineNamesOf(std::string_view url) const;

    // Recounts verified and approved per engine from every master record.
    void countOutcomes(const std::vector<RecordOutcome>& records);

    // One row per engine asked in the last search run, in search order.
    std::vector<EngineYieldRow> rows() const;

private:
    // The engines that hold one URL, as ids in increasing order.
    using Holders = std::vector<EngineId>;
    EngineYieldRow& rowOf(EngineId id);
    const Holders* holdersOf(std::string_view url) const;
    // Ids in the order rows and names are listed.
    std::vector<EngineId> listOrder() const;

    const LocaleCollation* collation_;
    bool searched_ = false;
    std::vector<bool> asked_; // by id
    std::vector<EngineYieldRow> rows_; // by id
    std::unordered_map<std::string, Holders> holders_; // collation key of the URL -> engines
};

} // namespace orv
