// enginesim: a local HTTP server that plays the ten search engines and the
// sites they find, so that searches and retrievals can run without the web.
//
//   enginesim --port N [--seed S] [--results-per-engine N] [--write-engines FILE]
//             [--log FILE] [--slow ENGINE[:PAGE],...] [--slow-ms MS] [--no-faults]
//             [--cut ENGINE[:PAGE],...] [--hosts N]
//             [--tls-port N [--tls-ca FILE] [--https-engines ENGINE,...]]
//
// --port 0 picks a free port. Once listening it prints "enginesim ready port N"
// on stdout. --write-engines writes one "Name=127.0.0.1:N" line per engine,
// the program folder's engines.txt. --slow delays the named engines' pages
// (all pages, or only page PAGE, counted from 1) by --slow-ms (default 3000).
// --cut sends only half of the named engines' pages, then closes.
// --hosts N also listens on 127.0.0.2 ... 127.0.0.(N+1), on the same port.
// --tls-port serves everything over TLS as well (0 picks a port, printed on a
// second line "enginesim tls port N"), with a certificate for 127.0.0.1 and
// localhost from a CA of its own, whose certificate --tls-ca writes; some
// result links then redirect to their page over https. --https-engines names
// the engines that --write-engines points at the TLS port.
// Today's engines (DuckDuckGo, Bing, ..., SearXNG) answer on 127.0.1.1 ...
// 127.0.1.10, one address each, on the same port; --write-engines points
// them there. --challenge answers the named ones (all pages, or page PAGE)
// with their challenge page, --throttle with "429 Too Many Requests".
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>

using namespace enginesim;

namespace
{

bool parseSlow(const QString& spec, std::vector<SlowPage>& out)
{
    for (const QString& item : spec.split(',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(':');
        const auto engine = engineByName(parts[0].toStdString());
        if (!engine || parts.size() > 2)
            return false;
        SlowPage slow { *engine, 0 };
        if (parts.size() == 2) {
            bool ok = false;
            slow.page = parts[1].toInt(&ok);
            if (!ok || slow.page < 1)
                return false;
        }
        out.push_back(slow);
    }
    return true;
}

bool parseToday(const QString& spec, std::vector<TodayPageSpec>& out)
{
    for (const QString& item : spec.split(',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(':');
        const auto engine = todayByName(parts[0].toStdString());
        if (!engine || parts.size() > 2)
            return false;
        TodayPageSpec page { *engine, 0 };
        if (parts.size() == 2) {
            bool ok = false;
            page.page = parts[1].toInt(&ok);
            if (!ok || page.page < 1)
                return false;
        }
        out.push_back(page);
    }
    return true;
}

bool parseEngines(const QString& spec, std::vector<SimEngine>& out)
{
    for (const QString& item : spec.split(',', Qt::SkipEmptyParts)) {
        const auto engine = engineByName(item.toStdString());
        if (!engine)
            return false;
        out.push_back(*engine);
    }
    return true;
}

bool writeEngines(const QString& path, quint16 port, quint16 tlsPort, const std::vector<SimEngine>& secure)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int i = 0; i < kSimEngineCount; ++i) {
        const auto engine = static_cast<SimEngine>(i);
        const bool tls = std::find(secure.begin(), secure.end(), engine) != secure.end();
        const std::string line = std::string(engineName(engine)) + (tls ? "=https://127.0.0.1:" : "=127.0.0.1:")
            + std::to_string(tls ? tlsPort : port) + "\r\n";
        file.write(line.data(), static_cast<qint64>(line.size()));
    }
    // Today's engines, each on its own loopback address.
    for (int i = 0; i < kTodayEngineCount; ++i) {
        const auto engine = static_cast<TodayEngine>(i);
        const std::string line
            = std::string(todayName(engine)) + "=http://" + todayAddress(engine) + ":" + std::to_string(port) + "\r\n";
        file.write(line.data(), static_cast<qint64>(line.size()));
    }
    return true;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "enginesim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays the ten search engines and their sites on 127.0.0.1.");
    parser.addHelpOption();
    const QCommandLineOption port("port", "Port to listen on (0: any free port).", "N");
    const QCommandLineOption seed("seed", "Seed of the result corpus.", "S", "1");
    const QCommandLineOption results("results-per-engine", "Results every engine claims and serves.", "N", "100");
    const QCommandLineOption writeFile("write-engines", "Write the engines.txt lines for this server.", "FILE");
    const QCommandLineOption logFile("log", "Log answered requests to FILE instead of stdout.", "FILE");
    const QCommandLineOption slow("slow", "Answer these engines' pages slowly: ENGINE[:PAGE],...", "SPEC");
    const QCommandLineOption slowMs("slow-ms", "Delay of slow answers in milliseconds.", "MS", "3000");
    const QCommandLineOption noFaults("no-faults", "Link only to sites that answer normally.");
    const QCommandLineOption cut("cut", "Send only half of these engines' pages: ENGINE[:PAGE],...", "SPEC");
    const QCommandLineOption hosts("hosts", "Also listen on 127.0.0.2 ... 127.0.0.(N+1).", "N", "0");
    const QCommandLineOption tlsPort("tls-port", "Also serve over TLS on this port (0: any free port).", "N");
    const QCommandLineOption tlsCa("tls-ca", "Write the TLS certificate authority (PEM) to FILE.", "FILE");
    const QCommandLineOption httpsEngines("https-engines", "Engines written to --write-engines as https.", "LIST");
    const QCommandLineOption challenge(
        "challenge", "Answer these of today's engines with their challenge page: ENGINE[:PAGE],...", "SPEC");
    const QCommandLineOption throttle(
        "throttle", "Answer these of today's engines with 429: ENGINE[:PAGE],...", "SPEC");
    parser.addOptions({ port, seed, results, writeFile, logFile, slow, slowMs, noFaults, cut, hosts, tlsPort, tlsCa,
        httpsEngines, challenge, throttle });
    parser.process(app);

