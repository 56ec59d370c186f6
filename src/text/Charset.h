#pragma once
// Where a page names its character set: the charset parameter of its
// Content-Type, a byte order mark, or a <meta> declaration near its start.
// Each answers a label as the page wrote it (lower-cased, trimmed), or an
// empty text when it names none.
#include <cstddef>
#include <string>
#include <string_view>

namespace orv
{

// How far into a page a <meta> declaration is looked for.
inline constexpr size_t kCharsetPrescanBytes = 1024;

// "text/html; charset=Shift_JIS" gives "shift_jis"; quotes are allowed.
std::string CharsetFromContentType(std::string_view contentType);

// "utf-8", "utf-16le" or "utf-16be" for a page that starts with that byte
// order mark; `bomLength` receives its length.
std::string CharsetFromBom(std::string_view firstBytes, size_t& bomLength);

// The first <meta charset=...> or <meta http-equiv="Content-Type"
// content="...; charset=..."> in `firstBytes` (comments skipped).
std::string CharsetFromMeta(std::string_view firstBytes);

// Whether the Content-Type names a type whose body is not HTML (plain text,
// CSS, JSON...); an empty, HTML or XML type is not.
bool ContentTypeIsPlainText(std::string_view contentType);

} // namespace orv
