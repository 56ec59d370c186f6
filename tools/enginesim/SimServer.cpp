#include "SimServer.h"

#include "TlsCerts.h"

#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace enginesim
{

namespace
{

std::string response(
    int status, const std::string& reason, const std::string& body, const std::string& extraHeaders = {})
{
    return "HTTP/1.0 " + std::to_string(status) + " " + reason + "\r\nServer: enginesim\r\n"
        + "Content-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n"
        + body;
}

std::string notFound()
{
    return response(404, "Not Found", "<html><body>Not Found</body></html>\r\n");
}

void send(QTcpSocket* socket, const std::string& bytes)
{
    socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    socket->disconnectFromHost();
}

// Sends the header, which promises the whole body, and half of the body,
// then closes: a document cut off in transit.
void sendCut(QTcpSocket* socket, const std::string& bytes)
{
    const size_t headerEnd = bytes.find("\r\n\r\n");
    const size_t bodyStart = headerEnd == std::string::npos ? 0 : headerEnd + 4;
    send(socket, bytes.substr(0, bodyStart + (bytes.size() - bodyStart) / 2));
}

// Closes with a reset: a zero linger time makes close() send RST.
void reset(QTcpSocket* socket)
{
    struct linger lg = { 1, 0 };
    ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
    socket->abort();
}

// "/site/0042.html" -> 42, anything else -> -1.
int siteNumber(const std::string& name)
{
    if (name.size() != 9 || name.compare(4, 5, ".html") != 0)
        return -1;
    int n = 0;
    for (int i = 0; i < 4; ++i) {
        if (name[static_cast<size_t>(i)] < '0' || name[static_cast<size_t>(i)] > '9')
            return -1;
        n = n * 10 + (name[static_cast<size_t>(i)] - '0');
    }
    return n;
}

} // namespace

SimServer::SimServer(SimOptions options, QObject* parent)
    : QObject(parent)
    , options_(std::move(options))
    , corpus_(options_.seed, options_.resultsPerEngine, options_.faults, options_.tls)
{
    connect(&server_, &QTcpServer::newConnection, this, [this] { onNewConnection(&server_); });
    // A TLS connection is handed over once its handshake is done.
    connect(&tlsServer_, &QTcpServer::pendingConnectionAvailable, this, [this] { onNewConnection(&tlsServer_); });
}

bool SimServer::listen(QString& error)
{
    if (!options_.logFile.empty()) {
        logFile_.setFileName(QString::fromStdString(options_.logFile));
        if (!logFile_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            error = "cannot open log file " + logFile_.fileName();
            return false;
        }
    }
    if (!server_.listen(QHostAddress::LocalHost, options_.port)) {
        error = server_.errorString();
        return false;
    }
    // The other loopback addresses share the port, so that a list of sites
    // spread over many hosts needs one server.
    for (int i = 0; i < options_.extraHosts; ++i) {
        const QHostAddress address(static_cast<quint32>(0x7F000002u + static_cast<quint32>(i)));
        auto server = std::make_unique<QTcpServer>();
        if (!server->listen(address, server_.serverPort())) {
            error = address.toString() + ": " + server->errorString();
            return false;
        }
        QTcpServer* raw = server.get();
        connect(raw, &QTcpServer::newConnection, this, [this, raw] { onNewConnection(raw); });
        extraServers_.push_back(std::move(server));
    }
    // Today's engines, each on a loopback address of its own.
    for (int i = 0; i < kTodayEngineCount; ++i) {
        const QHostAddress address(QString::fromStdString(todayAddress(static_cast<TodayEngine>(i))));
        auto server = std::make_unique<QTcpServer>();
        if (!server->listen(address, server_.serverPort())) {
            error = address.toString() + ": " + server->errorString();
            return false;
        }
        QTcpServer* raw = server.get();
        connect(raw, &QTcpServer::newConnection, this, [this, raw] { onNewConnection(raw); });
        extraServers_.push_back(std::move(server));
    }
    return !options_.tls || listenTls(error);
}

bool SimServer::listenTls(QString& error)
{
    tlscerts::Pem ca, server;
    try {
        ca = tlscerts::makeAuthority("Orvalen Engine Simulator CA");
        server = tlscerts::makeServer(ca, { "127.0.0.1", "localhost" });
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (!options_.tlsCaFile.empty()) {
        QFile file(QString::fromStdString(options_.tlsCaFile));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(ca.cert.data(), static_cast<qint64>(ca.cert.size())) != static_cast<qint64>(ca.cert.size())
            || !file.flush()) {
            error = "cannot write " + file.fileName();
            return false;
        }
    }
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(QSslCertificate(QByteArray::fromStdString(server.cert)));
    config.setPrivateKey(QSslKey(QByteArray::fromStdString(server.key), QSsl::Ec));
    config.setPeerVerifyMode(QSslSocket::VerifyNone);
    tlsServer_.setSslConfiguration(config);
    if (!tlsServer_.listen(QHostAddress::LocalHost, options_.tlsPort)) {
        error = tlsServer_.errorString();
        return false;
    }
    return true;
}

void SimServer::log(const std::string& record)
{
    if (logFile_.isOpen()) {
        logFile_.write(record.data(), static_cast<qint64>(record.size()));
        logFile_.flush();
    } else {
        std::fwrite(record.data(), 1, record.size(), stdout);
        std::fflush(stdout);
    }
}

std::string SimServer::hostPort(QTcpSocket* socket) const
{
    return socket->localAddress().toString().toStdString() + ":" + std::to_string(socket->localPort());
}

std::string SimServer::origin(QTcpSocket* socket) const
{
    return (qobject_cast<QSslSocket*>(socket) ? "https://" : "http://") + hostPort(socket);
}

void SimServer::dropClosedByPeer(const std::string& address)
{
    // A client that closed its end is not noticed before its socket's next
    // event; a peek says at once whether the peer is gone.
    auto& sockets = open_[address];
    std::vector<QTcpSocket*> gone;
    for (QTcpSocket* socket : sockets) {
        char byte = 0;
        const auto n = ::recv(static_cast<int>(socket->socketDescriptor()), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
            gone.push_back(socket);
    }
    for (QTcpSocket* socket : gone)
        connectionClosed(socket, address);
}

void SimServer::connectionOpened(QTcpSocket* socket)
{
    const std::string address = hostPort(socket);
    dropClosedByPeer(address);
    auto& sockets = open_[address];
    sockets.insert(socket);
    log("conn open " + address + " " + std::to_string(sockets.size()) + "\n");
}

void SimServer::connectionClosed(QTcpSocket* socket, const std::string& address)
{
    auto& sockets = open_[address];
    if (sockets.erase(socket) == 0)
        return;
    log("conn close " + address + " " + std::to_string(sockets.size()) + "\n");
}

void SimServer::onNewConnection(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connectionOpened(socket);
        const std::string address = hostPort(socket);
        connect(socket, &QTcpSocket::disconnected, this, [=, this] { connectionClosed(socket, address); });
        connect(socket, &QObject::destroyed, this, [=, this] { connectionClosed(socket, address); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            if (buffer->isNull() && socket->property("answered").toBool())
                return;
            buffer->append(socket->readAll());
            // A TLS hello on the plain port gets the plain answer real
            // servers give it, which the client must take as a TLS failure.
            if (buffer->startsWith('\x16') && !qobject_cast<QSslSocket*>(socket)) {
                socket->setProperty("answered", true);
                *buffer = QByteArray();
                log("400 - TLS -\n");
                send(socket, response(400, "Bad Request", "<html><body>Bad Request</body></html>\r\n"));
                return;
            }
            qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                end = buffer->indexOf("\n\n");
            if (end < 0) {
                if (buffer->size() > 65536)
                    socket->abort();
                return;
            }
            const QByteArray head = buffer->left(end);
            const qsizetype bodyStart = end + (buffer->mid(end, 4) == "\r\n\r\n" ? 4 : 2);
            // A form's body follows the head: wait for all of it.
            qsizetype length = 0;
            for (const QByteArray& line : head.split('\n'))
                if (line.toLower().startsWith("content-length:"))
                    length = std::min<qsizetype>(line.mid(15).trimmed().toLongLong(), 1 << 20);
            if (buffer->size() < bodyStart + length)
                return;
            socket->setProperty("answered", true);
            const QByteArray body = buffer->mid(bodyStart, length);
            *buffer = QByteArray();
            handleRequest(socket, head, body);
        });
    }
}

void SimServer::handleRequest(QTcpSocket* socket, const QByteArray& head, const QByteArray& body)
{
    const qsizetype eol = head.indexOf('\n');
    std::string line = (eol < 0 ? head : head.left(eol)).toStdString();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const size_t space = line.find(' ');
    const std::string method = line.substr(0, space);
    // The target runs to the last " HTTP/": a URL that ends in a blank keeps it.
    std::string target = space == std::string::npos ? std::string() : line.substr(space + 1);
    const size_t version = target.rfind(" HTTP/");
    if (version != std::string::npos)
        target.resize(version);
    std::string local = target;
    const size_t schemeEnd = local.find("://");
    if (schemeEnd != std::string::npos && local[0] != '/') { // a proxy's absolute form
        const size_t slash = local.find('/', schemeEnd + 3);
        local = slash == std::string::npos ? "/" : local.substr(slash);
    }
    const size_t question = local.find('?');
    const std::string path = local.substr(0, question);
    const std::string query = question == std::string::npos ? std::string() : local.substr(question + 1);

    if (const auto today = todayByAddress(socket->localAddress().toString().toStdString())) {
        answerToday(socket, *today, method, target, path, query, body.toStdString());
        return;
    }
    if (method == "GET") {
        if (const auto request = classifyEngineRequest(path, query)) {
            answerEngine(socket, target, *request);
            return;
        }
        if (path.compare(0, 6, "/site/") == 0) {
            const int site = siteNumber(path.substr(6));
            if (site >= 0 && site < corpus_.size()) {
                log("200 site " + method + " " + target + "\n");
                send(socket, response(200, "OK", corpus_.page(site)));
                return;
            }
        }
        if (path.compare(0, 8, "/secure/") == 0) {
            const int site = siteNumber(path.substr(8));
            if (site >= 0 && site < corpus_.size()) {
                answerFault(socket, target, "secure", site, query);
                return;
            }
        }
        if (path.compare(0, 7, "/fault/") == 0) {
            const size_t slash = path.find('/', 7);
            if (slash != std::string::npos) {
                const int site = siteNumber(path.substr(slash + 1));
                if (site >= 0 && site < corpus_.size()) {
                    answerFault(socket, target, path.substr(7, slash - 7), site, query);
                    return;
                }
            }
        }
    }
    log("404 - " + method + " " + target + "\n");
    send(socket, notFound());
}

namespace
{

bool names(const std::vector<SlowPage>& pages, const EngineRequest& request)
{
    for (const auto& s : pages)
        if (s.engine == request.engine && (s.page == 0 || s.page == request.pageNumber))
            return true;
    return false;
}

} // namespace

bool SimServer::isSlow(const EngineRequest& request) const
{
    return names(options_.slow, request);
}

bool SimServer::isCut(const EngineRequest& request) const
{
    return names(options_.cut, request);
}

void SimServer::answerEngine(QTcpSocket* socket, const std::string& target, const EngineRequest& request)
{
    const int total = options_.resultsPerEngine;
    const int engine = static_cast<int>(request.engine);
    std::vector<ResultLink> links;
    // Links are always http, as the parsers look for them; an engine asked
    // over TLS still points at the plain port.
    const std::string host
        = "http://" + socket->localAddress().toString().toStdString() + ":" + std::to_string(server_.serverPort());
    for (int i = request.first; i < total && i < request.first + request.pageSize; ++i) {
        const int site = corpus_.siteFor(engine, i);
        links.push_back({ host + corpus_.sitePath(site), corpus_.title(site) });
    }
    std::string record = "200 " + std::string(engineName(request.engine)) + " GET " + target + "\n";
    for (const auto& l : links)
        record += "  link " + l.url + "\n";
    log(record);
    const std::string bytes = response(200, "OK", renderEnginePage(request, total, links));
    if (isCut(request)) {
        sendCut(socket, bytes);
        return;
    }
    if (!isSlow(request)) {
        send(socket, bytes);
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(options_.slowMs, this, [guard, bytes] {
        if (guard && guard->state() == QAbstractSocket::ConnectedState)
            send(guard, bytes);
    });
}

namespace
{

bool namesToday(const std::vector<TodayPageSpec>& pages, const TodayRequest& request)
{
    for (const auto& s : pages)
        if (s.engine == request.engine && (s.page == 0 || s.page == request.pageNumber))
            return true;
    return false;
}

} // namespace

void SimServer::answerToday(QTcpSocket* socket, TodayEngine engine, const std::string& method,
    const std::string& target, const std::string& path, const std::string& query, const std::string& body)
{
    // The log names the engine without blanks, as its fields are blank-separated.
    std::string name = todayName(engine);
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    const auto request = classifyTodayRequest(engine, method, path, query, body);
    if (!request) {
        log("404 " + name + " " + method + " " + target + "\n");
        send(socket, notFound());
        return;
    }
    const std::string record = " " + name + " " + method + " " + target + (body.empty() ? "" : " " + body) + "\n";
    if (namesToday(options_.throttle, *request)) {
        log("429" + record);
        send(socket,
            response(
                429, "Too Many Requests", "<html><body>Too Many Requests</body></html>\r\n", "Retry-After: 60\r\n"));
        return;
    }
    if (namesToday(options_.challenge, *request)) {
        log("200" + record);
        const TodayPage page = renderChallengePage(engine);
        send(socket, response(200, "OK", page.body));
        return;
    }
    // The sites are asked on the simulator's main address, where they answer.
    const std::string host = "http://127.0.0.1:" + std::to_string(server_.serverPort());
    const int total = options_.resultsPerEngine;
    std::vector<TodayLink> links;
    for (int i = request->first; i < total && i < request->first + request->pageSize; ++i) {
        const int site = corpus_.siteFor(kSimEngineCount + static_cast<int>(engine), i);
        links.push_back({ host + corpus_.sitePath(site), corpus_.title(site) });
    }
    const TodayPage page = renderTodayPage(*request, total, links);
    std::string logged = "200" + record;
    for (const auto& l : links)
        logged += "  link " + l.url + "\n";
    log(logged);
    std::string bytes = "HTTP/1.0 200 OK\r\nServer: enginesim\r\nContent-Type: " + page.contentType
        + "\r\nContent-Length: " + std::to_string(page.body.size()) + "\r\n\r\n" + page.body;
    send(socket, bytes);
}

void SimServer::answerFault(
    QTcpSocket* socket, const std::string& target, const std::string& kind, int site, const std::string& query)
{
    char name[32];
    std::snprintf(name, sizeof name, "/site/%04d.html", site);
    const std::string sitePage = origin(socket) + name;
    if (kind == "slow") {
        log("200 fault GET " + target + "\n");
        const auto ms = queryValue(query, "ms");
        const int delay = ms ? std::atoi(ms->c_str()) : options_.slowMs;
        QPointer<QTcpSocket> guard(socket);
        const std::string bytes = response(200, "OK", corpus_.page(site));
        QTimer::singleShot(delay, this, [guard, bytes] {
            if (guard && guard->state() == QAbstractSocket::ConnectedState)
                send(guard, bytes);
        });
    } else if (kind == "reset") {
        log("RST fault GET " + target + "\n");
        reset(socket);
    } else if (kind == "404") {
        log("404 fault GET " + target + "\n");
        send(socket, notFound());
    } else if (kind == "redirect") {
        log("302 fault GET " + target + "\n");
        send(socket, response(302, "Found", "<html><body>Moved</body></html>\r\n", "Location: " + sitePage + "\r\n"));
    } else if (kind == "cut") {
        log("200 fault GET " + target + "\n");
        sendCut(socket, response(200, "OK", corpus_.page(site)));
    } else if (kind == "secure" && options_.tls) {
        log("302 secure GET " + target + "\n");
        const std::string securePage = "https://" + socket->localAddress().toString().toStdString() + ":"
            + std::to_string(tlsServer_.serverPort()) + name;
        send(socket, response(302, "Found", "<html><body>Moved</body></html>\r\n", "Location: " + securePage + "\r\n"));
    } else if (kind == "empty") {
        log("200 fault GET " + target + "\n");
        send(socket, response(200, "OK", ""));
    } else {
        log("404 - GET " + target + "\n");
        send(socket, notFound());
    }
}

} // namespace enginesim