    if (!parser.isSet(port))
        return fail("--port is required");
    SimOptions options;
    bool ok = false;
    const int portNumber = parser.value(port).toInt(&ok);
    if (!ok || portNumber < 0 || portNumber > 65535)
        return fail("bad --port");
    options.port = static_cast<quint16>(portNumber);
    options.seed = parser.value(seed).toULongLong(&ok);
    if (!ok)
        return fail("bad --seed");
    options.resultsPerEngine = parser.value(results).toInt(&ok);
    if (!ok || options.resultsPerEngine < 0 || options.resultsPerEngine > 100000)
        return fail("bad --results-per-engine");
    options.slowMs = parser.value(slowMs).toInt(&ok);
    if (!ok || options.slowMs < 0)
        return fail("bad --slow-ms");
    if (parser.isSet(slow) && !parseSlow(parser.value(slow), options.slow))
        return fail("bad --slow");
    if (parser.isSet(cut) && !parseSlow(parser.value(cut), options.cut))
        return fail("bad --cut");
    if (parser.isSet(challenge) && !parseToday(parser.value(challenge), options.challenge))
        return fail("bad --challenge");
    if (parser.isSet(throttle) && !parseToday(parser.value(throttle), options.throttle))
        return fail("bad --throttle");
    options.faults = !parser.isSet(noFaults);
    options.extraHosts = parser.value(hosts).toInt(&ok);
    if (!ok || options.extraHosts < 0 || options.extraHosts > 254)
        return fail("bad --hosts");
    options.logFile = parser.value(logFile).toStdString();
    options.tls = parser.isSet(tlsPort);
    if (options.tls) {
        const int n = parser.value(tlsPort).toInt(&ok);
        if (!ok || n < 0 || n > 65535)
            return fail("bad --tls-port");
        options.tlsPort = static_cast<quint16>(n);
        options.tlsCaFile = parser.value(tlsCa).toStdString();
    } else if (parser.isSet(tlsCa) || parser.isSet(httpsEngines)) {
        return fail("--tls-ca and --https-engines need --tls-port");
    }
    std::vector<SimEngine> secure;
    if (parser.isSet(httpsEngines) && !parseEngines(parser.value(httpsEngines), secure))
        return fail("bad --https-engines");

    SimServer server(options);
    QString error;
    if (!server.listen(error))
        return fail(error);
    if (parser.isSet(writeFile) && !writeEngines(parser.value(writeFile), server.port(), server.tlsPort(), secure))
        return fail("cannot write " + parser.value(writeFile));
    std::printf("enginesim ready port %u\n", static_cast<unsigned>(server.port()));
    if (options.tls)
        std::printf("enginesim tls port %u\n", static_cast<unsigned>(server.tlsPort()));
    std::fflush(stdout);
    return app.exec();
}
