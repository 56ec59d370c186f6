// The HTTP client against a real nginx on 127.0.0.1:
// - fetching a 64 MB file with THttpCli into a file, next to `curl -s -o` of
//   the same file in the same run (the client's time is also given as a ratio
//   to curl's);
// - the process CPU time spent while Get waits two seconds on a server that
//   has accepted the connection but never answers.
#include "net/HttpProt.h"
#include "support/NginxFilePeer.h"

#include <QCoreApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

orv::bench::NginxFilePeer* peer = nullptr;

void BM_Curl_64MB(benchmark::State& state)
{
    peer->fetchWithCurl(state, {});
}

void BM_THttpCli_64MB(benchmark::State& state)
{
    peer->fetchWithClient(state);
}

// A socket on 127.0.0.1 that listens on a free port; its descriptor.
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
    orv::bench::NginxFilePeer nginx;
    peer = &nginx;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    peer = nullptr;
    return 0;
}
