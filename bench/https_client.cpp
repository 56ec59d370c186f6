// The HTTP client over TLS against a real nginx on 127.0.0.1: fetching a
// 64 MB file over https with THttpCli into a file, next to `curl -s -o` of
// the same URL in the same run (the client's time is also given as a ratio
// to curl's). Both trust the same authority, made for this run, and both
// verify the server's certificate.
#include "TlsCerts.h"
#include "support/NginxFilePeer.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace
{

orv::bench::NginxFilePeer* peer = nullptr;
QString caFile;

void BM_CurlHttps_64MB(benchmark::State& state)
{
    peer->fetchWithCurl(state, { "--cacert", caFile });
}

void BM_THttpCliHttps_64MB(benchmark::State& state)
{
    peer->fetchWithClient(state);
}

} // namespace

BENCHMARK(BM_CurlHttps_64MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_THttpCliHttps_64MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // A certificate for 127.0.0.1 from an authority of the run's own.
    const tlscerts::Pem ca = tlscerts::makeAuthority("Orvalen Bench Authority");
    const tlscerts::Pem server = tlscerts::makeServer(ca, { "127.0.0.1" });
    orv::bench::NginxFilePeer nginx(orv::bench::NginxFilePeer::Certificate { server.cert, server.key });
    caFile = nginx.file(QStringLiteral("ca.pem"));
    QFile caOut(caFile);
    if (!caOut.open(QIODevice::WriteOnly)
        || caOut.write(ca.cert.data(), static_cast<qint64>(ca.cert.size())) != static_cast<qint64>(ca.cert.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(caFile));
        return 1;
    }
    caOut.close();
    // The client trusts the run's authority only, as curl does with --cacert.
    ::setenv("SSL_CERT_FILE", caFile.toLocal8Bit().constData(), 1);
    ::setenv("SSL_CERT_DIR", nginx.file(QStringLiteral("no-certs")).toLocal8Bit().constData(), 1);
    peer = &nginx;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    peer = nullptr;
    return 0;
}
