#pragma once
// Building the requests a definition asks for: the query in its URL or form,
// the page number, the headers every request carries.
#include "engines/EngineDefinition.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv
{

// UTF-8 bytes percent-encoded the way a form sends them: letters, digits and
// "-._~" as they are, a blank as "+", every other byte as %XX.
std::string FormEncode(std::string_view text);

// name=value pairs joined with "&", each side form-encoded.
std::string FormBody(const std::vector<std::pair<std::string, std::string>>& fields);

// The value {pageno} takes for page `pageno` (1-based).
long long PageNumberValue(const EngineDefinition& def, int pageno);

// `templ` with {query}, {pageno}, {lang}, {time_range} and {safe_search}
// filled in; other braces stay as they are.
std::string FillPlaceholders(const std::string& templ, const EngineDefinition& def, std::string_view query, int pageno);

// The definition's headers plus the User-Agent, Cookie and, for a POST, the
// Content-Type it needs.
std::vector<std::pair<std::string, std::string>> RequestHeaders(const EngineDefinition& def, bool post);

} // namespace orv
