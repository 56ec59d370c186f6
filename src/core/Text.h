#pragma once
// Text rules shared by every subsystem. Text is bytes (std::string), never
// decoded. Positions count from 1 and a failed search yields 0, so callers can
// write the rules exactly as they are stated instead of index arithmetic.
#include <string>
#include <string_view>

namespace orv {

// 1-based position of the first `needle` in `text`, 0 when absent or empty.
int Pos(std::string_view needle, std::string_view text);

// 1-based position of `needle` at or after `from` (1-based), 0 when absent.
int PosFrom(std::string_view needle, std::string_view text, int from);

// `count` characters from the 1-based position `index`; an index below 1
// counts as 1, and whatever lies beyond the end is simply not there.
std::string Copy(std::string_view text, int index, int count);

// Everything from the 1-based position `index` to the end.
std::string CopyFrom(std::string_view text, int index);

// Removes `count` characters at the 1-based position `index`; an index
// outside the text changes nothing.
void Delete(std::string& text, int index, int count);

// The character at the 1-based position, or '\0' outside the text.
char CharAt(std::string_view text, int index);

int Length(std::string_view text);

// Converts a whole number: leading blanks, an optional sign, decimal digits
// or "$" followed by hexadecimal digits, and nothing after. Anything else,
// or a value outside 32 bits, throws EConvertError with the text
// "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);

// As StrToInt, but answers `fallback` instead of throwing.
int StrToIntDef(std::string_view text, int fallback);

// Whether StrToInt would accept the text; `value` receives it.
bool TryStrToInt(std::string_view text, int& value);

std::string IntToStr(long long value);

// Lowers (raises) the 26 ASCII letters only; every other byte stays.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// Removes leading and trailing bytes at or below the blank (controls too).
std::string Trim(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

} // namespace orv
