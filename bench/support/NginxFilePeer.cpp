#include "support/NginxFilePeer.h"

#include "net/HttpProt.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <chrono>
#include <random>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv::bench
{
namespace
{

int FreePort()
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

bool WriteFile(const QString& path, const std::string& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
        && f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

bool WriteRandomFile(const QString& path, long long size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    std::mt19937 rng(64);
    std::vector<char> block(1 << 20);
    for (long long done = 0; done < size; done += static_cast<long long>(block.size())) {
        for (char& c : block)
            c = static_cast<char>(rng());
        if (f.write(block.data(), static_cast<qint64>(block.size())) != static_cast<qint64>(block.size()))
            return false;
    }
    return true;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

bool Accepts(int port)
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

NginxFilePeer::NginxFilePeer(const std::optional<Certificate>& tls)
    : tls_(tls.has_value())
{
    const std::string d = dir_.path().toStdString() + "/";
    QDir().mkpath(file(QStringLiteral("www")));
    if (!WriteRandomFile(file(QStringLiteral("www/big.bin")), kFileSize)) {
        error_ = "cannot write the file to serve";
        return;
    }
    std::string listen = " listen 127.0.0.1:" + std::to_string(port_ = FreePort());
    if (tls) {
        if (!WriteFile(file(QStringLiteral("server.crt")), tls->certPem)
            || !WriteFile(file(QStringLiteral("server.key")), tls->keyPem)) {
            error_ = "cannot write the certificate";
            return;
        }
        listen += " ssl; ssl_certificate " + d + "server.crt; ssl_certificate_key " + d + "server.key";
    }
    const std::string conf = "daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log " + d
        + "error.log;\npid " + d + "nginx.pid;\nevents { worker_connections 64; }\nhttp {\n access_log off;\n"
        + " sendfile on;\n client_body_temp_path " + d + ";\n proxy_temp_path " + d + ";\n fastcgi_temp_path " + d
        + ";\n uwsgi_temp_path " + d + ";\n scgi_temp_path " + d + ";\n server {" + listen + "; root " + d
        + "www; }\n}\n";
    if (!WriteFile(file(QStringLiteral("nginx.conf")), conf)) {
        error_ = "cannot write nginx.conf";
        return;
    }
    process_.start(QStringLiteral("/usr/sbin/nginx"),
        { "-c", file(QStringLiteral("nginx.conf")), "-p", dir_.path(), "-e", file(QStringLiteral("error.log")) });
    if (!process_.waitForStarted(5000)) {
        error_ = "nginx did not start";
        return;
    }
    for (int i = 0; i < 500 && !Accepts(port_); ++i)
        QThread::msleep(10); // start-up of a child, not a measurement
    if (!Accepts(port_))
        error_ = "nginx did not come up";
}

NginxFilePeer::~NginxFilePeer()
{
    process_.terminate();
    process_.waitForFinished(5000);
}

std::string NginxFilePeer::url() const
{
    return (tls_ ? "https" : "http") + std::string("://127.0.0.1:") + std::to_string(port_) + "/big.bin";
}

void NginxFilePeer::fetchWithCurl(benchmark::State& state, const QStringList& curlOptions)
{
    if (!error_.empty())
        return state.SkipWithError(error_.c_str());
    const QString out = file(QStringLiteral("curl.bin"));
    const QStringList args = QStringList { "-s", "-o", out } + curlOptions + QStringList { QString::fromStdString(url()) };
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int rc = QProcess::execute(QStringLiteral("curl"), args);
        total += SecondsSince(start);
        if (rc != 0 || QFile(out).size() != kFileSize)
            return state.SkipWithError("curl failed");
    }
    curlSecondsPerFetch_ = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void NginxFilePeer::fetchWithClient(benchmark::State& state) const
{
    if (!error_.empty())
        return state.SkipWithError(error_.c_str());
    THttpCli http;
    http.URL = url();
    QFile out(file(QStringLiteral("client.bin")));
    http.OnDocBegin = [&](THttpCli* h) {
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        h->RcvdStream = &out;
    };
    http.OnDocEnd = [&](THttpCli* h) {
        h->RcvdStream = nullptr;
        out.close();
    };
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        try {
            http.Get();
        } catch (const EHttpException& e) {
            return state.SkipWithError(e.what());
        }
        total += SecondsSince(start);
        if (http.RcvdCount() != kFileSize || QFile(out.fileName()).size() != kFileSize)
            return state.SkipWithError("incomplete fetch");
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
    if (curlSecondsPerFetch_ > 0)
        state.counters["x_curl"] = total / static_cast<double>(state.iterations()) / curlSecondsPerFetch_;
}

} // namespace orv::bench
