#pragma once
// The simulator's HTTP/1.0 server on 127.0.0.1: engine query paths answer
// with result pages, /site/NNNN.html with site pages, /fault/<kind>/NNNN.html
// with the failure it names (slow, reset, 404, redirect, empty, cut),
// /secure/NNNN.html with a redirection to the site page over https. With a
// TLS port it serves all of them over TLS too, with a certificate for
// 127.0.0.1 and localhost from a CA of its own. Every request it answers is logged as one line
// "<status> <what> <method> <target>" (what: an engine name, "site",
// "fault" or "-"), engine pages followed by one "  link <url>" line per result
// link they carry, so tests can check both what was asked and what was given.
// Connections are logged too, as "conn open <address:port> <n>" when one is
// accepted and "conn close <address:port> <n>" when it ends, n being the
// connections then open to that address, so that tests can see how many
// requests a client keeps open to one host.
#include "Corpus.h"
#include "EnginePages.h"
#include "TodayPages.h"

#include <QFile>
#include <QSslServer>
#include <QTcpServer>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QTcpSocket;

namespace enginesim
{

struct SlowPage {
    SimEngine engine;
    int page = 0; // 0: every page of the engine
};

// A page of one of today's engines: 0 for every page.
struct TodayPageSpec {
    TodayEngine engine;
    int page = 0;
};

struct SimOptions {
    quint16 port = 0;
    std::uint64_t seed = 1;
    int resultsPerEngine = 100; // the total every engine claims and serves
    bool faults = true; // some result links point at fault paths
    int slowMs = 3000; // delay of slow engine pages and slow sites
    std::vector<SlowPage> slow;
    std::vector<SlowPage> cut; // engine pages sent only in part: the connection closes halfway
    std::string logFile; // empty: log to stdout
    int extraHosts = 0; // also listen on 127.0.0.2 ... 127.0.0.(1 + extraHosts)
    bool tls = false; // also serve over TLS, on tlsPort
    quint16 tlsPort = 0;
    std::string tlsCaFile; // where the CA certificate goes (PEM), when set
    std::vector<TodayPageSpec> challenge; // today's pages answered with the engine's challenge page
    std::vector<TodayPageSpec> throttle; // today's pages answered with 429 Too Many Requests
};

class SimServer : public QObject
{
public:
    explicit SimServer(SimOptions options, QObject* parent = nullptr);

    bool listen(QString& error);
    quint16 port() const { return server_.serverPort(); }
    quint16 tlsPort() const { return tlsServer_.serverPort(); }

private:
    void onNewConnection(QTcpServer* server);
    void connectionOpened(QTcpSocket* socket);
    void connectionClosed(QTcpSocket* socket, const std::string& address);
    // Forgets connections to `address` whose client has already closed them.
    void dropClosedByPeer(const std::string& address);
    bool listenTls(QString& error);
    void handleRequest(QTcpSocket* socket, const QByteArray& head, const QByteArray& body);
    void answerToday(QTcpSocket* socket, TodayEngine engine, const std::string& method, const std::string& target,
        const std::string& path, const std::string& query, const std::string& body);
    void answerEngine(QTcpSocket* socket, const std::string& target, const EngineRequest& request);
    void answerFault(
        QTcpSocket* socket, const std::string& target, const std::string& kind, int site, const std::string& query);
    bool isSlow(const EngineRequest& request) const;
    bool isCut(const EngineRequest& request) const;
    std::string hostPort(QTcpSocket* socket) const;
    // "http://127.0.0.1:N" or "https://..." as the socket was reached.
    std::string origin(QTcpSocket* socket) const;
    void log(const std::string& record);

    SimOptions options_;
    Corpus corpus_;
    QTcpServer server_;
    std::vector<std::unique_ptr<QTcpServer>> extraServers_;
    std::map<std::string, std::set<QTcpSocket*>> open_; // by local address:port
    QSslServer tlsServer_;
    QFile logFile_;
};

} // namespace enginesim
