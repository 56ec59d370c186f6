// httpget [--proxy HOST[:PORT]] [--timeout SECONDS] [--http 1.0|1.1] URL FILE
// Fetches URL with the program's HTTP client into FILE, through the document
// events, and prints what the client reports. Exit 0 when Get returned
// normally, 1 when it raised (its text on standard error) or timed out, 2 on
// bad usage. A document that did not arrive whole is not left in FILE.
// Without --timeout a request still ends: redirections are bounded and a
// failing peer is failed.
#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <string>

#include <sys/stat.h>

namespace
{

constexpr const char* kUsage = "usage: httpget [--proxy HOST[:PORT]] [--timeout SECONDS] [--http 1.0|1.1] URL FILE\n";

// A whole number of seconds, at most a day; nullopt for anything else.
std::optional<int> parseSeconds(const std::string& text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n > 86400)
        return std::nullopt;
    return n;
}

// Only a regular file is removed: FILE may name a device such as /dev/null.
void removePartialFile(const std::string& path)
{
    struct stat st {
    };
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        std::remove(path.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::string proxy, url, file;
    std::optional<int> timeout;
    bool http11 = false;
    int i = 1;
    const auto isOption = [](const std::string& a) { return a == "--proxy" || a == "--timeout" || a == "--http"; };
    while (i + 1 < argc && isOption(argv[i])) {
        if (std::string(argv[i]) == "--proxy") {
            proxy = argv[i + 1];
        } else if (std::string(argv[i]) == "--http") {
            const std::string version = argv[i + 1];
            if (version != "1.0" && version != "1.1") {
                std::fprintf(stderr, "httpget: --http takes 1.0 or 1.1\n%s", kUsage);
                return 2;
            }
            http11 = version == "1.1";
        } else {
            timeout = parseSeconds(argv[i + 1]);
            if (!timeout) {
                std::fprintf(stderr, "httpget: --timeout takes a whole number of seconds\n%s", kUsage);
                return 2;
            }
        }
        i += 2;
    }
    if (argc - i != 2) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    url = argv[i];
    file = argv[i + 1];

    orv::THttpCli http;
    http.URL = url;
    http.Proxy = proxy;
    http.Http11 = http11;
    QFile out(QString::fromLocal8Bit(file.c_str()));
    bool openFailed = false;
    http.OnDocBegin = [&](orv::THttpCli* sender) {
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            sender->RcvdStream = &out;
        else
            openFailed = true;
    };
    http.OnDocEnd = [&](orv::THttpCli* sender) {
        sender->RcvdStream = nullptr;
        out.close();
    };

    // The whole request, from the name lookup to the last byte, gets the
    // time given; then it is aborted.
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        timedOut = true;
        http.Abort();
    });
    if (timeout)
        deadline.start(*timeout * 1000);

    int rc = 0;
    try {
        http.Get();
    } catch (const std::exception& e) {
        if (timedOut)
            std::fprintf(stderr, "timed out after %d second%s\n", *timeout, *timeout == 1 ? "" : "s");
        else
            std::fprintf(stderr, "%s\n", e.what());
        rc = 1;
    }
    deadline.stop();
    out.close();
    if (rc == 0 && out.error() != QFileDevice::NoError) {
        std::fprintf(stderr, "cannot write %s: %s\n", file.c_str(), out.errorString().toLocal8Bit().constData());
        rc = 1;
    }
    std::printf("status: %d\nreason: %s\ndocument: %s\nbytes: %lld\n", http.StatusCode(), http.ReasonPhrase().c_str(),
        http.DocName().c_str(), http.RcvdCount());
    if (openFailed) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        rc = 1;
    }
    if (rc != 0 && http.RcvdCount() > 0 && !openFailed)
        removePartialFile(file);
    return rc;
}
