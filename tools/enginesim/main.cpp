// enginesim: a local HTTP server that plays the ten search engines and the
// sites they find, so that searches and retrievals can run without the web.
//
//   enginesim --port N [--seed S] [--results-per-engine N] [--write-engines FILE]
//             [--log FILE] [--slow ENGINE[:PAGE],...] [--slow-ms MS] [--no-faults]
//             [--cut ENGINE[:PAGE],...] [--hosts N]
//
// --port 0 picks a free port. Once listening it prints "enginesim ready port N"
// on stdout. --write-engines writes one "Name=127.0.0.1:N" line per engine,
// the program folder's engines.txt. --slow delays the named engines' pages
// (all pages, or only page PAGE, counted from 1) by --slow-ms (default 3000).
// --cut sends only half of the named engines' pages, then closes.
// --hosts N also listens on 127.0.0.2 ... 127.0.0.(N+1), on the same port.
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

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

bool writeEngines(const QString& path, quint16 port)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int i = 0; i < kSimEngineCount; ++i) {
        const std::string line
            = std::string(engineName(static_cast<SimEngine>(i))) + "=127.0.0.1:" + std::to_string(port) + "\r\n";
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
    parser.addOptions({ port, seed, results, writeFile, logFile, slow, slowMs, noFaults, cut, hosts });
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
    options.faults = !parser.isSet(noFaults);
    options.extraHosts = parser.value(hosts).toInt(&ok);
    if (!ok || options.extraHosts < 0 || options.extraHosts > 254)
        return fail("bad --hosts");
    options.logFile = parser.value(logFile).toStdString();

    SimServer server(options);
    QString error;
    if (!server.listen(error))
        return fail(error);
    if (parser.isSet(writeFile) && !writeEngines(parser.value(writeFile), server.port()))
        return fail("cannot write " + parser.value(writeFile));
    std::printf("enginesim ready port %u\n", static_cast<unsigned>(server.port()));
    std::fflush(stdout);
    return app.exec();
}
