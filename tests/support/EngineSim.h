#pragma once
// Starts the engine simulator (tools/enginesim) on a free port of 127.0.0.1
// for one test, waits until it is listening, and stops it again. Its request
// log is kept in a folder of its own and read back on demand, so a test can
// check exactly which URLs a run sent and which result links it was given.
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QProcess;
class QTemporaryDir;

namespace orv::test
{

// One request the simulator answered.
struct SimRequest {
    std::string status; // "200", "404", "302", "RST"
    std::string what; // engine caption, "site", "fault" or "-"
    std::string target; // path and query as sent, trailing blanks kept
    std::vector<std::string> links; // result links of an engine page, in page order
    std::string method; // "GET", "POST"
};

// A connection opened or closed, and how many were then open to its address.
struct SimConnection {
    bool open = false;
    std::string address; // "127.0.0.1:N"
    int openToAddress = 0;
};

class EngineSim
{
public:
    struct Options {
        int seed = 1;
        int resultsPerEngine = 100;
        bool faults = true;
        std::string slow; // "Infoseek:2,Excite": pages answered after slowMs
        int slowMs = 3000;
        std::string cut; // "Excite:1": pages sent only in part
        int extraHosts = 0; // also serve 127.0.0.2 ... 127.0.0.(1 + extraHosts)
        // Also serve over TLS; the simulator's CA is then trusted by this
        // process and its children (SSL_CERT_FILE) until the simulator
        // stops, when the previous trust store comes back.
        bool tls = false;
        std::string challenge; // "DuckDuckGo:2,Bing": today's pages answered with a challenge page
        std::string throttle; // "Brave": today's pages answered with 429
    };

    EngineSim();
    explicit EngineSim(const Options& options);
    ~EngineSim();
    EngineSim(const EngineSim&) = delete;
    EngineSim& operator=(const EngineSim&) = delete;

    int port() const { return port_; }
    int tlsPort() const { return tlsPort_; }
    std::string httpsUrl(const std::string& path) const; // "https://127.0.0.1:T" + path
    std::string host() const; // "127.0.0.1:N"
    std::string url(const std::string& path) const; // "http://127.0.0.1:N" + path

    // Where the simulator plays one of today's engines ("DuckDuckGo",
    // "Hacker News", ...): "http://127.0.1.K:N".
    std::string todayOrigin(const std::string& name) const;
    // Its name in the request log: the name without blanks.
    static std::string todayLogName(const std::string& name);

    // The engines.txt lines pointing every engine, drawn and today's, at this simulator.
    std::string enginesText() const;
    // Writes them to `programFolder` + "engines.txt".
    void writeEnginesFile(const std::string& programFolder) const;

    // Everything answered so far, in order; the log is re-read on each call.
    std::vector<SimRequest> requests() const;
    std::vector<SimRequest> requestsOf(const std::string& what) const;
    // Every connection opened and closed so far, in order.
    std::vector<SimConnection> connections() const;
    // The most connections that were open to one address at once.
    int maxOpenToOneAddress() const;
    // Connections open now, over all addresses.
    int openConnections() const;

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QProcess> process_;
    std::string logPath_;
    int port_ = 0;
    int tlsPort_ = 0;
    bool trusting_ = false; // SSL_CERT_FILE points at the simulator's CA
    std::optional<std::string> previousCertFile_;
};

} // namespace orv::test
