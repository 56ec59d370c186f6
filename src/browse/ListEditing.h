#pragma once
// The text decisions of the list-editing commands (delete, cut, copy, paste,
// find), kept apart from the views so they can be tested on their own.
#include "core/Lines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

// The question Delete asks before removing `count` selected rows.
std::string deleteQuestion(int count);

// The refusal shown while a search or retrieval run owns the lists.
inline constexpr const char* kWaitForRunMessage = "Please wait until the search/retrieval has finished";

// The row to select after deleting from `firstSelected` (0-based): the row
// above it, or the top row.
inline int rowAfterDelete(int firstSelected)
{
    return firstSelected > 0 ? firstSelected - 1 : 0;
}

// Removes the entries at these positions (ascending, each once) in one
// pass; positions past the end are ignored, as a description list may be
// shorter than its URL list.
void eraseRows(std::vector<std::string>& list, const std::vector<int>& ascending);

// The URL a master record puts on the clipboard: the text before its first
// record separator; nothing when the record has no separator.
std::optional<std::string> clipboardUrlOfRecord(std::string_view record);

// The entries that pasted text adds to the approved list: one per non-empty
// line, so that no entry holds a line break.
Lines pastedEntries(std::string_view clipboardText);

// The first entry at or after `from` (0-based) that holds `text` with exact
// letter case, or -1. An empty find text matches nothing.
int findEntry(const Lines& entries, std::string_view text, int from);

// The text of the " not found" notice.
std::string notFoundMessage(std::string_view findText);

} // namespace orv
