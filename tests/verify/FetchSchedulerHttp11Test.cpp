// Parallel fetches over HTTP/1.1 against a loopback server that keeps its
// connections: the same outcome for every page with one request at a time
// and with sixteen, connections taken up again, bombs cut at the page bound.
#include "support/QtCoreEnvironment.h"
#include "support/TempFolder.h"
#include "verify/FetchScheduler.h"
#include "verify/PageBound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <map>

namespace orv::test
{
namespace
{

[[maybe_unused]] ::testing::Environment* const qtEnvironment
    = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

std::string deflated(const std::string& text)
{
    uLongf len = compressBound(text.size());
    std::string out(len, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &len, reinterpret_cast<const Bytef*>(text.data()), text.size(), 1);
    out.resize(len);
    return out;
}

std::string page(const std::string& head, const std::string& body)
{
    return "HTTP/1.1 200 OK\r\n" + head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Answers each request by its path, keeping the connection unless the
// answer is marked to close it; "/trickle" sends a chunk every 100 ms.
class PathServer
{
public:
    struct Answer {
        std::string bytes;
        bool close = false;
    };
    std::map<std::string, Answer> answers;
    int connections = 0;

    PathServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                ++connections;
                s->setParent(&server_);
                auto received = std::make_shared<std::string>();
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, received] {
                    const QByteArray data = s->readAll();
                    received->append(data.constData(), static_cast<size_t>(data.size()));
                    for (size_t end; (end = received->find("\r\n\r\n")) != std::string::npos;) {
                        const std::string line = received->substr(0, received->find(' ', 4));
                        received->erase(0, end + 4);
                        serve(s, line.substr(4));
                    }
                });
            }
        });
    }
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }

private:
    void serve(QTcpSocket* s, const std::string& path)
    {
        if (path == "/trickle") {
            s->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
            auto* timer = new QTimer(s);
            QObject::connect(timer, &QTimer::timeout, s, [s] { s->write("1\r\nx\r\n"); });
            timer->start(100);
            return;
        }
        const auto at = answers.find(path);
        const Answer a = at != answers.end() ? at->second : Answer { "HTTP/1.1 404 Not Found\r\n\r\n", true };
        s->write(a.bytes.data(), static_cast<qint64>(a.bytes.size()));
        if (a.close)
            s->disconnectFromHost();
    }

    QTcpServer server_;
};

class Ends final : public FetchListener
{
public:
    std::map<int, FetchEnd> ends;
    std::map<int, std::uintmax_t> sizes; // of each row's page file at its end (slots are reused)
    std::optional<int> TimeoutSeconds() override { return 1; }
    void RowSkipped(int) override { }
    void RowStarted(int, const std::string&) override { }
    void RowReceiving(int, const std::string&, long long) override { }
    void RowTimingOut(int) override { }
    void DataFileFailed(int, const std::string&) override { }
    void RowEnded(const FetchEnd& end) override
    {
        ends[end.row] = end;
        std::error_code ec;
        sizes[end.row] = end.dataFile.empty() ? 0 : std::filesystem::file_size(end.dataFile, ec);
    }
};

// A page, what the server answers for it (empty: the server's own way),
// and how its row must end.
struct Row {
    std::string path, answer;
    bool timedOut, failed;
    std::uintmax_t size; // of the page file, for a page that arrived
};

class FetchSchedulerHttp11 : public ::testing::TestWithParam<int>
{
};

TEST_P(FetchSchedulerHttp11, EveryPageEndsAsWithOneRequestAtATime)
{
    PathServer server;
    const std::string html = "<html><title>t</title>" + std::string(3000, 'w') + "</html>";
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    const std::string hexSize = QByteArray::number(static_cast<qulonglong>(html.size()), 16).toStdString();
    std::vector<Row> expected = {
        { "/chunked", chunked + hexSize + "\r\n" + html + "\r\n0\r\nX-Trailer: 1\r\n\r\n", false, false, html.size() },
        { "/deflate", page("Content-Encoding: deflate\r\n", deflated(html)), false, false, html.size() },
        { "/bomb", page("Content-Encoding: deflate\r\n", deflated(std::string(40u << 20, '\0'))), false, false,
            static_cast<std::uintmax_t>(kRetrievedPageLimit) },
        { "/corrupt", page("Content-Encoding: gzip\r\n", std::string("\x1f\x8b\x08\0broken", 10)), false, true, 0 },
        { "/overflow", chunked + "FFFFFFFFFFFFFFFFFFFFF\r\n", false, true, 0 },
        { "/continue", "HTTP/1.1 100 Continue\r\n\r\n" + page("", html), false, false, html.size() },
        { "/close", "HTTP/1.1 200 OK\r\n\r\n" + html, false, false, html.size() },
        { "/loop", "HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n", false, true, 0 },
        { "/trickle", "", true, false, 0 },
    };
    for (int i = 0; i < 12; ++i)
        expected.push_back({ "/p" + std::to_string(i), page("", html), false, false, html.size() });
    for (const Row& row : expected)
        server.answers[row.path] = { row.answer, row.path == "/close" };

    TempFolder folder;
    std::filesystem::create_directories(folder.path() + "data");
    FetchSettings settings;
    settings.parallel = GetParam();
    settings.dataFolder = folder.path() + "data/";
    settings.http11 = true;
    Ends ends;
    FetchScheduler scheduler(settings, ends);
    std::vector<FetchRow> rows;
    for (size_t i = 0; i < expected.size(); ++i)
        rows.push_back({ static_cast<int>(i), server.url(expected[i].path), false });
    scheduler.Start(rows);
    QElapsedTimer bound;
    bound.start();
    while (!scheduler.Finished() && bound.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(scheduler.Finished());

    for (size_t i = 0; i < expected.size(); ++i) {
        const FetchEnd& end = ends.ends[static_cast<int>(i)];
        EXPECT_EQ(end.timedOut, expected[i].timedOut) << expected[i].path;
        EXPECT_EQ(end.bodyFailed, expected[i].failed) << expected[i].path;
        if (!expected[i].failed && !expected[i].timedOut) {
            EXPECT_EQ(ends.sizes[static_cast<int>(i)], expected[i].size) << expected[i].path;
        }
    }
    // Twelve pages of one host through at most four connections at once,
    // plus the redirections and the pages that close or fail theirs.
    // (26 connections end with their answer; without reuse there would be 41.)
    EXPECT_LE(server.connections, 32) << "connections are not taken up again";
}

INSTANTIATE_TEST_SUITE_P(InFlight, FetchSchedulerHttp11, ::testing::Values(1, 16));

} // namespace
} // namespace orv::test
