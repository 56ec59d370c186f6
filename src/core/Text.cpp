#include "core/Text.h"

#include "core/Errors.h"

#include <climits>

namespace orv {

int Pos(std::string_view needle, std::string_view text)
{
    return PosFrom(needle, text, 1);
}

int PosFrom(std::string_view needle, std::string_view text, int from)
{
    if (needle.empty() || from < 1 || static_cast<size_t>(from) > text.size())
        return 0;
    const size_t at = text.find(needle, static_cast<size_t>(from - 1));
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string Copy(std::string_view text, int index, int count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || static_cast<size_t>(index) > text.size())
        return {};
    return std::string(text.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

std::string CopyFrom(std::string_view text, int index)
{
    return Copy(text, index, INT_MAX);
}

void Delete(std::string& text, int index, int count)
{
    if (index < 1 || count <= 0 || static_cast<size_t>(index) > text.size())
        return;
    text.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

char CharAt(std::string_view text, int index)
{
    if (index < 1 || static_cast<size_t>(index) > text.size())
        return '\0';
    return text[static_cast<size_t>(index - 1)];
}

int Length(std::string_view text)
{
    return static_cast<int>(text.size());
}

bool TryStrToInt(std::string_view text, int& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return false;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0x100000000LL)
            return false;
    }
    long long result = negative ? -magnitude : magnitude;
    if (base == 16 && !negative && result <= 0xFFFFFFFFLL && result > INT_MAX)
        result -= 0x100000000LL; // "$FFFFFFFF" is -1, as a 32-bit pattern
    if (result < INT_MIN || result > INT_MAX)
        return false;
    value = static_cast<int>(result);
    return true;
}

int StrToInt(std::string_view text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

int StrToIntDef(std::string_view text, int fallback)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

std::string IntToStr(long long value)
{
    return std::to_string(value);
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string Trim(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

} // namespace orv
