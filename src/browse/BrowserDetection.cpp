#include "browse/BrowserDetection.h"

#include "core/Text.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace orv
{
namespace
{

std::string readString(const Registry& registry, RootKey root, const char* path, const char* name)
{
    const RegistryKey* key = registry.openKey(root, path);
    if (!key)
        return {};
    return key->readString(name).value_or(std::string());
}

// Checks the first entry with `text`, when there is one.
void checkEntry(std::vector<BrowserEntry>& entries, const std::string& text)
{
    for (BrowserEntry& entry : entries) {
        if (entry.text == text) {
            entry.checked = true;
            return;
        }
    }
}

} // namespace

bool parseDecimal(const std::string& text, double& value)
{
    std::string number = Trim(text);
    const QString separator = QLocale::system().decimalPoint();
    if (separator.size() == 1 && separator[0] != QLatin1Char('.') && separator[0].unicode() < 0x80) {
        const char local = static_cast<char>(separator[0].unicode());
        if (number.find('.') != std::string::npos)
            return false;
        for (char& c : number)
            if (c == local)
                c = '.';
    }
    // from_chars takes no plus sign; one leading plus is allowed, no more.
    if (!number.empty() && number[0] == '+') {
        number.erase(0, 1);
        if (!number.empty() && (number[0] == '+' || number[0] == '-'))
            return false;
    }
    if (number.empty())
        return false;
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    return ec == std::errc() && end == last && std::isfinite(value);
}

DetectedBrowsers detectBrowsers(const Registry& registry)
{
    DetectedBrowsers found;

    if (!readString(
            registry, RootKey::CurrentUser, "\\Software\\Netscape\\Netscape Navigator\\Main", "Install Directory")
             .empty())
        found.entries.push_back({ kBrowserNetscape });

    if (!readString(registry, RootKey::LocalMachine, "\\Software\\Microsoft\\IE4\\Setup", "Path").empty())
        found.entries.push_back({ kBrowserExplorer });

    if (const RegistryKey* key = registry.openKey(RootKey::LocalMachine, "\\Software\\Microsoft\\Internet Explorer")) {
        double build = 0;
        const auto text = key->readString("Build");
        if (text && parseDecimal(*text, build) && build < 1500)
            found.entries.push_back({ kBrowserExplorer });
    }

    const std::string command
        = LowerCase(readString(registry, RootKey::ClassesRoot, "\\HTTP\\shell\\open\\command", ""));
    if (command.find("netscape") != std::string::npos) {
        checkEntry(found.entries, kBrowserNetscape);
        found.chosen = kBrowserNetscape;
    }
    if (command.find("iexplor") != std::string::npos) {
        checkEntry(found.entries, kBrowserExplorer);
        found.chosen = kBrowserExplorer;
    }
    return found;
}

} // namespace orv
