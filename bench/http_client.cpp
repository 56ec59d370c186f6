// The HTTP client against a real nginx on 127.0.0.1:
// - fetching a 64 MB file with THttpCli into a file, next to `curl -s -o` of
//   the same file in the same run (the client's time is also given as a ratio
//   to curl's);
// - the process CPU time spent while Get waits two seconds on a server that
//   has accepted the connection but never answers.
#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr long long kFileSize = 64LL * 1024 * 1024;

int listenOnFreePort(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin {};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin);
    ::listen(fd, 8);
    socklen_t len = sizeof sin;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sin), &len);
    port = ntohs(sin.sin_port);
    return fd;
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

// nginx serving a 64 MB file from a temp folder, for the whole run.
struct NginxPeer {
    QTemporaryDir dir;
    QProcess process;
    int port = 0;
    std::string error;

    NginxPeer()
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
        const int fd = listenOnFreePort(port);
        ::close(fd);
        QFile conf(dir.path() + "/nginx.conf");
        conf.open(QIODevice::WriteOnly);
        const std::string text = "daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log " + d
            + "error.log;\npid " + d + "nginx.pid;\nevents { worker_connections 64; }\nhttp {\n access_log off;\n"
            + " sendfile on;\n client_body_temp_path " + d + ";\n proxy_temp_path " + d + ";\n fastcgi_temp_path " + d
            + ";\n uwsgi_temp_path " + d + ";\n scgi_temp_path " + d
            + ";\n server { listen 127.0.0.1:" + std::to_string(port) + "; root " + d + "www; }\n}\n";
        conf.write(text.data(), static_cast<qint64>(text.size()));
        conf.close();
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
    ~NginxPeer()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port) + "/big.bin"; }
    QString outFile(const char* name) const { return dir.path() + "/" + name; }
};

NginxPeer* peer = nullptr;
double curlSecondsPerFetch = 0;

void BM_Curl_64MB(benchmark::State& state)
{
    if (!peer->error.empty())
        return state.SkipWithError(peer->error.c_str());
    const QString out = peer->outFile("curl.bin");
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const int rc = QProcess::execute("curl", { "-s", "-o", out, QString::fromStdString(peer->url()) });
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (rc != 0 || QFile(out).size() != kFileSize)
            return state.SkipWithError("curl failed");
    }
    curlSecondsPerFetch = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_THttpCli_64MB(benchmark::State& state)
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
        http.Get();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (http.RcvdCount() != kFileSize || QFile(out.fileName()).size() != kFileSize)
            return state.SkipWithError("incomplete fetch");
    }
    const double perFetch = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * kFileSize);
    if (curlSecondsPerFetch > 0)
        state.counters["x_curl"] = perFetch / curlSecondsPerFetch;
}

double cpuSeconds()
{
    rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
        + static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// A listening socket that never accepts: the connection is made by the
// kernel, the request is sent, and no answer ever comes.
void BM_GetWaitCpu_2s(benchmark::State& state)
{
    int port = 0;
    const int fd = listenOnFreePort(port);
    orv::THttpCli http;
    http.URL = "http://127.0.0.1:" + std::to_string(port) + "/";
    double cpu = 0;
    for (auto _ : state) {
        QTimer::singleShot(2000, [&] { http.Abort(); });
        const double c0 = cpuSeconds();
        try {
            http.Get();
        } catch (const orv::EHttpException&) { // aborted, as planned
        }
        cpu += cpuSeconds() - c0;
    }
    ::close(fd);
    state.counters["cpu_ms"] = cpu * 1000.0 / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_Curl_64MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_THttpCli_64MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_GetWaitCpu_2s)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    NginxPeer nginx;
    peer = &nginx;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    peer = nullptr;
    return 0;
}
