#pragma once
// Text leaves the program as UTF-8 where a format demands it (CSV, JSON).
// Everything inside is Windows-1252 bytes, and every byte of that set has a
// character, so the conversion never fails and its output is always valid
// UTF-8, whatever a page or a file put into the lists.
#include <string>
#include <string_view>

namespace orv
{

// Windows-1252 to UTF-8. The five bytes the set leaves undefined (81, 8D,
// 8F, 90, 9D) become the control characters of the same number.
std::string cp1252ToUtf8(std::string_view bytes);

} // namespace orv
