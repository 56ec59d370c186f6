#pragma once
// Connections kept open between requests, for HTTP/1.1 clients to take up
// again. One pool may serve many clients (a retrieval with several requests
// in flight shares one); it is bounded per host and in all, and a kept
// connection that the server closes, that sends anything, or that has been
// idle too long is dropped. The pool owns the connections it holds; a client
// that takes one owns it from then on. Everything runs on one thread.
#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace orv
{

class TWSocket;

class HttpConnectionPool
{
public:
    static constexpr int kDefaultPerHost = 6;
    static constexpr int kDefaultTotal = 64;
    static constexpr int kDefaultIdleMs = 30000;

    explicit HttpConnectionPool(int perHost = kDefaultPerHost, int total = kDefaultTotal, int idleMs = kDefaultIdleMs);
    ~HttpConnectionPool();
    HttpConnectionPool(const HttpConnectionPool&) = delete;
    HttpConnectionPool& operator=(const HttpConnectionPool&) = delete;

    // What connections are kept under: scheme, host in small letters, port.
    static std::string Key(const std::string& scheme, const std::string& host, const std::string& port);

    // The most recently kept connection to `key` that still looks open, or
    // nullptr. Its events are unset: the taker sets its own.
    std::unique_ptr<TWSocket> Take(const std::string& key);
    // Keeps a connected socket between requests; the oldest of the host, or
    // of all, is closed when a bound is reached.
    void Put(const std::string& key, std::unique_ptr<TWSocket> socket);
    // Closes every kept connection.
    void Clear();

    int Idle() const;
    int Idle(const std::string& key) const;

private:
    struct Entry;
    void Drop(size_t index);
    void Expire();
    void Sweep(); // destroys entries marked dead, outside their own events

    int perHost_, total_, idleMs_;
    std::vector<std::unique_ptr<Entry>> entries_; // oldest first
    QObject context_;
    QTimer expiry_;
};

} // namespace orv
