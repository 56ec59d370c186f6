#pragma once
// The user's criteria as the scans and the engines use them: three word
// lists taken from the criteria boxes, and the query text built from the
// Primary lines. Accepting the criteria rebuilds all of it at once; editing
// the boxes alone changes nothing here.
#include "core/Lines.h"

#include <string>
#include <string_view>

namespace orv
{

// Each line of a criteria box is read up to this many characters.
inline constexpr size_t kCriterionMaxLength = 4096;

// Written over the current data file name when a downloaded page cannot be
// read back, so that the retrieval run records "File Not Found".
inline constexpr std::string_view kPageErrorMarker = "There has been an error";

// The lines of a criteria box: its text split at CR, LF or CR LF, where a
// text ending in a line break has no empty line after it and an empty text
// has no lines. Every line is cut to kCriterionMaxLength characters.
Lines CriteriaLines(std::string_view boxText);

// The box text whose CriteriaLines are exactly `lines` (lines up to
// kCriterionMaxLength characters): the lines joined by line feeds, with one
// more line feed after a last line that is empty, so that empty lines at
// either end stay entries of their own.
std::string CriteriaBoxText(const Lines& lines);

// The Primary lines joined with "+", every blank inside a line also
// becoming "+". An empty line gives an empty place between two plus signs.
std::string BuildQueryText(const Lines& primary);

// The query text with every double quote written as "%22"; nothing else is
// escaped.
std::string QuoteEscapeQueryText(std::string_view queryText);

struct WordLists {
    Lines primary; // every Primary line, empty lines included
    Lines secondary; // the non-empty Secondary lines
    Lines exclusion; // the non-empty Exclusion lines
    std::string queryText;
    std::string quotedQueryText;
};

// Builds the word lists and both query texts from the texts of the three
// criteria boxes.
WordLists BuildWordLists(std::string_view primaryText, std::string_view secondaryText, std::string_view exclusionText);

} // namespace orv
