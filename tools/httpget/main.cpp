// httpget [--proxy HOST[:PORT]] URL FILE
// Fetches URL with the program's HTTP client into FILE, through the document
// events, and prints what the client reports. Exit 0 when Get returned
// normally, 1 when it raised (its text on standard error), 2 on bad usage.
#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::string proxy, url, file;
    int i = 1;
    if (i + 1 < argc && std::string(argv[i]) == "--proxy") {
        proxy = argv[i + 1];
        i += 2;
    }
    if (argc - i != 2) {
        std::fprintf(stderr, "usage: httpget [--proxy HOST[:PORT]] URL FILE\n");
        return 2;
    }
    url = argv[i];
    file = argv[i + 1];

    orv::THttpCli http;
    http.URL = url;
    http.Proxy = proxy;
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

    int rc = 0;
    try {
        http.Get();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        rc = 1;
    }
    out.close();
    std::printf("status: %d\nreason: %s\ndocument: %s\nbytes: %lld\n", http.StatusCode(), http.ReasonPhrase().c_str(),
        http.DocName().c_str(), http.RcvdCount());
    if (openFailed) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        rc = 1;
    }
    return rc;
}
