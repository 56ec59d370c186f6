// libFuzzer target for the registry file reader and the browser detection
// that reads it. The input is the file. Besides what the sanitizers catch,
// the target checks that:
//  - a section appended after the input reads back exactly, whatever came
//    before it: a string value built from the input's first line with its
//    backslashes and quotes escaped, the default value, and a double word;
//  - the detection lists only the two known browsers, the navigator at most
//    once and first, and chooses one of them or none.
#include "browse/BrowserDetection.h"
#include "platform/Registry.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::string hex8(std::uint32_t v)
{
    static const char digits[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4)
        out[static_cast<size_t>(i)] = digits[v & 15];
    return out;
}

void checkDetection(const orv::Registry& registry)
{
    const orv::DetectedBrowsers found = orv::detectBrowsers(registry);
    require(found.entries.size() <= 3);
    int netscapes = 0;
    for (size_t i = 0; i < found.entries.size(); ++i) {
        const std::string& text = found.entries[i].text;
        require(text == orv::kBrowserNetscape || text == orv::kBrowserExplorer);
        if (text == orv::kBrowserNetscape) {
            require(i == 0);
            ++netscapes;
        }
    }
    require(netscapes <= 1);
    require(found.chosen == orv::kBrowserNone || found.chosen == orv::kBrowserNetscape
        || found.chosen == orv::kBrowserExplorer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkDetection(orv::Registry::fromText(text));

    // A NUL ends the file's text, so nothing appended after one is read.
    if (text.find('\0') != std::string_view::npos)
        return 0;
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    std::uint32_t number = 0;
    std::memcpy(&number, data, std::min<size_t>(size, sizeof number));
    const std::string file = std::string(text)
        + "\r\n[HKEY_CURRENT_USER\\Software\\Fuzz\\Probe]\r\n"
          "\"Value\"=\""
        + escaped(firstLine) + "\"\r\n@=\"" + escaped(firstLine)
        + "\"\r\n"
          "\"Number\"=dword:"
        + hex8(number) + "\r\n";
    const orv::Registry registry = orv::Registry::fromText(file);
    const orv::RegistryKey* key = registry.openKey(orv::RootKey::CurrentUser, "Software\\FUZZ\\probe");
    require(key != nullptr);
    require(key->readString("value") == std::string(firstLine));
    require(key->readString("") == std::string(firstLine));
    require(key->readString("NUMBER") == std::to_string(number));
    require(registry.openKey(orv::RootKey::CurrentUser, "\\Software\\Fuzz\\") != nullptr);
    checkDetection(registry);
    return 0;
}
