#pragma once
// A read-only key/value store standing in for the system registry, which
// the program reads to find the installed browsers. It is read from a
// REGEDIT4-style text file:
//
//   REGEDIT4
//   [HKEY_CURRENT_USER\Software\Netscape\Netscape Navigator\Main]
//   "Install Directory"="C:\\Program Files\\Netscape"
//   @="the key's default value"
//   "Count"=dword:0000002a
//
// Key and value names compare without regard to ASCII case. A key exists
// when its section or a section below it appears. Without a file the store
// answers from the desktop (see `fromDesktop`). Nothing is ever written.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orv
{

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine };

class RegistryKey
{
public:
    // The text of value `name` ("" names the default value); nullopt when the
    // key has no such value. Double-word values read as their decimal text.
    std::optional<std::string> readString(std::string_view name) const;

    void setString(std::string_view name, std::string value);

private:
    std::map<std::string, std::string> values_; // lower-cased name -> data
};

class Registry
{
public:
    // Parses REGEDIT4 text. Lines it does not understand (binary values,
    // deletions, comments) are skipped.
    static Registry fromText(std::string_view text);

    // Answers from the desktop: a navigator-family browser on PATH stands as
    // the navigator's "Install Directory" (its folder), and the desktop's
    // default browser command as the HTTP open command, marked with
    // "[netscape]" in front when it is a navigator-family browser.
    static Registry fromDesktop();

    // The file named by $ORVALEN_REGISTRY, else `defaultPath()`; the desktop
    // when that file does not exist or cannot be read.
    static Registry load();

    // "<user config folder>/Orvalen/registry.reg".
    static std::string defaultPath();

    // Opens the key at `path` ("\Software\..." or "Software\...") under
    // `root` without creating it; nullptr when it does not exist. The
    // pointer is valid as long as the registry.
    const RegistryKey* openKey(RootKey root, std::string_view path) const;

    // Sets a value, creating the key and its parents in this in-memory store.
    void setString(RootKey root, std::string_view path, std::string_view name, std::string value);

private:
    RegistryKey& createKey(RootKey root, std::string_view path);

    std::map<std::string, RegistryKey> keys_; // "root\lower\case\path" -> values
};

} // namespace orv
