#include "files/Reports.h"

#include "core/Text.h"
#include "core/Utf8.h"

namespace orv
{
namespace
{

void append(Lines& out, const Lines& entries)
{
    out.insert(out.end(), entries.begin(), entries.end());
}

// Text taken from data (criteria, URLs cut from web pages) as HTML text and
// attribute value: the four characters that can end an attribute or start
// markup become entities, so the text can only ever show as text. Every
// character beyond ASCII becomes a numeric character reference: the report
// declares no character set (its fixed lines are Windows-1252), and a
// reference shows the same in every browser.
std::string htmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&out](char32_t c) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (c < 0x80)
                out += static_cast<char>(c);
            else
                out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ';';
        }
    });
    return out;
}

void htmlCriteriaBlock(Lines& out, const char* heading, const Lines& entries)
{
    out.emplace_back(heading);
    out.emplace_back("<OL>");
    for (const std::string& entry : entries)
        out.push_back(htmlEscaped(entry));
    out.emplace_back("</OL>");
}

} // namespace

Lines htmlReport(const CriteriaSections& criteria, const Lines& approved)
{
    Lines out = { "<HTML>", "<head>", "<TITLE>ApprovedUrl</TITLE>", "<BODY>", "<H1>Orvalen\xA9 Results</H1>" };
    htmlCriteriaBlock(out, "<H3> Primary Search Criteria</H3>", criteria.primary);
    htmlCriteriaBlock(out, "<H3> Secondary Search Criteria</H3>", criteria.secondary);
    htmlCriteriaBlock(out, "<H3> Exclusion Criteria</H3>", criteria.exclusion);
    out.push_back("<B>Total Urls </B>" + IntToStr(static_cast<long long>(approved.size())) + "<BR>");
    out.emplace_back("<OL>");
    for (const std::string& url : approved) {
        const std::string shown = htmlEscaped(url);
        out.push_back("<LI><A HREF=\"" + shown + "\">" + shown + "</A><BR>");
    }
    out.emplace_back("</OL>");
    out.emplace_back("<H2><P><B>End Data</B></P></H2>");
    out.emplace_back("</BODY>");
    out.emplace_back("</HTML>");
    return out;
}

Lines textReport(const CriteriaSections& criteria, const Lines& approved)
{
    Lines out = { "Orvalen Results", "", "Primary Search Criteria" };
    append(out, criteria.primary);
    out.emplace_back("Secondary Search Criteria");
    append(out, criteria.secondary);
    out.emplace_back("Exclusion Criteria");
    append(out, criteria.exclusion);
    out.push_back("Total Urls " + IntToStr(static_cast<long long>(approved.size())));
    append(out, approved);
    out.emplace_back("End Data");
    return out;
}

} // namespace orv
