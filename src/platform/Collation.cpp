#include "platform/Collation.h"

#include "core/Utf8.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace orv
{

namespace
{

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes keep their C1
// code points, as the platform's own conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

char16_t fromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kCp1252High[byte - 0x80];
    return byte;
}

// "de_DE.UTF-8@euro" -> "de_DE"; the C and POSIX locales name no language
// and take the root order (ICU's POSIX tailoring would order by code point
// and tell letter case apart at the first level).
std::string icuNameOf(std::string name)
{
    if (const auto at = name.find('@'); at != std::string::npos)
        name.erase(at);
    if (const auto dot = name.find('.'); dot != std::string::npos)
        name.erase(dot);
    if (name == "C" || name == "POSIX")
        return "";
    return name;
}

} // namespace

struct LocaleCollation::Impl {
    UCollator* collator = nullptr;
    mutable std::vector<UChar> wide;
};

LocaleCollation::LocaleCollation(const std::string& locale)
    : impl_(std::make_unique<Impl>())
    , locale_(icuNameOf(locale))
{
    UErrorCode status = U_ZERO_ERROR;
    impl_->collator = ucol_open(locale_.c_str(), &status);
    if (U_FAILURE(status) || !impl_->collator) {
        status = U_ZERO_ERROR;
        locale_.clear();
        impl_->collator = ucol_open("", &status);
    }
    if (!impl_->collator)
        std::abort(); // the root collation is built into ICU's data; without it nothing can sort
    // Secondary strength: base letters and accents count, letter case does not.
    ucol_setStrength(impl_->collator, UCOL_SECONDARY);
}

LocaleCollation::~LocaleCollation()
{
    ucol_close(impl_->collator);
}

std::string LocaleCollation::userLocaleName()
{
    for (const char* var : { "LC_ALL", "LC_COLLATE", "LANG" }) {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    return "";
}

const LocaleCollation& LocaleCollation::user()
{
    static const LocaleCollation collation(userLocaleName());
    return collation;
}

std::string LocaleCollation::key(std::string_view text) const
{
    // UTF-8, as the lists hold it; bytes that are not UTF-8 are read as
    // Windows-1252, as files are, so that distinct texts keep distinct keys.
    std::vector<UChar>& wide = impl_->wide;
    wide.clear();
    if (IsValidUtf8(text)) {
        wide.resize(text.size() + 1);
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(),
            static_cast<int32_t>(text.size()), &status);
        wide.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    } else {
        for (const char c : text)
            wide.push_back(fromCp1252(static_cast<unsigned char>(c)));
    }

    std::string out(wide.size() * 4 + 16, '\0');
    auto fill = [&] {
        return ucol_getSortKey(impl_->collator, wide.data(), static_cast<int32_t>(wide.size()),
            reinterpret_cast<uint8_t*>(out.data()), static_cast<int32_t>(out.size()));
    };
    int32_t length = fill();
    if (length > static_cast<int32_t>(out.size())) {
        out.resize(static_cast<size_t>(length));
        length = fill();
    }
    // The collation key ends in its NUL, which no other byte of it is, so
    // what follows only decides between texts with equal collation keys.
    out.resize(static_cast<size_t>(length));
    const auto units = static_cast<int32_t>(wide.size());
    for (int32_t i = 0; i < units;) {
        UChar32 c = 0;
        U16_NEXT(wide.data(), i, units, c);
        AppendUtf8(out, static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT)));
    }
    return out;
}

int LocaleCollation::compare(std::string_view a, std::string_view b) const
{
    return key(a).compare(key(b));
}

} // namespace orv
