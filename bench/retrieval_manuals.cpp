// Retrieval of real pages beside the fetch tools, in one run: the HTML
// manuals of a Debian package (python3-doc, about 1,000 pages) served by
// nginx on 20 loopback ports, once all over http and once with half of the
// hosts over TLS under an authority made here. Sixteen fetches at once for
// each: the program's batch retrieval (fetch, page file, judging, outcome),
// curl --parallel and wget2 (fetch and write only). Best of three runs each.
// Then the page scan alone over the same pages in memory, beside
// grep -c -i -F over the files with the same words.
//
// Goal: the batch retrieval takes at most as long as curl and as wget2.
#include "TlsCerts.h"
#include "core/Lines.h"
#include "files/ResultsFile.h"
#include "verify/Criteria.h"
#include "verify/PageScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr int kHosts = 20;
constexpr int kParallel = 16;
const char* const kManuals = "/usr/share/doc/python3-doc/html";

// The criteria the pages are judged by: common words of the manuals, so
// that pages pass, fail and are excluded.
const char* const kPrimary = "function\nmodule\n\"return value\"";
const char* const kSecondary = "example\nPython";
const char* const kExclusion = "Deprecated since version 3.2";

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

bool accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin {};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(static_cast<uint16_t>(port));
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin) == 0;
    ::close(fd);
    return ok;
}

bool writeText(const QString& path, const std::string& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
        && f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

double secondsOf(const std::function<bool()>& run, int times, bool& ok)
{
    double best = 1e9;
    for (int i = 0; i < times; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!run()) {
            ok = false;
            return 0;
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

bool runTool(const QString& program, const QStringList& args, const QString& workDir = {})
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(600000))
        return false;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s ended with %d\n", qPrintable(program), p.exitCode());
        return false;
    }
    return true;
}

struct World {
    QTemporaryDir dir;
    std::vector<std::string> pages; // paths below kManuals
    long long bytes = 0;
    std::vector<int> httpPorts, httpsPorts;
    QProcess nginx;

    ~World()
    {
        nginx.terminate();
        nginx.waitForFinished(5000);
    }

    QString file(const QString& name) const { return dir.path() + "/" + name; }

