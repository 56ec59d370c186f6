#pragma once
// The two texts the primary scan captures from a page line: the title and
// the meta description, each taken from the first line that holds its tag.
#include <optional>
#include <string>
#include <string_view>

namespace orv
{

inline constexpr std::string_view kTitleOpen = "<title";
inline constexpr std::string_view kTitleClose = "</title";
inline constexpr std::string_view kMetaDescription = "<meta name=\"description\" content=\"";

// The text after the first "<title" (taken as a bare "<title>" tag) up to
// "</title" on the same line; empty when the closing tag is not on that
// line. nullopt when the line does not hold "<title". `lowered` is `line`
// with the ASCII capitals lowered.
std::optional<std::string> TitleOfLine(std::string_view line, std::string_view lowered);

// The content of the first `<meta name="description" content="` tag: the
// text after the opening quote up to the next double quote; on a line
// without one, the rest of the line less its last three characters.
// nullopt when the line does not hold the tag.
std::optional<std::string> MetaDescriptionOfLine(std::string_view line, std::string_view lowered);

} // namespace orv
