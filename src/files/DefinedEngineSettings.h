#pragma once
// Which engines defined as data a search asks, and how many links it takes
// from each: "defined-engines.txt" beside search.txt, one line per engine,
// "Name=true,20" (asked or "false", then the maximum), lines ended by CR LF.
// search.txt keeps its lines; the drawn engines' settings stay there.
#include "core/Lines.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv
{

inline constexpr const char* kDefinedSettingsFileName = "defined-engines.txt";
inline constexpr int kDefinedMaxMin = 1;
inline constexpr int kDefinedMaxMax = 200;
inline constexpr int kDefinedMaxDefault = 20;

struct DefinedEngineSetting {
    std::string name;
    bool asked = false;
    int maximum = kDefinedMaxDefault;
};

// The settings the lines give, by lower-case name. A line without "=", with
// an empty name or a flag other than "true"/"false" is skipped; a maximum
// that is not a whole number gives the default, one out of range the
// nearest bound.
std::map<std::string, DefinedEngineSetting> DefinedSettingsFromLines(const Lines& lines);

Lines DefinedSettingsToLines(const std::vector<DefinedEngineSetting>& settings);

// The setting of an engine that the file does not name: a new user's folder
// (no drawn engine asked, as their hosts are gone) asks every engine whose
// definition is not disabled; an existing one asks none of them, so that
// its choices stay as they were.
DefinedEngineSetting DefaultDefinedSetting(const std::string& name, bool disabled, bool newUserFolder);

} // namespace orv
