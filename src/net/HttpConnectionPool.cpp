#include "net/HttpConnectionPool.h"

#include "core/Text.h"
#include "net/WSocket.h"

#include <algorithm>

namespace orv
{

struct HttpConnectionPool::Entry {
    std::string key;
    std::unique_ptr<TWSocket> socket;
    std::chrono::steady_clock::time_point since;
    bool dead = false;
};

HttpConnectionPool::HttpConnectionPool(int perHost, int total, int idleMs)
    : perHost_(std::max(perHost, 1))
    , total_(std::max(total, 1))
    , idleMs_(std::max(idleMs, 1))
{
    expiry_.setSingleShot(true);
    QObject::connect(&expiry_, &QTimer::timeout, &context_, [this] { Expire(); });
}

HttpConnectionPool::~HttpConnectionPool()
{
    Clear();
}

std::string HttpConnectionPool::Key(const std::string& scheme, const std::string& host, const std::string& port)
{
    return LowerCase(scheme) + "://" + LowerCase(host) + ":" + port;
}

std::unique_ptr<TWSocket> HttpConnectionPool::Take(const std::string& key)
{
    Sweep();
    Expire();
    for (size_t i = entries_.size(); i-- > 0;) {
        Entry& e = *entries_[i];
        if (e.key != key)
            continue;
        if (!e.socket->IdleAndOpen()) {
            Drop(i);
            continue;
        }
        std::unique_ptr<TWSocket> socket = std::move(e.socket);
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
        socket->OnDataAvailable = nullptr;
        socket->OnSessionClosed = nullptr;
        return socket;
    }
    return nullptr;
}

void HttpConnectionPool::Put(const std::string& key, std::unique_ptr<TWSocket> socket)
{
    if (!socket)
        return;
    Sweep();
    auto entry = std::make_unique<Entry>();
    Entry* e = entry.get();
    e->key = key;
    e->since = std::chrono::steady_clock::now();
    e->socket = std::move(socket);
    TWSocket* s = e->socket.get();
    s->OnSessionConnected = nullptr;
    s->OnDnsLookupDone = nullptr;
    s->OnTlsDone = nullptr;
    s->OnDataSent = nullptr;
    s->OnChangeState = nullptr;
    // Anything that arrives on a kept connection belongs to no request: the
    // connection is closed and dropped at the next turn.
    s->OnDataAvailable = [this, e](TCustomWSocket* sock, uint16_t) {
        char discard[256];
        sock->Receive(discard, sizeof discard);
        e->dead = true;
        sock->Close();
        QTimer::singleShot(0, &context_, [this] { Sweep(); });
    };
    s->OnSessionClosed = [this, e](TCustomWSocket*, uint16_t) {
        e->dead = true;
        QTimer::singleShot(0, &context_, [this] { Sweep(); });
    };
    entries_.push_back(std::move(entry));
    const auto sameHost = [&key](const auto& x) { return x->key == key; };
    while (std::count_if(entries_.begin(), entries_.end(), sameHost) > perHost_)
        Drop(static_cast<size_t>(std::find_if(entries_.begin(), entries_.end(), sameHost) - entries_.begin()));
    while (static_cast<int>(entries_.size()) > total_)
        Drop(0);
    if (!expiry_.isActive())
        expiry_.start(idleMs_);
}

void HttpConnectionPool::Clear()
{
    while (!entries_.empty())
        Drop(entries_.size() - 1);
}

int HttpConnectionPool::Idle() const
{
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return !e->dead; }));
}

int HttpConnectionPool::Idle(const std::string& key) const
{
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(), [&key](const auto& e) { return !e->dead && e->key == key; }));
}

void HttpConnectionPool::Drop(size_t index)
{
    std::unique_ptr<Entry> e = std::move(entries_[index]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    e->socket->OnDataAvailable = nullptr;
    e->socket->OnSessionClosed = nullptr;
    try {
        e->socket->Close();
    } catch (...) { // a connection that fails to close is gone all the same
    }
}

void HttpConnectionPool::Expire()
{
    const auto now = std::chrono::steady_clock::now();
    const auto limit = std::chrono::milliseconds(idleMs_);
    for (size_t i = entries_.size(); i-- > 0;)
        if (now - entries_[i]->since >= limit)
            Drop(i);
    if (!entries_.empty()) {
        const auto oldest = entries_.front()->since; // entries are kept oldest first
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(oldest + limit - now).count();
        expiry_.start(static_cast<int>(std::max<long long>(left, 1)));
    } else {
        expiry_.stop();
    }
}

void HttpConnectionPool::Sweep()
{
    for (size_t i = entries_.size(); i-- > 0;)
        if (entries_[i]->dead)
            Drop(i);
}

} // namespace orv
