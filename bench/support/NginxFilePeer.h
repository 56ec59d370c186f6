#pragma once
// nginx on 127.0.0.1 serving a 64 MB file of random bytes from a folder of
// its own for the whole run, over TLS when given a certificate; and the two
// timed fetch loops the client benchmarks compare on it: curl, then our
// client, whose time is also given as a ratio to curl's.
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace orv::bench
{

class NginxFilePeer
{
public:
    static constexpr long long kFileSize = 64LL * 1024 * 1024;
    struct Certificate {
        std::string certPem;
        std::string keyPem;
    };

    explicit NginxFilePeer(const std::optional<Certificate>& tls = std::nullopt);
    ~NginxFilePeer();

    // Why the peer is not serving; empty when it is.
    const std::string& error() const { return error_; }
    // "http://127.0.0.1:PORT/big.bin", or https when serving over TLS.
    std::string url() const;
    // A path in the peer's folder.
    QString file(const QString& name) const { return dir_.path() + "/" + name; }

    // `curl -s -o` of the file, with `curlOptions` before the URL; keeps the
    // seconds per fetch for the client's ratio.
    void fetchWithCurl(benchmark::State& state, const QStringList& curlOptions);
    // THttpCli's Get of the file into a file.
    void fetchWithClient(benchmark::State& state) const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    bool tls_ = false;
    std::string error_;
    double curlSecondsPerFetch_ = 0;
};

// Whether something accepts connections on 127.0.0.1:`port`.
bool Accepts(int port);

} // namespace orv::bench
