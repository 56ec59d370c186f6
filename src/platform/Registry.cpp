#include "platform/Registry.h"

#include "core/Lines.h"
#include "core/Text.h"
#include "platform/DesktopBrowsers.h"
#include "platform/FileNames.h"

#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <cstring>

namespace orv
{
namespace
{

const char* rootName(RootKey root)
{
    switch (root) {
    case RootKey::ClassesRoot:
        return "hkcr";
    case RootKey::CurrentUser:
        return "hkcu";
    case RootKey::LocalMachine:
        return "hklm";
    }
    return "";
}

std::optional<RootKey> rootFromName(const std::string& lowered)
{
    if (lowered == "hkey_classes_root" || lowered == "hkcr")
        return RootKey::ClassesRoot;
    if (lowered == "hkey_current_user" || lowered == "hkcu")
        return RootKey::CurrentUser;
    if (lowered == "hkey_local_machine" || lowered == "hklm")
        return RootKey::LocalMachine;
    return std::nullopt;
}

// "\Software\X\" -> "software\x": no leading, trailing or doubled separators.
std::string normalisePath(std::string_view path)
{
    std::string out;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == '\\')
            ++i;
        size_t end = i;
        while (end < path.size() && path[end] != '\\')
            ++end;
        if (end > i) {
            if (!out.empty())
                out += '\\';
            out += LowerCase(path.substr(i, end - i));
        }
        i = end;
    }
    return out;
}

std::string keyName(RootKey root, std::string_view path)
{
    const std::string rest = normalisePath(path);
    return rest.empty() ? rootName(root) : std::string(rootName(root)) + '\\' + rest;
}

// Reads a quoted REGEDIT4 string starting at text[pos] == '"', resolving the
// escaped backslash and quote. Returns the position after the closing quote, or npos.
size_t readQuoted(const std::string& text, size_t pos, std::string& out)
{
    out.clear();
    for (size_t i = pos + 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[++i];
        } else if (text[i] == '"') {
            return i + 1;
        } else {
            out += text[i];
        }
    }
    return std::string::npos;
}

// Parses one value line into name and data; false for lines it skips.
bool parseValueLine(const std::string& line, std::string& name, std::string& data)
{
    size_t pos;
    if (line[0] == '@') {
        name.clear();
        pos = 1;
    } else if (line[0] == '"') {
        pos = readQuoted(line, 0, name);
        if (pos == std::string::npos)
            return false;
    } else {
        return false;
    }
    while (pos < line.size() && line[pos] == ' ')
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return false;
    const std::string value = Trim(line.substr(pos + 1));
    if (!value.empty() && value[0] == '"')
        return readQuoted(value, 0, data) != std::string::npos;
    if (LowerCase(value.substr(0, 6)) == "dword:") {
        const std::string hex = value.substr(6);
        char* end = nullptr;
        const unsigned long number = std::strtoul(hex.c_str(), &end, 16);
        if (hex.empty() || hex.size() > 8 || *end != '\0')
            return false;
        data = std::to_string(number);
        return true;
    }
    return false;
}

} // namespace

std::optional<std::string> RegistryKey::readString(std::string_view name) const
{
    const auto it = values_.find(LowerCase(name));
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

void RegistryKey::setString(std::string_view name, std::string value)
{
    values_[LowerCase(name)] = std::move(value);
}

RegistryKey& Registry::createKey(RootKey root, std::string_view path)
{
    // Parents exist with their children, as in the system registry.
    const std::string full = keyName(root, path);
    for (size_t slash = full.find('\\'); slash != std::string::npos; slash = full.find('\\', slash + 1))
        keys_[full.substr(0, slash)];
    return keys_[full];
}

void Registry::setString(RootKey root, std::string_view path, std::string_view name, std::string value)
{
    createKey(root, path).setString(name, std::move(value));
}

const RegistryKey* Registry::openKey(RootKey root, std::string_view path) const
{
    const auto it = keys_.find(keyName(root, path));
    return it == keys_.end() ? nullptr : &it->second;
}

Registry Registry::fromText(std::string_view text)
{
    Registry registry;
    RegistryKey* current = nullptr;
    for (const std::string& raw : SplitLines(text)) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            current = nullptr;
            if (line.back() != ']' || line.size() < 3 || line[1] == '-')
                continue;
            const std::string full = line.substr(1, line.size() - 2);
            const size_t slash = full.find('\\');
            const auto root = rootFromName(LowerCase(full.substr(0, slash)));
            if (root)
                current = &registry.createKey(*root, slash == std::string::npos ? "" : full.substr(slash));
            continue;
        }
        std::string name, data;
        if (current && parseValueLine(line, name, data))
            current->setString(name, std::move(data));
    }
    return registry;
}

Registry Registry::fromDesktop()
{
    Registry registry;
    const std::string navigator = findNavigatorProgram();
    if (!navigator.empty())
        registry.setString(RootKey::CurrentUser, "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory",
            navigator.substr(0, navigator.find_last_of('/') + 1));
    std::string command = defaultBrowserCommand();
    if (!command.empty()) {
        if (isNavigatorFamily(commandProgram(command)))
            command = "[netscape] " + command;
        registry.setString(RootKey::ClassesRoot, "HTTP\\shell\\open\\command", "", command);
    }
    return registry;
}

std::string Registry::defaultPath()
{
    return pathFromQ(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        + "/Orvalen/registry.reg";
}

Registry Registry::load()
{
    const char* env = std::getenv("ORVALEN_REGISTRY");
    const std::string path = env && *env ? std::string(env) : defaultPath();
    QFile file(pathToQ(path));
    if (!file.open(QIODevice::ReadOnly))
        return fromDesktop();
    const QByteArray bytes = file.readAll();
    return fromText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace orv
