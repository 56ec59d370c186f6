#pragma once
// The text rules of the HTTP client, free of sockets and events: splitting a
// URL, naming the downloaded document, and writing the request lines.
#include <string>
#include <utility>
#include <vector>

namespace orv
{

struct TUrlParts {
    std::string proto; // scheme, "http" when implied; empty when the text names none
    std::string user;
    std::string pass;
    std::string host;
    std::string port;
    std::string path; // everything from the first "/" of the rest, query included
};

// Splits "[scheme://][user[:password]@]host[:port][path]"; also used for the
// proxy setting and for "location" values, which may be relative.
TUrlParts ParseURL(const std::string& url);

// Whether a scheme asks for TLS ("https", in any letter case).
bool IsSecureScheme(const std::string& proto);
// The port a scheme implies: "443" for https, "80" for anything else.
std::string DefaultPort(const std::string& proto);

// The document name a request path gives: the last segment (one trailing "/"
// dropped, at most 255 characters) cut before the first "?";
// "document.htm" for an empty path or "/".
std::string DocNameFromPath(const std::string& path);

// A ".exe" document served as "text/html" is stored as ".htm".
std::string RenameExeDocument(const std::string& docName, const std::string& contentType);

// RFC 2045 Base64 with "=" padding.
std::string Base64Encode(const std::string& bytes);

// "Day, DD Mon YYYY HH:MM:SS" of a local date and time, as sent in
// If-Modified-Since (the caller adds " GMT").
struct TDateFields {
    int year, month, day, hour, minute, second;
    int dayOfWeek; // 1 = Monday ... 7 = Sunday
};
std::string HttpDateText(const TDateFields& d);

// Everything that goes into the request header.
struct TRequestFields {
    std::string method = "GET";
    bool http11 = false; // "HTTP/1.1" with persistent connections, else the HTTP/1.0 request
    std::string path; // what follows the method
    std::string hostName; // sent in "Host: "
    std::string sender, reference, agent;
    std::string username, password;
    bool useProxy = false;
    std::string proxyUsername, proxyPassword;
    bool noCache = false;
    std::string modifiedSince; // HttpDateText, empty when not set
    std::string cookie;
    bool acceptEncoding = false; // ask for gzip or deflate
    long long bodyLength = -1; // Content-Length of the body sent; -1: no body
    std::string contentType; // sent with a body unless an extra header names one
    std::vector<std::pair<std::string, std::string>> extraHeaders; // after the others
};
// Whether a header may be sent as "name: value": the name a token, the
// value free of line ends and NUL.
bool ValidHeaderField(const std::string& name, const std::string& value);

// The request lines without line ends; the last one is the empty line.
std::vector<std::string> BuildRequestLines(const TRequestFields& f);

} // namespace orv