    bool findPages()
    {
        QDirIterator it(QString::fromLatin1(kManuals), { QStringLiteral("*.html") }, QDir::Files,
            QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        const QString root = QDir(QString::fromLatin1(kManuals)).canonicalPath();
        while (it.hasNext()) {
            it.next();
            const QString path = QDir(root).relativeFilePath(it.fileInfo().canonicalFilePath());
            // Names that need escaping in a URL are left out: the tools
            // would each escape them their own way.
            if (path.contains(QLatin1Char(' ')) || path.contains(QLatin1Char('%')))
                continue;
            pages.push_back(path.toStdString());
            bytes += it.fileInfo().size();
        }
        std::sort(pages.begin(), pages.end());
        return pages.size() > 100;
    }

    bool startNginx()
    {
        const tlscerts::Pem ca = tlscerts::makeAuthority("Bench Authority");
        const tlscerts::Pem server = tlscerts::makeServer(ca, { "127.0.0.1" });
        if (!writeText(file("ca.pem"), ca.cert) || !writeText(file("server.crt"), server.cert)
            || !writeText(file("server.key"), server.key))
            return false;
        const std::string d = dir.path().toStdString() + "/";
        const std::string root = QDir(QString::fromLatin1(kManuals)).canonicalPath().toStdString();
        std::string servers;
        for (int i = 0; i < kHosts; ++i) {
            httpPorts.push_back(freePort());
            servers += " server { listen 127.0.0.1:" + std::to_string(httpPorts.back()) + "; root " + root + "; }\n";
            httpsPorts.push_back(freePort());
            servers += " server { listen 127.0.0.1:" + std::to_string(httpsPorts.back()) + " ssl; ssl_certificate " + d
                + "server.crt; ssl_certificate_key " + d + "server.key; root " + root + "; }\n";
        }
        const std::string conf = "daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log " + d
            + "error.log;\npid " + d + "nginx.pid;\nevents { worker_connections 1024; }\nhttp {\n access_log off;\n"
            + " sendfile on;\n default_type text/html;\n client_body_temp_path " + d + ";\n proxy_temp_path " + d
            + ";\n fastcgi_temp_path " + d + ";\n uwsgi_temp_path " + d + ";\n scgi_temp_path " + d + ";\n" + servers
            + "}\n";
        if (!writeText(file("nginx.conf"), conf))
            return false;
        nginx.start(
            QStringLiteral("/usr/sbin/nginx"), { "-c", file("nginx.conf"), "-p", dir.path(), "-e", file("error.log") });
        if (!nginx.waitForStarted(5000))
            return false;
        for (int i = 0; i < 500 && !accepts(httpsPorts.back()); ++i)
            QThread::msleep(10); // start-up of a child, not a measurement
        return accepts(httpsPorts.back()) && accepts(httpPorts.front());
    }

    // Every page once, the hosts taken in turn; with `mixed` every second
    // host is served over TLS.
    std::vector<std::string> urls(bool mixed) const
    {
        std::vector<std::string> out;
        for (size_t i = 0; i < pages.size(); ++i) {
            const size_t host = i % kHosts;
            const bool tls = mixed && host % 2 == 1;
            out.push_back(std::string(tls ? "https" : "http")
                + "://127.0.0.1:" + std::to_string(tls ? httpsPorts[host] : httpPorts[host]) + "/" + pages[i]);
        }
        return out;
    }

    bool writeLists(const QString& name, const std::vector<std::string>& list) const
    {
        std::string text, curlConfig;
        for (size_t i = 0; i < list.size(); ++i) {
            text += list[i] + "\n";
            curlConfig += "url = \"" + list[i] + "\"\noutput = \"" + std::to_string(i) + ".html\"\n";
        }
        return writeText(file(name + ".txt"), text) && writeText(file(name + ".curl"), curlConfig);
    }

    bool freshFolder(const QString& name) const
    {
        QDir(file(name)).removeRecursively();
        return QDir().mkpath(file(name));
    }

    bool runCurl(const QString& list) const
    {
        return freshFolder("curl")
            && runTool(QStringLiteral("curl"),
                { "-s", "--no-progress-meter", "--fail", "--parallel", "--parallel-max", QString::number(kParallel),
                    "--cacert", file("ca.pem"), "-K", file(list + ".curl") },
                file("curl"));
    }

    bool runWget2(const QString& list) const
    {
        return freshFolder("wget2")
            && runTool(QStringLiteral("wget2"),
                { "-q", "--max-threads=" + QString::number(kParallel), "--ca-certificate=" + file("ca.pem"),
                    "--no-robots", "-i", file(list + ".txt"), "-P", file("wget2") });
    }

    // The batch retrieval from a program folder of its own, with the
    // criteria saved as a template; every row must end "Verified".
    bool runOrvalen(const QString& list, int& approved) const
    {
        const QString folder = file("orvalen");
        if (!freshFolder("orvalen") || !QDir().mkpath(folder + "/data") || !QDir().mkpath(folder + "/Reports")
            || !QDir().mkpath(folder + "/Templates"))
            return false;
        const orv::WordLists lists = orv::BuildWordLists(kPrimary, kSecondary, kExclusion);
        orv::SaveLines((folder + "/bench.cri").toStdString(),
            orv::writeCriteriaTemplate({ lists.primary, lists.secondary, lists.exclusion }));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SSL_CERT_FILE"), file("ca.pem"));
        env.insert(QStringLiteral("SSL_CERT_DIR"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(QStringLiteral(ORVALEN_BIN_DIR "/orvalen"),
            { "--batch", "--program-folder", folder, "--criteria", folder + "/bench.cri", "--urls", file(list + ".txt"),
                "--retrieve", "--parallel", QString::number(kParallel), "--save", folder + "/out.rst" });
        if (!p.waitForStarted(10000) || !p.waitForFinished(600000) || p.exitCode() != 0) {
            std::fprintf(stderr, "orvalen ended with %d\n", p.exitCode());
            return false;
        }
        const orv::FileRead saved = orv::readResultsFile(orv::LoadLines((folder + "/out.rst").toStdString()));
        size_t verified = 0;
        for (const auto& line : saved.master)
            verified += line.size() > 6 && line.compare(line.size() - 6, 6, ",,,,,1") == 0;
        approved = static_cast<int>(saved.approved.size());
        if (verified != pages.size()) {
            std::fprintf(stderr, "orvalen verified %zu of %zu pages\n", verified, pages.size());
            return false;
        }
        return true;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    World world;
    if (!world.dir.isValid() || !world.findPages()) {
        std::fprintf(stderr, "no manuals under %s: run scripts/deps.sh bench\n", kManuals);
        return 1;
    }
    if (!world.startNginx()) {
        std::fprintf(stderr, "nginx did not come up\n");
        return 1;
    }
    std::printf("%zu pages, %.1f MB, %d hosts, %d at once, best of 3\n\n", world.pages.size(),
        static_cast<double>(world.bytes) / 1e6, kHosts, kParallel);
    std::printf("| Run | Orvalen (fetch and judge) | curl --parallel %d | wget2, %d threads |\n", kParallel, kParallel);
    std::printf("|---|---|---|---|\n");
    bool ok = true;
    for (const bool mixed : { false, true }) {
        const QString list = mixed ? QStringLiteral("mixed") : QStringLiteral("http");
        if (!world.writeLists(list, world.urls(mixed)))
            return 1;
        int approved = 0;
        const double ours = secondsOf([&] { return world.runOrvalen(list, approved); }, 3, ok);
        const double curl = secondsOf([&] { return world.runCurl(list); }, 3, ok);
        const double wget2 = secondsOf([&] { return world.runWget2(list); }, 3, ok);
        if (!ok)
            return 1;
        std::printf("| %s | %.2f s (%d approved) | %.2f s (Orvalen %.2fx) | %.2f s (%.2fx) |\n",
            mixed ? "half over https" : "all over http", ours, approved, curl, ours / curl, wget2, ours / wget2);
    }

    // The scan alone: every page from memory through the one-pass scanner,
    // beside grep over the files for the same words.
    std::vector<std::string> bodies;
    const std::string root = QDir(QString::fromLatin1(kManuals)).canonicalPath().toStdString() + "/";
    for (const auto& page : world.pages)
        bodies.push_back(orv::LoadFileBytes(root + page));
    const orv::WordLists lists = orv::BuildWordLists(kPrimary, kSecondary, kExclusion);
    int passed = 0;
    const double scan = secondsOf(
        [&] {
            passed = 0;
            for (const auto& body : bodies) {
                orv::PageScanner scanner(lists);
                scanner.add(body);
                passed += scanner.verdict({}).approved();
            }
            return true;
        },
        3, ok);
    QStringList grepArgs { "-c", "-i", "-F", "-r", "--include=*.html" };
    for (const auto& list : { lists.primary, lists.secondary, lists.exclusion })
        for (const auto& word : list)
            grepArgs << "-e" << QString::fromStdString(word);
    grepArgs << QString::fromStdString(root);
    const double grep = secondsOf([&] { return runTool(QStringLiteral("grep"), grepArgs); }, 3, ok);
    std::printf("\n| Scan alone | one-pass scan, in memory | grep -c -i -F, files |\n|---|---|---|\n");
    std::printf(
        "| %.1f MB | %.3f s (%d approved) | %.3f s |\n", static_cast<double>(world.bytes) / 1e6, scan, passed, grep);
    return ok ? 0 : 1;
}
