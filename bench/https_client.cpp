// The HTTP client over TLS against a real nginx on 127.0.0.1: fetching a
// 64 MB file over https with THttpCli into a file, next to `curl -s -o` of
// the same URL in the same run (the client's time is also given as a ratio
// to curl's). Both trust the same authority, made for this run, and both
// verify the server's certificate.
#include "TlsCerts.h"
#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr long long kFileSize = 64LL * 1024 * 1024;

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

bool writeFile(const QString& path, const std::string& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
        && f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

// nginx serving a 64 MB file over TLS from a temp folder, for the whole run,
// with a certificate for 127.0.0.1 from an authority of the run's own.
struct NginxTlsPeer {
    QTemporaryDir dir;
    QProcess process;
    int port = 0;
    std::string error;

    NginxTlsPeer()
    {
        const std::string d = dir.path().toStdString() + "/";
        QDir().mkpath(dir.path() + "/www");
        {
            QFile f(dir.path() + "/www/big.bin");
            f.open(QIODevice::WriteOnly);
            std::mt19937 rng(64);
            std::vector<char> block(1 << 20);
            for (long long done = 0; done < kFileSize; done += static_cast<long long>(block.size())) {
                for (char& c : block)
                    c = static_cast<char>(rng());
                f.write(block.data(), static_cast<qint64>(block.size()));
            }
        }
        const tlscerts::Pem ca = tlscerts::makeAuthority("Orvalen Bench Authority");
        const tlscerts::Pem server = tlscerts::makeServer(ca, { "127.0.0.1" });
        if (!writeFile(caFile(), ca.cert) || !writeFile(dir.path() + "/server.crt", server.cert)
            || !writeFile(dir.path() + "/server.key", server.key)) {
            error = "cannot write the certificates";
            return;
        }
        port = freePort();
        const std::string text = "daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log " + d
            + "error.log;\npid " + d + "nginx.pid;\nevents { worker_connections 64; }\nhttp {\n access_log off;\n"
            + " sendfile on;\n client_body_temp_path " + d + ";\n proxy_temp_path " + d + ";\n fastcgi_temp_path " + d
            + ";\n uwsgi_temp_path " + d + ";\n scgi_temp_path " + d + ";\n server { listen 127.0.0.1:"
            + std::to_string(port) + " ssl; root " + d + "www; ssl_certificate " + d + "server.crt; ssl_certificate_key "
            + d + "server.key; }\n}\n";
        if (!writeFile(dir.path() + "/nginx.conf", text)) {
            error = "cannot write nginx.conf";
            return;
        }
        process.start(
            "/usr/sbin/nginx", { "-c", dir.path() + "/nginx.conf", "-p", dir.path(), "-e", dir.path() + "/error.log" });
        if (!process.waitForStarted(5000)) {
            error = "nginx did not start";
            return;
        }
        for (int i = 0; i < 500 && !accepts(port); ++i)
            QThread::msleep(10); // start-up of a child, not a measurement
        if (!accepts(port))
            error = "nginx did not come up";
    }
    ~NginxTlsPeer()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    QString caFile() const { return dir.path() + "/ca.pem"; }
    std::string url() const { return "https://127.0.0.1:" + std::to_string(port) + "/big.bin"; }
    QString outFile(const char* name) const { return dir.path() + "/" + name; }
};

NginxTlsPeer* peer = nullptr;
double curlSecondsPerFetch = 0;

void BM_CurlHttps_64MB(benchmark::State& state)
{
    if (!peer->error.empty())
        return state.SkipWithError(peer->error.c_str());
    const QString out = peer->outFile("curl.bin");
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const int rc = QProcess::execute(
            "curl", { "-s", "--cacert", peer->caFile(), "-o", out, QString::fromStdString(peer->url()) });
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (rc != 0 || QFile(out).size() != kFileSize)
            return state.SkipWithError("curl failed");
    }
    curlSecondsPerFetch = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_THttpCliHttps_64MB(benchmark::State& state)
{
    if (!peer->error.empty())
        return state.SkipWithError(peer->error.c_str());
    orv::THttpCli http;
    http.URL = peer->url();
    QFile out(peer->outFile("client.bin"));
    http.OnDocBegin = [&](orv::THttpCli* h) {
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        h->RcvdStream = &out;
    };
    http.OnDocEnd = [&](orv::THttpCli* h) {
        h->RcvdStream = nullptr;
        out.close();
    };
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        try {
            http.Get();
        } catch (const orv::EHttpException& e) {
            return state.SkipWithError(e.what());
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (http.RcvdCount() != kFileSize || QFile(out.fileName()).size() != kFileSize)
            return state.SkipWithError("incomplete fetch");
    }
    const double perFetch = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kFileSize);
    if (curlSecondsPerFetch > 0)
        state.counters["x_curl"] = perFetch / curlSecondsPerFetch;
}

} // namespace

BENCHMARK(BM_CurlHttps_64MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_THttpCliHttps_64MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    NginxTlsPeer nginx;
    // The client trusts the run's authority only, as curl does with --cacert.
    ::setenv("SSL_CERT_FILE", nginx.caFile().toLocal8Bit().constData(), 1);
    ::setenv("SSL_CERT_DIR", nginx.dir.path().toLocal8Bit().constData(), 1);
    peer = &nginx;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    peer = nullptr;
    return 0;
}
