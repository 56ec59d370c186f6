#pragma once
// Reading one line of a response header, free of sockets and events.
#include <string>

namespace orv
{

// A status line begins with exactly "HTTP/1.0" or "HTTP/1.1"; the code is
// characters 10 to 12 and the reason phrase runs from character 14 to the end.
bool ParseStatusLine(const std::string& line, int& statusCode, std::string& reasonPhrase);

// Whether a status line carries its three-digit code after the version.
bool StatusLineHasCode(const std::string& line);

// "Name: value": the name in lower case, the value from two characters after
// the first ":" (one blank assumed). False for a line without ":".
bool SplitHeaderField(const std::string& line, std::string& name, std::string& value);

// The leading decimal digits of a header value, blanks around it ignored.
long long HeaderNumber(const std::string& value);

} // namespace orv
