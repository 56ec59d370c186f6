#pragma once
// The help file: an HTML page made at build time from the manual page's
// source, so that the two never tell different stories. Help (and F1) opens
// it from the program folder as the shell opens any document.
#include "core/Lines.h"

#include <string>

namespace orv
{

inline constexpr const char* kHelpFileName = "Orvalen.html";

// Turns a manual page (the man(7) requests the page uses: TH, SH, SS, PP,
// TP, B, I, BR, RB, IR, RI, BI, IB, br, nf, fi, RS, RE, comments) into a
// complete HTML document. Unknown requests are dropped; text is escaped.
std::string ManPageToHtml(const Lines& page);

// Where Help finds its file: the first that exists of the program folder's,
// the one beside the program and the installed one (<prefix>/share/orvalen);
// the program folder's when none does (opening it then fails unreported).
std::string FindHelpFile(const std::string& programFolder, const std::string& executableFolder);

} // namespace orv
