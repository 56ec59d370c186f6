#pragma once
// Which of the two known browsers are installed and which one is the
// system's default, read from the registry at start-up.
#include "platform/Registry.h"

#include <string>
#include <vector>

namespace orv
{

// The chosen-browser texts; the same texts are the entries of the browser list.
inline constexpr const char* kBrowserNone = "none";
inline constexpr const char* kBrowserNetscape = "Netscape ";
inline constexpr const char* kBrowserExplorer = "Internet Explorer";

struct BrowserEntry {
    std::string text;
    bool checked = false;

    bool operator==(const BrowserEntry&) const = default;
};

struct DetectedBrowsers {
    std::vector<BrowserEntry> entries; // in the order found; the explorer may appear twice
    std::string chosen = kBrowserNone;
};

// Reads the navigator's install folder, the explorer's set-up path and
// build number, and the default HTTP open command. A key that does not
// exist leaves its step without effect; a "Build" that is missing or not a
// number counts as not found. A default command naming a browser that is
// not listed still makes it the chosen browser (with nothing checked).
DetectedBrowsers detectBrowsers(const Registry& registry);

// Reads `text` as a decimal number with the system's decimal separator;
// false when it is not one.
bool parseDecimal(const std::string& text, double& value);

} // namespace orv
