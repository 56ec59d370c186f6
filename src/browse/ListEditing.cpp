#include "browse/ListEditing.h"

#include "core/Text.h"

namespace orv
{

std::string deleteQuestion(int count)
{
    if (count == 1)
        return "Are you sure you want to delete this item?";
    return "Are you sure you want to delete these " + IntToStr(count) + " items?";
}

void eraseRows(std::vector<std::string>& list, const std::vector<int>& ascending)
{
    auto next = ascending.begin();
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        while (next != ascending.end() && *next < static_cast<int>(i))
            ++next;
        if (next != ascending.end() && *next == static_cast<int>(i))
            continue;
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

std::optional<std::string> clipboardUrlOfRecord(std::string_view record)
{
    const int at = Pos(",,,,,", record);
    if (at == 0)
        return std::nullopt;
    return Copy(record, 1, at - 1);
}

Lines pastedEntries(std::string_view clipboardText)
{
    Lines entries;
    for (std::string& line : SplitLines(clipboardText))
        if (!line.empty())
            entries.push_back(std::move(line));
    return entries;
}

int findEntry(const Lines& entries, std::string_view text, int from)
{
    if (text.empty())
        return -1;
    for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < entries.size(); ++i)
        if (entries[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

std::string notFoundMessage(std::string_view findText)
{
    return std::string(findText) + " not found";
}

} // namespace orv
