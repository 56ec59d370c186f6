#pragma once
// Text inside the program is UTF-8. Bytes from outside (files of the
// single-byte era, pages, pastes) become UTF-8 here, and text leaves in
// forms that must hold valid UTF-8 (CSV, JSON) or plain ASCII (the HTML
// report) through these helpers.
#include <string>
#include <string_view>

namespace orv
{

// Windows-1252 to UTF-8. The five bytes the set leaves undefined (81, 8D,
// 8F, 90, 9D) become the control characters of the same number.
std::string cp1252ToUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// The text of a file: valid UTF-8 stays as it is, less a leading byte order
// mark; anything else is read as Windows-1252.
std::string DecodeFileText(std::string_view bytes);

// `bytes` with every ill-formed UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view bytes);

// Calls `onCodePoint` for each character of `utf8`; an ill-formed sequence
// gives U+FFFD.
template <typename F> void ForEachCodePoint(std::string_view utf8, F&& onCodePoint);

void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point at `utf8[i]` and moves `i` past it; an ill-formed
// sequence gives U+FFFD and moves past its longest well-formed prefix.
char32_t NextCodePoint(std::string_view utf8, size_t& i);

template <typename F> void ForEachCodePoint(std::string_view utf8, F&& onCodePoint)
{
    for (size_t i = 0; i < utf8.size();)
        onCodePoint(NextCodePoint(utf8, i));
}

} // namespace orv
