// Opens a written HTML report in a real browser (headless chromium) and reads
// back the document it built: the links of the approved list and the
// criteria words, in any script, must be there as a browser sees them.
#include "core/Lines.h"
#include "files/Reports.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orv;

namespace
{

QString dumpDom(const QString& browser, const std::string& file, const std::string& profile)
{
    QProcess process;
    process.setProgram(browser);
    process.setArguments({ "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--user-data-dir=" + QString::fromStdString(profile), "--dump-dom", "file://" + QString::fromStdString(file) });
    process.start();
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "the browser did not finish";
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text between `from` and the next `to` in the dump.
QString between(const QString& dom, const QString& from, const QString& to)
{
    const qsizetype a = dom.indexOf(from);
    if (a < 0)
        return {};
    const qsizetype b = dom.indexOf(to, a + from.size());
    return b < 0 ? QString() : dom.mid(a + from.size(), b - a - from.size());
}

} // namespace

TEST(HtmlReportInBrowser, ShowsEveryApprovedLinkAndTheCriteria)
{
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (browser.isEmpty())
        GTEST_SKIP() << "chromium is not installed";

    test::TempFolder folder;
    const Lines approved = { "http://127.0.0.1:9/alpha.html", "http://127.0.0.1:9/beta?x=1&y=2",
        "http://127.0.0.1:9/\xCE\xB3"
        "amma/" };
    const CriteriaSections criteria { { "solar panel \xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1" },
        { "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE6\x9D\xB1\xE4\xBA\xAC" },
        { "\xE2\x80\x9C"
          "coal\xE2\x80\x9D" } };
    SaveLines(folder.file("report.htm"), htmlReport(criteria, approved));

    const QString dom = dumpDom(browser, folder.file("report.htm"), folder.path() + "profile");
    ASSERT_FALSE(dom.isEmpty());

    // Every list item holds one link whose target and text are the URL.
    QStringList hrefs, texts;
    const QRegularExpression link(
        QStringLiteral("<a href=\"([^\"]*)\">([^<]*)</a>"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = link.globalMatch(dom); it.hasNext();) {
        const auto m = it.next();
        hrefs << m.captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        texts << m.captured(2).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    }
    QStringList expected;
    for (const auto& url : approved)
        expected << QString::fromUtf8(url);
    EXPECT_EQ(hrefs, expected);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(dom.count(QRegularExpression(QStringLiteral("<li>"), QRegularExpression::CaseInsensitiveOption)), 3);

    EXPECT_TRUE(dom.contains(QStringLiteral("<title>ApprovedUrl</title>"), Qt::CaseInsensitive));
    EXPECT_TRUE(dom.contains(QString::fromUtf8("Orvalen\u00A9 Results")));
    EXPECT_EQ(between(dom, "Primary Search Criteria</h3>", "</ol>").remove(QStringLiteral("<ol>")).trimmed(),
        QString::fromUtf8(criteria.primary[0]));
    EXPECT_EQ(between(dom, "Secondary Search Criteria</h3>", "</ol>").remove(QStringLiteral("<ol>")).trimmed(),
        QString::fromUtf8(criteria.secondary[0]));
    EXPECT_EQ(between(dom, "Exclusion Criteria</h3>", "</ol>").remove(QStringLiteral("<ol>")).trimmed(),
        QString::fromUtf8(criteria.exclusion[0]));
    EXPECT_TRUE(dom.contains(QStringLiteral("Total Urls </b>3")));
}
