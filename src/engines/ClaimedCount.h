#pragma once
// The number of results an engine claims, picked out of a line such as
// "About 38,500 results" or "Results 1 to 10 from 5,280,016".
#include <optional>
#include <string>
#include <string_view>

namespace orv
{

// With a pattern (a regular expression), the number is in its first group, or
// in the whole match when it has none; without one, the first number of the
// text. Thousands separators (",", ".", "'", blanks) are ignored. Nothing when
// there is no number, the pattern does not match, or the number is too large.
std::optional<long long> ClaimedCount(std::string_view text, const std::string& pattern);

// Empty when `pattern` is a valid regular expression; otherwise the reason.
std::string CountPatternError(const std::string& pattern);

} // namespace orv
