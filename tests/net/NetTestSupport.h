#pragma once
// Helpers for the network tests: the application object the event loop needs,
// a watchdog that fails a test instead of letting it hang, a free port, and
// a scripted loopback server whose replies can be split, delayed, cut or
// reset.
#include <QObject>
#include <QTimer>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace orv::test
{

// Fails the running test and calls `rescue` (typically the client's Abort)
// when it fires; stopped when it goes out of scope.
class Watchdog
{
public:
    explicit Watchdog(std::function<void()> rescue = {}, int ms = 10000);
    ~Watchdog();
    bool fired() const { return fired_; }

private:
    QTimer timer_;
    bool fired_ = false;
};

// A port on 127.0.0.1 that nothing listens on at the moment of the call.
int freePort();

// Waits (processing events) until `done` holds or `ms` pass.
bool waitFor(const std::function<bool()>& done, int ms = 5000);

// One step of a scripted reply, carried out after the whole request header
// (up to the empty line) has arrived.
struct Step {
    enum Kind { Send, Pause, Close, Reset, Hold, Await } kind;
    std::string bytes; // Send
    int ms = 0; // Pause
};
inline Step send(std::string bytes)
{
    return { Step::Send, std::move(bytes), 0 };
}
inline Step pause(int ms)
{
    return { Step::Pause, {}, ms };
}
inline Step closeConn()
{
    return { Step::Close, {}, 0 };
}
inline Step resetConn()
{
    return { Step::Reset, {}, 0 };
}
inline Step hold()
{
    return { Step::Hold, {}, 0 };
} // never answer, keep the connection
// Waits for the next request header on the same connection (a kept one).
inline Step awaitRequest()
{
    return { Step::Await, {}, 0 };
}
using Script = std::vector<Step>;

class ScriptedServer : public QObject
{
public:
    // On 127.0.0.1, or on ::1.
    explicit ScriptedServer(bool ipv6 = false);
    ~ScriptedServer() override;

    int port() const;
    // Each accepted connection plays the next script; without one it closes.
    void add(Script script) { scripts_.push_back(std::move(script)); }
    // The request headers received, one per connection, in order.
    std::vector<std::string> requests;
    int connections = 0;

private:
    struct Conn;
    void accept();
    void play(const std::shared_ptr<Conn>& c);

    std::unique_ptr<QTcpServer> server_;
    std::deque<Script> scripts_;
    std::vector<std::shared_ptr<Conn>> conns_;
};

// A peer on its own thread that answers one connection with `head` and then
// sends `chunk` again and again without pause, as fast as the client takes
// it, until the client goes away or `maxMs` have passed. It runs beside the
// event loop, so a client that never returns to the loop cannot slow it.
class StreamingPeer
{
public:
    StreamingPeer(std::string head, std::string chunk, int maxMs = 4000);
    ~StreamingPeer();
    StreamingPeer(const StreamingPeer&) = delete;
    StreamingPeer& operator=(const StreamingPeer&) = delete;

    int port() const { return port_; }
    long long sent() const { return sent_.load(); }

private:
    void serve(std::string head, std::string chunk, int maxMs);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ { false };
    std::atomic<long long> sent_ { 0 };
    std::thread thread_;
};

} // namespace orv::test
