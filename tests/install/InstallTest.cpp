// `cmake --install` of this build into a fresh prefix: the tree a system
// install lays out, checked by the desktop's own validators, and the
// installed program answering --version.
#include "core/Lines.h"
#include "core/Text.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QProcess>
#include <algorithm>
#include <gtest/gtest.h>

namespace orv::test
{
namespace
{

struct Ran {
    int exitCode = -1;
    std::string output;
};

Ran runTool(const QString& program, const QStringList& args, const QProcessEnvironment& env = {})
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForStarted(10000))
        return { -1, "cannot start " + program.toStdString() };
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAll().toStdString() };
}

TEST(Install, LaysOutAValidSystemTree)
{
    TempFolder prefix;
    const Ran install = runTool(QStringLiteral("cmake"),
        { "--install", QStringLiteral(ORVALEN_BIN_DIR "/.."), "--prefix", QString::fromStdString(prefix.path()) });
    ASSERT_EQ(install.exitCode, 0) << install.output;

    for (const char* file : { "bin/orvalen", "bin/enginesim", "share/applications/org.orvalen.Orvalen.desktop",
             "share/metainfo/org.orvalen.Orvalen.metainfo.xml", "share/man/man1/orvalen.1",
             "share/icons/hicolor/48x48/apps/orvalen.png", "share/icons/hicolor/256x256/apps/orvalen.png",
             "share/orvalen/orvalen.avi", "share/orvalen/logo.jpg", "share/orvalen/search.txt",
             "share/orvalen/engines/duckduckgo.yml", "share/orvalen/engines/searxng.yml" })
        EXPECT_TRUE(FileExists(prefix.file(file))) << file;

    const Ran desktop = runTool(QStringLiteral("desktop-file-validate"),
        { QString::fromStdString(prefix.file("share/applications/org.orvalen.Orvalen.desktop")) });
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output;
    EXPECT_EQ(desktop.output, "") << "no warnings either";

    const Ran metainfo = runTool(QStringLiteral("appstreamcli"),
        { "validate", "--no-net",
            QString::fromStdString(prefix.file("share/metainfo/org.orvalen.Orvalen.metainfo.xml")) });
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output;

    const std::string manual = LoadFileBytes(prefix.file("share/man/man1/orvalen.1"));
    EXPECT_EQ(manual.find("@PROJECT_VERSION@"), std::string::npos) << "the version is filled in";
    for (const char* words :
        { ".SH BATCH RUNS", "\\-\\-csv", ".SH FILES", "XDG_DATA_HOME", ".SH EXIT STATUS", ".SH ENGINE DEFINITIONS" })
        EXPECT_NE(manual.find(words), std::string::npos) << words;

    const Ran version = runTool(QString::fromStdString(prefix.file("bin/orvalen")), { "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("orvalen ", 0), 0u) << version.output;

    // The installed copy keeps its files in the user's data folder, not
    // beside the binary, even though this prefix could be written.
    TempFolder home;
    home.write("urls.txt", "http://a.example/\nhttp://b.example/\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(home.file("xdg")));
    const Ran batch = runTool(QString::fromStdString(prefix.file("bin/orvalen")),
        { "--batch", "--urls", QString::fromStdString(home.file("urls.txt")), "--csv",
            QString::fromStdString(home.file("out.csv")) },
        env);
    EXPECT_EQ(batch.exitCode, 0) << batch.output;
    for (const char* sub : { "data", "Reports", "Templates" })
        EXPECT_TRUE(QDir(QString::fromStdString(home.file("xdg/Orvalen/") + sub)).exists()) << sub;
    EXPECT_TRUE(FileExists(home.file("xdg/Orvalen/logo.jpg"))) << "the installed artwork is copied";
    // A new user's options are laid out too: the first start reports no
    // missing options file, asks today's engines, not the ten drawn ones,
    // whose hosts are gone, and matches on page text.
    EXPECT_EQ(batch.output.find("Cannot open file"), std::string::npos) << batch.output;
    std::string noDrawnEngine;
    for (int i = 0; i < 10; ++i)
        noDrawnEngine += "false\r\n";
    EXPECT_EQ(LoadFileBytes(home.file("xdg/Orvalen/search.txt")).rfind(noDrawnEngine, 0), 0u);
    const std::string defined = LoadFileBytes(home.file("xdg/Orvalen/defined-engines.txt"));
    EXPECT_NE(defined.find("Bing=true,"), std::string::npos) << defined;
    EXPECT_NE(defined.find("SearXNG=false,"), std::string::npos) << "off until its URL is set";
    EXPECT_TRUE(EndsWith(LoadFileBytes(home.file("xdg/Orvalen/search.txt")), "\r\ntrue\r\npage text\r\n"));
    EXPECT_FALSE(QDir(QString::fromStdString(prefix.file("bin/data"))).exists());
    const std::string csv = LoadFileBytes(home.file("out.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv; // the header and the two URLs
}

} // namespace
} // namespace orv::test
