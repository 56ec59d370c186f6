#pragma once
// What the desktop says about web browsers: the navigator's descendants
// installed on PATH and the desktop's default browser for http URLs.
#include <string>

namespace orv
{

// True when `program` (a name or path, any case) names a browser of the
// navigator's family.
bool isNavigatorFamily(const std::string& program);

// The full path of the first navigator-family browser found on PATH, or "".
std::string findNavigatorProgram();

// The command line of the desktop's default browser for http URLs, read from
// $BROWSER or the x-scheme-handler/http association (mimeapps.list and the
// application's .desktop file). "" when the desktop names none.
std::string defaultBrowserCommand();

// The program (first word, quotes removed) of a command line.
std::string commandProgram(const std::string& command);

// `url` as the one argument a browser is started with, in a form the browser
// cannot take for an option: a URL beginning with "-" (no scheme, as a
// browser reads a bare host name) gets "http://" in front. Others are unchanged.
std::string browserArgument(const std::string& url);

} // namespace orv
