#include "NetTestSupport.h"

#include "support/QtCoreEnvironment.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace orv::test
{
namespace
{

[[maybe_unused]] ::testing::Environment* const qtEnvironment
    = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

} // namespace

Watchdog::Watchdog(std::function<void()> rescue, int ms)
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this, rescue] {
        fired_ = true;
        ADD_FAILURE() << "watchdog fired: the test did not finish in time";
        if (rescue)
            rescue();
    });
    timer_.start(ms);
}

Watchdog::~Watchdog()
{
    timer_.stop();
}

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin {};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin);
    socklen_t len = sizeof sin;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sin), &len);
    ::close(fd);
    return ntohs(sin.sin_port);
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    return QTest::qWaitFor(done, ms);
}

struct ScriptedServer::Conn {
    QTcpSocket* socket = nullptr;
    std::string received;
    Script script;
    size_t next = 0;
    bool playing = false;
    size_t index = 0;
    size_t answered = 1; // request headers the script has reached
};

static size_t headerEnds(const std::string& text)
{
    size_t n = 0;
    for (size_t at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n", at + 4))
        ++n;
    return n;
}

ScriptedServer::ScriptedServer(bool ipv6)
    : server_(std::make_unique<QTcpServer>())
{
    server_->listen(ipv6 ? QHostAddress::LocalHostIPv6 : QHostAddress::LocalHost, 0);
    QObject::connect(server_.get(), &QTcpServer::newConnection, this, [this] { accept(); });
}

ScriptedServer::~ScriptedServer()
{
    for (auto& c : conns_)
        if (c->socket)
            c->socket->abort();
}

int ScriptedServer::port() const
{
    return server_->serverPort();
}

void ScriptedServer::accept()
{
    while (QTcpSocket* s = server_->nextPendingConnection()) {
        auto c = std::make_shared<Conn>();
        c->socket = s;
        c->index = requests.size();
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        ++connections;
        requests.emplace_back();
        if (!scripts_.empty()) {
            c->script = std::move(scripts_.front());
            scripts_.pop_front();
        } else {
            c->script = { closeConn() };
        }
        conns_.push_back(c);
        QObject::connect(s, &QTcpSocket::readyRead, this, [this, c] {
            const QByteArray data = c->socket->readAll();
            c->received.append(data.constData(), static_cast<size_t>(data.size()));
            requests[c->index] = c->received;
            if (!c->playing && headerEnds(c->received) >= c->answered) {
                c->playing = true;
                play(c);
            }
        });
    }
}

void ScriptedServer::play(const std::shared_ptr<Conn>& c)
{
    while (c->next < c->script.size() && c->socket) {
        const Step& step = c->script[c->next++];
        switch (step.kind) {
        case Step::Send:
            c->socket->write(step.bytes.data(), static_cast<qint64>(step.bytes.size()));
            c->socket->flush();
            break;
        case Step::Pause:
            QTimer::singleShot(step.ms, this, [this, c] { play(c); });
            return;
        case Step::Close:
            c->socket->disconnectFromHost();
            return;
        case Step::Reset: {
            // A zero linger time makes close() send a reset instead of a FIN.
            const linger lg { 1, 0 };
            ::setsockopt(static_cast<int>(c->socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
            c->socket->abort();
            return;
        }
        case Step::Hold:
            return;
        case Step::Await:
            c->playing = false;
            ++c->answered;
            if (headerEnds(c->received) >= c->answered) {
                c->playing = true;
                continue;
            }
            return;
        }
    }
}

StreamingPeer::StreamingPeer(std::string head, std::string chunk, int maxMs)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin {};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&sin), sizeof sin);
    ::listen(listenFd_, 1);
    socklen_t len = sizeof sin;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sin), &len);
    port_ = ntohs(sin.sin_port);
    // Blocking calls wake up every 100 ms to look at the stop flag.
    const timeval tick { 0, 100000 };
    ::setsockopt(listenFd_, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
    thread_ = std::thread([this, head = std::move(head), chunk = std::move(chunk), maxMs]() mutable {
        serve(std::move(head), std::move(chunk), maxMs);
    });
}

StreamingPeer::~StreamingPeer()
{
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

void StreamingPeer::serve(std::string head, std::string chunk, int maxMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
    const auto running = [&] { return !stop_ && std::chrono::steady_clock::now() < deadline; };
    int fd = -1;
    while (fd < 0 && running())
        fd = ::accept(listenFd_, nullptr, nullptr);
    if (fd < 0)
        return;
    const timeval tick { 0, 100000 };
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
    // A deep send buffer keeps bytes waiting at the client even while this
    // thread is not scheduled.
    const int deep = 8 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &deep, sizeof deep);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tick, sizeof tick);
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos && running()) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n == 0)
            break;
        if (n > 0)
            request.append(buf, static_cast<size_t>(n));
    }
    const auto sendAll = [&](const std::string& bytes) {
        size_t off = 0;
        while (off < bytes.size() && running()) {
            const ssize_t n = ::send(fd, bytes.data() + off, bytes.size() - off, MSG_NOSIGNAL);
            if (n > 0) {
                off += static_cast<size_t>(n);
                sent_ += n;
            } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                return false; // the client has gone
            }
        }
        return off == bytes.size();
    };
    if (sendAll(head))
        while (sendAll(chunk)) { }
    ::close(fd);
}

} // namespace orv::test
