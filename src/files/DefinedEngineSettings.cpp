#include "files/DefinedEngineSettings.h"

#include "core/Text.h"

#include <algorithm>

namespace orv
{

std::map<std::string, DefinedEngineSetting> DefinedSettingsFromLines(const Lines& lines)
{
    std::map<std::string, DefinedEngineSetting> settings;
    for (const std::string& line : lines) {
        // The name may hold "=" or ","; the values never do.
        const size_t eq = line.rfind('=');
        if (eq == std::string::npos)
            continue;
        DefinedEngineSetting setting;
        setting.name = Trim(line.substr(0, eq));
        const std::string values = line.substr(eq + 1);
        const size_t comma = values.find(',');
        const std::string flag = Trim(values.substr(0, comma));
        if (setting.name.empty() || (flag != "true" && flag != "false"))
            continue;
        setting.asked = flag == "true";
        int maximum = kDefinedMaxDefault;
        if (comma != std::string::npos && TryStrToInt(Trim(values.substr(comma + 1)), maximum))
            setting.maximum = std::clamp(maximum, kDefinedMaxMin, kDefinedMaxMax);
        settings[LowerCase(setting.name)] = setting;
    }
    return settings;
}

Lines DefinedSettingsToLines(const std::vector<DefinedEngineSetting>& settings)
{
    Lines lines;
    for (const DefinedEngineSetting& s : settings)
        lines.push_back(s.name + "=" + (s.asked ? "true" : "false") + "," + IntToStr(s.maximum));
    return lines;
}

DefinedEngineSetting DefaultDefinedSetting(const std::string& name, bool disabled, bool newUserFolder)
{
    DefinedEngineSetting setting;
    setting.name = name;
    setting.asked = newUserFolder && !disabled;
    return setting;
}

} // namespace orv
