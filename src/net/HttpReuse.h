#pragma once
// Whether a connection may carry the next request once a response has ended.
// The one place that decides it: everything else only gathers the facts.

namespace orv
{

struct TReuseFacts {
    bool http11Request = false; // sent as HTTP/1.1 by a client that keeps connections
    bool viaProxy = false; // plain requests to a proxy are not kept
    bool http11Response = false; // the status line says HTTP/1.1
    bool connectionClose = false; // "Connection: close"
    bool keepAlive = false; // "Connection: keep-alive" (an HTTP/1.0 server's promise)
    bool bodyComplete = false; // the body ended by its own length or last chunk
    bool extraBytes = false; // bytes came after the body: no telling what they are
    bool failed = false; // the request failed or was aborted
};

inline bool MayKeepConnection(const TReuseFacts& f)
{
    return f.http11Request && !f.viaProxy && f.bodyComplete && !f.extraBytes && !f.failed && !f.connectionClose
        && (f.http11Response || f.keepAlive);
}

} // namespace orv
