#pragma once
// What each engine of the last search run brought: the count it claimed,
// the result pages fetched, the links taken from them, how many of those
// were new to the master URL list, and, once pages have been retrieved, how
// many of its URLs were verified and approved. It also remembers which
// engines' pages held each found URL. No file format stores any of this, so
// it lives as long as the lists of the run and is cleared with them.
#include "platform/Collation.h"
#include "search/Engines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv
{

struct EngineYieldRow {
    Engine engine = Engine::AltaVista;
    // The count as the engine report line shows it; empty when the engine
    // wrote no line (its first page never arrived).
    std::string claimed;
    int pages = 0;
    int links = 0;
    int newUrls = 0;
    int verified = 0;
    int approved = 0;
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

    void engineAsked(Engine e);
    void reportLine(Engine e, std::string_view line);
    void pageFetched(Engine e);
    // A link of `e`'s page offered to the master list as `url` (the form
    // the record holds); `isNew` when the list did not hold it before.
    void linkTaken(Engine e, std::string_view url, bool isNew);

    // The engines whose pages held `url`, in search order.
    std::vector<Engine> enginesOf(std::string_view url) const;

    // Recounts verified and approved per engine from every master record.
    void countOutcomes(const std::vector<RecordOutcome>& records);

    // One row per engine asked in the last search run, in search order.
    std::vector<EngineYieldRow> rows() const;

private:
    using EngineMask = std::uint16_t;
    EngineYieldRow& rowOf(Engine e) { return rows_[static_cast<size_t>(engineIndex(e))]; }
    EngineMask maskOf(std::string_view url) const;

    const LocaleCollation* collation_;
    bool searched_ = false;
    EngineMask asked_ = 0;
    std::vector<EngineYieldRow> rows_;
    std::unordered_map<std::string, EngineMask> holders_; // collation key of the URL -> engines
};

} // namespace orv
