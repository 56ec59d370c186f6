#include "core/Utf8.h"

#include <unicode/utf8.h>

#include <array>
#include <cstdint>

namespace orv
{

namespace
{

// Code points of bytes 80 to 9F; the rest of the set equals Latin-1.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

void AppendUtf8(std::string& out, char32_t codePoint)
{
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    UBool failed = false;
    U8_APPEND(buffer, length, U8_MAX_LENGTH, static_cast<UChar32>(codePoint), failed);
    if (failed) {
        AppendUtf8(out, U'\uFFFD');
        return;
    }
    out.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
}

char32_t NextCodePoint(std::string_view utf8, size_t& i)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    auto at = static_cast<int32_t>(i);
    UChar32 c = 0;
    U8_NEXT_OR_FFFD(bytes, at, length, c);
    i = static_cast<size_t>(at);
    return static_cast<char32_t>(c);
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else if (byte < 0xA0)
            AppendUtf8(out, kHighControls[byte - 0x80]);
        else
            AppendUtf8(out, byte);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    for (int32_t i = 0; i < length;) {
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(data, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string DecodeFileText(std::string_view bytes)
{
    if (!IsValidUtf8(bytes))
        return cp1252ToUtf8(bytes);
    if (bytes.starts_with(kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    return std::string(bytes);
}

std::string ValidUtf8(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 8);
    ForEachCodePoint(bytes, [&out](char32_t c) { AppendUtf8(out, c); });
    return out;
}

} // namespace orv
