#pragma once
// Case-insensitive comparison of text under a locale, as the URL lists need
// it. Texts are UTF-8 (bytes that are not UTF-8 read as Windows-1252). The locale's collation decides the
// order with letter case ignored; texts the collation calls equal although
// they differ in more than letter case (it ignores some control characters,
// for instance) are told apart by their case-folded characters, so that only
// letter-case variants of one text compare equal.
//
// The comparison is expressed as a byte string, the key: two texts compare
// as their keys compare with memcmp. Lists keep the key of each entry so that
// a search costs no collation call per step. An instance keeps a work
// buffer: use it from one thread (the user-interface thread) only.
#include <memory>
#include <string>
#include <string_view>

namespace orv
{

class LocaleCollation
{
public:
    // `locale` is an ICU locale name ("de_DE", "sv"); empty or "C" stands for
    // the root order. A name ICU does not know falls back to the root order.
    explicit LocaleCollation(const std::string& locale);
    ~LocaleCollation();
    LocaleCollation(const LocaleCollation&) = delete;
    LocaleCollation& operator=(const LocaleCollation&) = delete;

    // The collation of the user's locale (LC_ALL, LC_COLLATE, LANG), made
    // on first use and kept for the life of the program.
    static const LocaleCollation& user();

    // The locale name taken from the environment as `user()` reads it.
    static std::string userLocaleName();

    // The key of `text`; equal keys mean letter-case variants of one text.
    std::string key(std::string_view text) const;

    // Negative, zero or positive as `a` sorts before, with or after `b`.
    int compare(std::string_view a, std::string_view b) const;

    // The ICU locale the collator actually uses.
    const std::string& localeName() const { return locale_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string locale_;
};

} // namespace orv
