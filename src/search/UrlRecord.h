#pragma once
// The text form of the URL records kept in the URL lists.
//
// A master record is one line: the URL, ",,,,,", the check digit ("1" the
// row is ticked, "0" not), ",,,,,", the status digit ("0" to "5"). An
// approved record is the URL alone. Records are read by position, so that a
// damaged line still gives a caption, a check and a status character
// instead of an error: the URL is the text before the first separator (empty
// when there is none), the check character lies 6 and the status character
// 12 characters after the URL's end.
#include <string>
#include <string_view>

namespace orv {

inline constexpr std::string_view kRecordSeparator = ",,,,,";

// The ending of a record a search run adds: not ticked, not verified.
inline constexpr std::string_view kNewRecordFields = ",,,,,0,,,,,0";

// The text a provisional row shows until the results view is rebuilt; it
// stands for status 0 like "Not Verified".
inline constexpr std::string_view kUnverifiedText = "UnVerified";

enum class UrlStatus : char {
    NotVerified = '0',
    Verified = '1',
    Timeout = '2',
    Error = '3',
    SiteNotFound = '4',
    FileNotFound = '5',
};

// "Not Verified", "Verified", "Timeout", "Error", "Site Not Found",
// "File Not Found".
std::string_view statusText(UrlStatus status);

// The Status column text for a status character as read from a record: the
// status text for "0" to "5", the character itself for any other, and
// empty when the record ends before it ('\0').
std::string statusColumnText(char statusChar);

std::string makeMasterRecord(std::string_view url, char checkDigit = '0', char statusDigit = '0');

// The URL of a record: the text before the first ",,,,,", empty without one.
std::string recordUrl(std::string_view record);

// The check and status characters of a record, '\0' when the record ends
// before them.
char recordCheckChar(std::string_view record);
char recordStatusChar(std::string_view record);

// Whether a URL can stand in a record without changing its fields or
// breaking its line: no ",,,,," and no line break.
bool fitsInRecord(std::string_view url);

} // namespace orv
