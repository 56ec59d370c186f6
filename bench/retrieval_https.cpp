// A retrieval run over 500 pages of the engine simulator on 127.0.0.1 over
// https, next to the same 500 pages over http, in the same program run so
// that both share the machine's load. The simulator serves both from one
// process; its certificate authority is the only one the program trusts.
//
// Each iteration clears the ticks and the approved list and runs the
// Retrieve command over all 500 rows: connection (and, over https, the TLS
// handshake and the certificate check), request, page file, page scan and
// the row's outcome.
#include "support/BenchSupport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

constexpr int kSites = 500;

struct World {
    QTemporaryDir folder;
    orv::bench::Simulator sim;
    orv::bench::RetrievalWindow plain, secure;

    bool start()
    {
        if (!folder.isValid())
            return false;
        const QString caFile = folder.filePath(QStringLiteral("ca.pem"));
        if (!sim.start({ QStringLiteral("--tls-port"), QStringLiteral("0"), QStringLiteral("--tls-ca"), caFile,
                QStringLiteral("--results-per-engine"), QString::number(kSites), QStringLiteral("--no-faults"),
                QStringLiteral("--log"), QStringLiteral("/dev/null") }))
            return false;
        // Only the simulator's authority is trusted, and it is read before
        // the first TLS session starts.
        ::setenv("SSL_CERT_FILE", caFile.toLocal8Bit().constData(), 1);
        ::setenv("SSL_CERT_DIR", folder.path().toLocal8Bit().constData(), 1);

        std::vector<std::string> http, https;
        for (int i = 0; i < kSites; ++i) {
            char path[64];
            std::snprintf(path, sizeof path, "/site/%04d.html", i);
            http.push_back("http://127.0.0.1:" + std::to_string(sim.port()) + path);
            https.push_back("https://127.0.0.1:" + std::to_string(sim.tlsPort()) + path);
        }
        return plain.open(http) && secure.open(https);
    }
};

World* world = nullptr;
double httpSecondsPerRun = 0;

void BM_RetrievalHttp(benchmark::State& state)
{
    httpSecondsPerRun = world->plain.timeRetrievals(state);
}

void BM_RetrievalHttps(benchmark::State& state)
{
    const double perRun = world->secure.timeRetrievals(state);
    if (httpSecondsPerRun > 0)
        state.counters["x_http"] = perRun / httpSecondsPerRun;
}

BENCHMARK(BM_RetrievalHttp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RetrievalHttps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return orv::bench::RunOverWorld(argc, argv, world);
}
