#include "support/EngineSim.h"

#include "core/Lines.h"
#include "search/Engines.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace orv::test
{

namespace
{

// Today's engines in the simulator's order: the first answers on 127.0.1.1.
constexpr const char* kTodayNames[]
    = { "DuckDuckGo", "Bing", "Mojeek", "Brave", "Wikipedia", "Hacker News", "Crossref", "arXiv", "Wiby", "SearXNG" };

} // namespace

namespace
{

// The log's lines, split at LF only: a target may end in blanks.
std::vector<std::string> SplitLogLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

} // namespace

EngineSim::EngineSim()
    : EngineSim(Options {})
{
}

EngineSim::EngineSim(const Options& options)
    : dir_(std::make_unique<QTemporaryDir>())
    , process_(std::make_unique<QProcess>())
{
    if (!dir_->isValid())
        throw std::runtime_error("enginesim: no temporary folder");
    logPath_ = dir_->filePath("requests.log").toStdString();
    QStringList args = { "--port", "0", "--seed", QString::number(options.seed), "--results-per-engine",
        QString::number(options.resultsPerEngine), "--log", QString::fromStdString(logPath_), "--slow-ms",
        QString::number(options.slowMs) };
    if (!options.slow.empty())
        args << "--slow" << QString::fromStdString(options.slow);
    if (!options.cut.empty())
        args << "--cut" << QString::fromStdString(options.cut);
    if (!options.faults)
        args << "--no-faults";
    if (!options.challenge.empty())
        args << "--challenge" << QString::fromStdString(options.challenge);
    if (!options.throttle.empty())
        args << "--throttle" << QString::fromStdString(options.throttle);
    if (options.extraHosts > 0)
        args << "--hosts" << QString::number(options.extraHosts);
    const QString caFile = dir_->filePath("ca.pem");
    if (options.tls)
        args << "--tls-port"
             << "0"
             << "--tls-ca" << caFile;
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start(QStringLiteral(ORVALEN_BIN_DIR "/enginesim"), args);

    // Wait for the ready line, bounded, instead of sleeping.
    const QDeadlineTimer deadline(10000);
    QByteArray out;
    const int lines = options.tls ? 2 : 1;
    while (out.count('\n') < lines && !deadline.hasExpired() && process_->state() != QProcess::NotRunning)
        if (process_->waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            out += process_->readAllStandardOutput();
    const QByteArray prefix = "enginesim ready port ";
    const qsizetype at = out.indexOf(prefix);
    if (at < 0) {
        const QByteArray err = process_->readAllStandardError();
        process_->kill();
        process_->waitForFinished(5000);
        throw std::runtime_error("enginesim did not start: " + err.toStdString());
    }
    port_ = out.mid(at + prefix.size()).split('\n').front().trimmed().toInt();
    if (options.tls) {
        const QByteArray tlsPrefix = "enginesim tls port ";
        const qsizetype tlsAt = out.indexOf(tlsPrefix);
        if (tlsAt < 0)
            throw std::runtime_error("enginesim did not report its TLS port");
        tlsPort_ = out.mid(tlsAt + tlsPrefix.size()).split('\n').front().trimmed().toInt();
        if (const char* previous = std::getenv("SSL_CERT_FILE"))
            previousCertFile_ = previous;
        ::setenv("SSL_CERT_FILE", caFile.toLocal8Bit().constData(), 1);
        trusting_ = true;
    }
}

EngineSim::~EngineSim()
{
    if (trusting_) {
        if (previousCertFile_)
            ::setenv("SSL_CERT_FILE", previousCertFile_->c_str(), 1);
        else
            ::unsetenv("SSL_CERT_FILE");
    }
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(5000)) {
            process_->kill();
            process_->waitForFinished(5000);
        }
    }
}

std::string EngineSim::host() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

std::string EngineSim::url(const std::string& path) const
{
    return "http://" + host() + path;
}

std::string EngineSim::httpsUrl(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(tlsPort_) + path;
}

std::string EngineSim::enginesText() const
{
    std::string text;
    for (Engine e : kAllEngines)
        text += std::string(engineCaption(e)) + "=" + host() + "\r\n";
    for (const char* name : kTodayNames)
        text += std::string(name) + "=" + todayOrigin(name) + "\r\n";
    return text;
}

std::string EngineSim::todayOrigin(const std::string& name) const
{
    for (size_t i = 0; i < std::size(kTodayNames); ++i)
        if (name == kTodayNames[i])
            return "http://127.0.1." + std::to_string(i + 1) + ":" + std::to_string(port_);
    throw std::runtime_error("enginesim plays no engine named " + name);
}

std::string EngineSim::todayLogName(const std::string& name)
{
    std::string logged = name;
    logged.erase(std::remove(logged.begin(), logged.end(), ' '), logged.end());
    return logged;
}

void EngineSim::writeEnginesFile(const std::string& programFolder) const
{
    SaveFileBytes(programFolder + "engines.txt", enginesText());
}

std::vector<SimRequest> EngineSim::requests() const
{
    std::vector<SimRequest> out;
    if (!FileExists(logPath_))
        return out;
    for (const std::string& line : SplitLogLines(LoadFileBytes(logPath_))) {
        if (line.rfind("  link ", 0) == 0) {
            if (!out.empty())
                out.back().links.push_back(line.substr(7));
            continue;
        }
        if (line.rfind("conn ", 0) == 0)
            continue;
        // "<status> <what> <method> <target>"
        const size_t s1 = line.find(' ');
        const size_t s2 = s1 == std::string::npos ? s1 : line.find(' ', s1 + 1);
        const size_t s3 = s2 == std::string::npos ? s2 : line.find(' ', s2 + 1);
        if (s3 == std::string::npos)
            continue;
        out.push_back({ line.substr(0, s1), line.substr(s1 + 1, s2 - s1 - 1), line.substr(s3 + 1), {},
            line.substr(s2 + 1, s3 - s2 - 1) });
    }
    return out;
}

std::vector<SimConnection> EngineSim::connections() const
{
    std::vector<SimConnection> out;
    if (!FileExists(logPath_))
        return out;
    for (const std::string& line : SplitLogLines(LoadFileBytes(logPath_))) {
        // "conn open|close <address> <n>"
        if (line.rfind("conn ", 0) != 0)
            continue;
        const size_t s1 = line.find(' ', 5);
        const size_t s2 = s1 == std::string::npos ? s1 : line.find(' ', s1 + 1);
        if (s2 == std::string::npos)
            continue;
        out.push_back({ line.compare(5, s1 - 5, "open") == 0, line.substr(s1 + 1, s2 - s1 - 1),
            std::atoi(line.c_str() + s2 + 1) });
    }
    return out;
}

int EngineSim::maxOpenToOneAddress() const
{
    int most = 0;
    for (const SimConnection& c : connections())
        most = std::max(most, c.openToAddress);
    return most;
}

int EngineSim::openConnections() const
{
    int open = 0;
    for (const SimConnection& c : connections())
        open += c.open ? 1 : -1;
    return open;
}

std::vector<SimRequest> EngineSim::requestsOf(const std::string& what) const
{
    std::vector<SimRequest> out;
    for (auto& r : requests())
        if (r.what == what)
            out.push_back(std::move(r));
    return out;
}

} // namespace orv::test
