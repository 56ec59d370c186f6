#pragma once
// Where a redirection leads, and what of a URL goes on the request line:
// text rules free of sockets.
#include <string>

namespace orv
{

// Resolves `reference` (a Location value) against the absolute URL `base`
// as RFC 3986 section 5.2 lays down, dot segments removed. The fragment of
// the result is the reference's.
std::string ResolveReference(const std::string& base, const std::string& reference);

// A path and query as they may stand in a request line: the fragment cut
// off, and every byte that may not appear there (controls, blanks, bytes
// of 0x80 and above, and " < > \ ^ ` { | }) percent-encoded. A "%" is kept,
// as the URL may already be encoded.
std::string RequestTarget(const std::string& pathAndQuery);

// A host as a socket takes it: an IPv6 literal without its brackets.
std::string ConnectableHost(const std::string& host);

} // namespace orv
