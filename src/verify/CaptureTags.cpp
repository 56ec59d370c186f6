#include "verify/CaptureTags.h"

#include "core/Text.h"

namespace orv
{

std::optional<std::string> TitleOfLine(std::string_view line, std::string_view lowered)
{
    const int p = Pos(kTitleOpen, lowered);
    if (p == 0)
        return std::nullopt;
    // Position p + 7 is the first character after a bare "<title>" tag.
    const std::string rest = CopyFrom(line, p + 7);
    const int close = Pos(kTitleClose, CopyFrom(lowered, p + 7));
    if (close == 0)
        return std::string();
    return Copy(rest, 1, close - 1);
}

std::optional<std::string> MetaDescriptionOfLine(std::string_view line, std::string_view lowered)
{
    const int p = Pos(kMetaDescription, lowered);
    if (p == 0)
        return std::nullopt;
    const int from = p + static_cast<int>(kMetaDescription.size());
    // The content ends at its closing quote.
    if (const int quote = PosFrom("\"", line, from); quote > 0)
        return Copy(line, from, quote - from);
    // Without one, the rest of the line less its last three characters.
    const int length = Length(line) - p - 36;
    if (length <= 0)
        return std::string();
    return Copy(line, from, length);
}

} // namespace orv
