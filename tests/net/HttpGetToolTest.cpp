// The httpget tool, run as a child against the scripted server.
#include "NetTestSupport.h"
#include "support/TempFolder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace orv
{
namespace
{

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

ToolRun runHttpget(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ORVALEN_BIN_DIR "/httpget"), args);
    ToolRun run;
    // The server lives on this thread: keep serving events while the tool runs.
    if (!p.waitForStarted(5000) || !test::waitFor([&] { return p.state() == QProcess::NotRunning; }, 15000)) {
        p.kill();
        p.waitForFinished(2000);
        ADD_FAILURE() << "httpget did not finish";
        return run;
    }
    run.exitCode = p.exitCode();
    run.out = p.readAllStandardOutput().toStdString();
    run.err = p.readAllStandardError().toStdString();
    return run;
}

TEST(HttpGetToolTest, SavesTheDocumentAndReports)
{
    test::ScriptedServer server;
    server.add({ test::send("HTTP/1.0 200 OK\r\n\r\n<html>page</html>"), test::closeConn() });
    test::TempFolder folder;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/cgi-bin/query?q=1";
    const ToolRun run = runHttpget({ QString::fromStdString(url), QString::fromStdString(folder.file("out.htm")) });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "status: 200\nreason: OK\ndocument: query\nbytes: 17\n");
    EXPECT_EQ(folder.read("out.htm"), "<html>page</html>");
}

TEST(HttpGetToolTest, ThroughAProxy)
{
    test::ScriptedServer proxy;
    proxy.add({ test::send("HTTP/1.0 200 OK\r\n\r\nvia proxy"), test::closeConn() });
    test::TempFolder folder;
    const ToolRun run = runHttpget({ "--proxy", QString::fromStdString("127.0.0.1:" + std::to_string(proxy.port())),
        "http://www.example.com:8080/x", QString::fromStdString(folder.file("x")) });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(proxy.requests.at(0), "GET http://www.example.com:8080/x HTTP/1.0\r\nHost: www.example.com\r\n\r\n");
    EXPECT_EQ(folder.read("x"), "via proxy");
}

TEST(HttpGetToolTest, ErrorStatusExitsWithOne)
{
    test::ScriptedServer server;
    server.add({ test::send("HTTP/1.0 404 Not Found\r\n\r\ngone"), test::closeConn() });
    test::TempFolder folder;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/missing";
    const ToolRun run = runHttpget({ QString::fromStdString(url), QString::fromStdString(folder.file("m")) });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Not Found\n");
    EXPECT_EQ(run.out, "status: 404\nreason: Not Found\ndocument: missing\nbytes: 0\n");
}

// Regression: with the output on a full disk the tool exited 0 and reported
// every byte as saved.
TEST(HttpGetToolTest, FullDiskExitsWithOneAndNamesTheWriteError)
{
    test::ScriptedServer server;
    server.add({ test::send("HTTP/1.0 200 OK\r\n\r\n" + std::string(300 * 1024, 'x')), test::closeConn() });
    server.add({ test::send("HTTP/1.0 200 OK\r\n\r\nsmall page"), test::closeConn() });
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/page";
    for (int i = 0; i < 2; ++i) {
        const ToolRun run = runHttpget({ QString::fromStdString(url), QStringLiteral("/dev/full") });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "Cannot write the document: No space left on device\n");
    }
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/dev/full")));
}

// A cut-off body fails the request, and its fragment is not left behind.
TEST(HttpGetToolTest, CutOffBodyExitsWithOneAndLeavesNoFile)
{
    test::ScriptedServer server;
    server.add({ test::send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly this"), test::closeConn() });
    test::TempFolder folder;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/page";
    const ToolRun run = runHttpget({ QString::fromStdString(url), QString::fromStdString(folder.file("page")) });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Connection closed after 9 of 100 bytes of the document\n");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder.file("page"))));
}

TEST(HttpGetToolTest, TimeoutAbortsTheRequestAndSaysSo)
{
    test::ScriptedServer server;
    // The header arrives, then the body never ends.
    server.add({ test::send("HTTP/1.0 200 OK\r\n\r\npart of"), test::hold() });
    test::TempFolder folder;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/slow";
    QElapsedTimer clock;
    clock.start();
    const ToolRun run
        = runHttpget({ "--timeout", "1", QString::fromStdString(url), QString::fromStdString(folder.file("slow")) });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "timed out after 1 second\n");
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder.file("slow"))));

    const ToolRun bad = runHttpget({ "--timeout", "soon", QString::fromStdString(url), "x" });
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("usage: httpget [--proxy HOST[:PORT]] [--timeout SECONDS] [--http 1.0|1.1] URL FILE"),
        std::string::npos);
}

// A redirection loop once kept httpget without --timeout asking for ever.
TEST(HttpGetToolTest, RedirectLoopOverHttp11EndsWithoutATimeout)
{
    test::ScriptedServer server;
    for (int i = 0; i < 25; ++i)
        server.add({ test::send("HTTP/1.1 301 Moved\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"), test::hold() });
    test::TempFolder folder;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/again";
    const ToolRun run
        = runHttpget({ "--http", "1.1", QString::fromStdString(url), QString::fromStdString(folder.file("x")) });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "too many redirects\n");
    EXPECT_EQ(server.connections, 21);
    EXPECT_EQ(server.requests.at(0).substr(0, 21), "GET /again HTTP/1.1\r\n");
}

} // namespace
} // namespace orv
