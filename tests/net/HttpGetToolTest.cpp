// The httpget tool, run as a child against the scripted server.
#include "NetTestSupport.h"
#include "support/TempFolder.h"

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

} // namespace
} // namespace orv
