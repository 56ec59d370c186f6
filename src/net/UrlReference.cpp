#include "net/UrlReference.h"

#include "core/Text.h"

#include <cctype>
#include <optional>

namespace orv
{
namespace
{

struct Parts {
    std::optional<std::string> scheme, authority, query, fragment;
    std::string path;
};

bool validScheme(const std::string& s)
{
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0])))
        return false;
    for (const char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

// The split of RFC 3986 appendix B.
Parts split(const std::string& u)
{
    Parts p;
    size_t i = 0;
    const size_t colon = u.find_first_of(":/?#");
    if (colon != std::string::npos && u[colon] == ':' && validScheme(u.substr(0, colon))) {
        p.scheme = u.substr(0, colon);
        i = colon + 1;
    }
    if (u.compare(i, 2, "//") == 0) {
        const size_t end = u.find_first_of("/?#", i + 2);
        p.authority = u.substr(i + 2, end == std::string::npos ? std::string::npos : end - i - 2);
        i = end == std::string::npos ? u.size() : end;
    }
    const size_t pathEnd = std::min(u.find_first_of("?#", i), u.size());
    p.path = u.substr(i, pathEnd - i);
    i = pathEnd;
    if (i < u.size() && u[i] == '?') {
        const size_t end = std::min(u.find('#', i), u.size());
        p.query = u.substr(i + 1, end - i - 1);
        i = end;
    }
    if (i < u.size() && u[i] == '#')
        p.fragment = u.substr(i + 1);
    return p;
}

// RFC 3986 section 5.2.4.
std::string removeDotSegments(std::string in)
{
    std::string out;
    while (!in.empty()) {
        if (in.rfind("../", 0) == 0)
            in.erase(0, 3);
        else if (in.rfind("./", 0) == 0)
            in.erase(0, 2);
        else if (in.rfind("/./", 0) == 0)
            in.erase(0, 2);
        else if (in == "/.")
            in = "/";
        else if (in.rfind("/../", 0) == 0 || in == "/..") {
            in = in == "/.." ? "/" : in.substr(3);
            const size_t last = out.rfind('/');
            out.erase(last == std::string::npos ? 0 : last);
        } else if (in == "." || in == "..")
            in.clear();
        else {
            const size_t next = in.find('/', in[0] == '/' ? 1 : 0);
            out += in.substr(0, next);
            in.erase(0, next == std::string::npos ? in.size() : next);
        }
    }
    return out;
}

std::string merge(const Parts& base, const std::string& path)
{
    if (base.authority && base.path.empty())
        return "/" + path;
    const size_t slash = base.path.rfind('/');
    return (slash == std::string::npos ? std::string() : base.path.substr(0, slash + 1)) + path;
}

} // namespace

std::string ResolveReference(const std::string& base, const std::string& reference)
{
    const Parts b = split(base);
    const Parts r = split(reference);
    Parts t;
    if (r.scheme) {
        t = r;
        t.path = removeDotSegments(r.path);
    } else {
        if (r.authority) {
            t.authority = r.authority;
            t.path = removeDotSegments(r.path);
            t.query = r.query;
        } else {
            if (r.path.empty()) {
                t.path = b.path;
                t.query = r.query ? r.query : b.query;
            } else {
                t.path = removeDotSegments(r.path[0] == '/' ? r.path : merge(b, r.path));
                t.query = r.query;
            }
            t.authority = b.authority;
        }
        t.scheme = b.scheme;
    }
    t.fragment = r.fragment;
    std::string out;
    if (t.scheme)
        out += *t.scheme + ":";
    if (t.authority)
        out += "//" + *t.authority;
    out += t.path;
    if (t.query)
        out += "?" + *t.query;
    if (t.fragment)
        out += "#" + *t.fragment;
    return out;
}

std::string RequestTarget(const std::string& pathAndQuery)
{
    static const char hex[] = "0123456789ABCDEF";
    static const std::string unsafe = "\"<>\\^`{|}";
    const size_t hash = pathAndQuery.find('#');
    std::string out;
    for (size_t i = 0; i < pathAndQuery.size() && i != hash; ++i) {
        const auto c = static_cast<unsigned char>(pathAndQuery[i]);
        if (c <= 0x20 || c >= 0x7F || unsafe.find(static_cast<char>(c)) != std::string::npos) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string ConnectableHost(const std::string& host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

} // namespace orv
