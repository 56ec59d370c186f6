#pragma once
// Text as the page text matching compares it: Unicode case folding with
// both sides in NFC, so that "ΩΜΈΓΑ" and "ωμέγα" are the same text and
// "café" written with a combining accent is the same as with a precomposed
// one; accents are kept ("cafe" is not "café").
#include <string>
#include <string_view>

namespace orv
{

// Appends the folded NFC form of `utf8` to `out`. ASCII text is only
// lowered, which is what folding does to it.
void AppendFolded(std::string_view utf8, std::string& out);

std::string Folded(std::string_view utf8);

// Whether `c` counts as white space in page text: the HTML blanks and the
// no-break space (given as UTF-8 bytes, so its lead byte C2 is tested by
// the caller with the next byte).
inline bool IsHtmlBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Runs of white space (and no-break spaces) become one blank.
std::string CollapseBlanks(std::string_view utf8);

} // namespace orv
