#include "net/HttpUrl.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdio>

namespace orv
{

TUrlParts ParseURL(const std::string& url)
{
    TUrlParts p;
    std::string rest;
    const int sep = Pos("://", url);
    if (sep > 0) {
        p.proto = Copy(url, 1, sep - 1);
        rest = CopyFrom(url, sep + 3);
    } else if (CharAt(url, 1) == '/') {
        p.proto = "http";
        if (Length(url) > 1 && CharAt(url, 2) != '/') {
            p.path = url;
            return p;
        }
        rest = CopyFrom(url, 2);
    } else if (LowerCase(Copy(url, 1, 5)) != "http:") {
        if (LowerCase(Copy(url, 1, 7)) == "mailto:") {
            p.proto = "mailto";
            rest = CopyFrom(url, Pos(":", url) + 1);
        } else {
            rest = url;
        }
    } else {
        p.proto = "http";
        if (Length(url) > 6 && CharAt(url, 7) != '/') {
            p.path = CopyFrom(url, 6);
            return p;
        }
        rest = CopyFrom(url, 7);
    }

    const int slash = Pos("/", rest);
    std::string authority = rest;
    if (slash > 0) {
        p.path = CopyFrom(rest, slash);
        authority = Copy(rest, 1, slash - 1);
    }

    const size_t atAt = authority.rfind('@');
    size_t colonAt = authority.rfind(':');
    const size_t bracket = authority.find('[', atAt == std::string::npos ? 0 : atAt + 1);
    if (bracket != std::string::npos) {
        // An IPv6 literal: its colons are not the port's.
        const size_t close = authority.find(']', bracket);
        colonAt = close == std::string::npos ? std::string::npos : authority.find(':', close);
    }
    if (colonAt == std::string::npos && atAt == std::string::npos) {
        p.host = authority;
        return p;
    }
    if (colonAt != std::string::npos && (atAt == std::string::npos || colonAt > atAt)) {
        p.port = authority.substr(colonAt + 1);
        const size_t hostFrom = atAt == std::string::npos ? 0 : atAt + 1;
        p.host = authority.substr(hostFrom, colonAt - hostFrom);
    } else {
        p.host = authority.substr(atAt + 1);
    }
    if (atAt != std::string::npos) {
        const std::string cred = authority.substr(0, atAt);
        const size_t c = cred.find(':');
        p.user = cred.substr(0, c);
        if (c != std::string::npos)
            p.pass = cred.substr(c + 1);
    }
    return p;
}

std::string DocNameFromPath(const std::string& path)
{
    if (path.empty() || path == "/")
        return "document.htm";
    std::string name = path;
    if (name.back() == '/')
        name.pop_back();
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    name = name.substr(0, 255);
    const size_t q = name.find('?');
    if (q != std::string::npos)
        name.resize(q);
    return name;
}

std::string RenameExeDocument(const std::string& docName, const std::string& contentType)
{
    if (!EndsWith(LowerCase(docName), ".exe") || contentType != "text/html")
        return docName;
    return docName.substr(0, docName.size() - 3) + "htm";
}

std::string Base64Encode(const std::string& bytes)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16)
            | (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += alphabet[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned v
            = (static_cast<unsigned char>(bytes[i]) << 16) | (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += two ? alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string HttpDateText(const TDateFields& d)
{
    static const char days[] = "MonTueWedThuFriSatSun";
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const int dow = d.dayOfWeek >= 1 && d.dayOfWeek <= 7 ? d.dayOfWeek : 1;
    const int mon = d.month >= 1 && d.month <= 12 ? d.month : 1;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%2.2d %.3s %4.4d %2.2d:%2.2d:%2.2d", d.day, months + 3 * (mon - 1), d.year, d.hour,
        d.minute, d.second);
    return std::string(days + 3 * (dow - 1), 3) + ", " + buf;
}

bool ValidHeaderField(const std::string& name, const std::string& value)
{
    static const std::string separators = "()<>@,;:\\\"/[]?={} \t";
    if (name.empty())
        return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) >= 127
            || separators.find(c) != std::string::npos)
            return false;
    return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::vector<std::string> BuildRequestLines(const TRequestFields& f)
{
    std::vector<std::string> lines;
    lines.push_back(f.method + " " + f.path + (f.http11 ? " HTTP/1.1" : " HTTP/1.0"));
    if (!f.sender.empty())
        lines.push_back("From: " + f.sender);
    if (!f.reference.empty())
        lines.push_back("Referer: " + f.reference);
    if (!f.agent.empty())
        lines.push_back("User-Agent: " + f.agent);
    lines.push_back("Host: " + f.hostName);
    if (f.noCache)
        lines.push_back("Pragma: no-cache");
    if (!f.modifiedSince.empty())
        lines.push_back("If-Modified-Since: " + f.modifiedSince + " GMT");
    if (!f.username.empty())
        lines.push_back("Authorization: Basic " + Base64Encode(f.username + ":" + f.password));
    if (f.useProxy && !f.proxyUsername.empty())
        lines.push_back("Proxy-Authorization: Basic " + Base64Encode(f.proxyUsername + ":" + f.proxyPassword));
    if (!f.cookie.empty())
        lines.push_back("Cookie: " + f.cookie);
    if (f.acceptEncoding)
        lines.push_back("Accept-Encoding: gzip, deflate");
    if (f.bodyLength >= 0) {
        const bool typed = std::any_of(f.extraHeaders.begin(), f.extraHeaders.end(),
            [](const auto& h) { return LowerCase(h.first) == "content-type"; });
        if (!typed && !f.contentType.empty())
            lines.push_back("Content-Type: " + f.contentType);
        lines.push_back("Content-Length: " + IntToStr(f.bodyLength));
    }
    for (const auto& [name, value] : f.extraHeaders)
        lines.push_back(name + ": " + value);
    lines.emplace_back();
    return lines;
}

bool IsSecureScheme(const std::string& proto)
{
    return LowerCase(proto) == "https";
}

std::string DefaultPort(const std::string& proto)
{
    return IsSecureScheme(proto) ? "443" : "80";
}

} // namespace orv
