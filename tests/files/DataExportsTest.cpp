// The CSV and JSON exports read back by independent readers: the UTF-8 text
// of the lists goes out as it is, a byte that is not UTF-8 becomes U+FFFD,
// and the files stay well-formed whatever a page put into the lists.
#include "files/DataExports.h"
#include "core/Utf8.h"
#include "support/CsvReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace orv
{
namespace
{

std::string allBytes()
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

// allBytes() as the exports write it: ASCII as it is, and every byte above
// it, none of which starts a whole UTF-8 sequence here, as U+FFFD.
std::string allBytesExported()
{
    std::string text = allBytes().substr(0, 127);
    for (int b = 128; b < 256; ++b)
        text += "\xEF\xBF\xBD";
    return text;
}

std::vector<ExportRecord> hostileRecords()
{
    ExportRecord plain { "http://a.example/", "Verified", true, true, { "Infoseek", "Excite" }, "Solar, wind", "" };
    ExportRecord quoted { "http://b.example/q?\"x\",y", "Error", false, false, {},
        "He said \"caf\xC3\xA9\" \xE2\x82\xAC 5\r\nnext line", "certificate has expired, \"badly\"" };
    ExportRecord everything { "http://c.example/", "Receiving 12", false, false, { "Snap" }, allBytes(), "" };
    return { plain, quoted, everything };
}

TEST(Utf8, Windows1252MapsEveryByteToValidUtf8)
{
    EXPECT_EQ(cp1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "\xC5\xB8"); // Y with diaeresis
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81"); // undefined in the set: the control of that number
    const QString decoded = QString::fromUtf8(QByteArray::fromStdString(cp1252ToUtf8(allBytes())));
    EXPECT_EQ(decoded.size(), 255);
    EXPECT_FALSE(decoded.contains(QChar::ReplacementCharacter));
}

TEST(CsvExport, ReadsBackFieldForFieldWithHeaderAndUtf8)
{
    const auto records = hostileRecords();
    const auto rows = test::readCsv(csvExport(records));
    ASSERT_EQ(rows.size(), records.size() + 1);
    EXPECT_EQ(rows[0],
        (std::vector<std::string> { "url", "status", "checked", "approved", "engines", "description", "reason" }));
    for (size_t i = 0; i < records.size(); ++i) {
        const auto& row = rows[i + 1];
        ASSERT_EQ(row.size(), 7u) << i;
        EXPECT_EQ(row[6], records[i].reason);
        EXPECT_EQ(row[0], records[i].url);
        EXPECT_EQ(row[1], records[i].statusText);
        EXPECT_EQ(row[2], records[i].checked ? "true" : "false");
        EXPECT_EQ(row[3], records[i].approved ? "true" : "false");
        EXPECT_EQ(row[5], i == 2 ? allBytesExported() : records[i].description);
    }
    EXPECT_EQ(rows[1][4], "Infoseek;Excite");
    EXPECT_EQ(rows[2][4], "");
}

TEST(CsvExport, EmptyListIsTheHeaderAlone)
{
    EXPECT_EQ(csvExport({}), "url,status,checked,approved,engines,description,reason\r\n");
}

// A description never runs as a spreadsheet formula; the JSON keeps it.
class CsvFormulaCell : public ::testing::TestWithParam<std::pair<const char*, const char*>>
{
};

TEST_P(CsvFormulaCell, StaysText)
{
    const std::string description = GetParam().first;
    const ExportRecord record { "http://a.example/", "Verified", true, false, {}, description, "" };
    EXPECT_EQ(test::readCsv(csvExport({ record })).at(1).at(5), GetParam().second);
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(jsonExport({}, {}, { record }, {})));
    EXPECT_EQ(doc["results"][0]["description"].toString().toStdString(), description);
}

INSTANTIATE_TEST_SUITE_P(Cells, CsvFormulaCell,
    ::testing::Values(std::pair { "=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")" }, std::pair { "+1", "'+1" },
        std::pair { "-2+3", "'-2+3" }, std::pair { "@SUM(A1)", "'@SUM(A1)" }, std::pair { "\tx", "'\tx" },
        std::pair { "\rx", "'\rx" }, std::pair { "a=b", "a=b" }, std::pair { "", "" }));

TEST(JsonExport, ParsesBackWithEveryPartInPlace)
{
    ExportCriteria criteria;
    criteria.words.primary = { "solar", "wind \"farm\"" };
    criteria.words.secondary = {};
    criteria.words.exclusion = { "fox\\den", allBytes() };
    criteria.secondaryAll = true;
    criteria.matchOn = MatchOn::PageText;
    EngineYieldRow infoseek { Engine::Infoseek, "1,234", 3, 60, 41, 30, 7, {}, false, {} };
    EngineYieldRow snap { Engine::Snap, "", 0, 0, 0, 0, 0, {}, false, {} };
    EngineYieldRow odd { Engine::PlanetSearch, "lots", 1, 2, 1, 0, 0, {}, false, {} };
    const auto records = hostileRecords();
    const std::vector<ApprovedEntry> approved { { "http://a.example/", "Solar, wind \xE2\x80\x9Cquoted\xE2\x80\x9D" } };

    const std::string text = jsonExport(criteria, { infoseek, snap, odd }, records, approved);
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << text;
    const QJsonObject root = doc.object();

    const QJsonObject primary = root["criteria"]["primary"].toObject();
    EXPECT_EQ(primary["words"].toArray().size(), 2);
    EXPECT_EQ(primary["words"][1].toString(), "wind \"farm\"");
    EXPECT_EQ(primary["match"].toString(), "any");
    EXPECT_EQ(root["criteria"]["secondary"]["match"].toString(), "all");
    EXPECT_TRUE(root["criteria"]["secondary"]["words"].toArray().isEmpty());
    EXPECT_EQ(root["criteria"]["exclusion"]["words"][0].toString(), "fox\\den");
    EXPECT_EQ(root["criteria"]["exclusion"]["words"][1].toString().toStdString(), allBytesExported());
    EXPECT_EQ(root["criteria"]["matchOn"].toString(), "text");

    const QJsonArray engines = root["engines"].toArray();
    ASSERT_EQ(engines.size(), 3);
    EXPECT_EQ(engines[0]["engine"].toString(), "Infoseek");
    EXPECT_EQ(engines[0]["claimed"].toInt(), 1234);
    for (const char* key : { "pages", "links", "new", "verified", "approved" })
        EXPECT_TRUE(engines[0][key].isDouble()) << key;
    EXPECT_EQ(engines[0]["new"].toInt(), 41);
    EXPECT_TRUE(engines[1]["claimed"].isNull()); // no report line
    EXPECT_EQ(engines[2]["claimed"].toString(), "lots");

    const QJsonArray results = root["results"].toArray();
    ASSERT_EQ(results.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto& r = records[static_cast<size_t>(i)];
        EXPECT_EQ(results[i]["url"].toString().toStdString(), r.url);
        EXPECT_EQ(results[i]["status"].toString().toStdString(), r.statusText);
        EXPECT_EQ(results[i]["checked"].toBool(), r.checked);
        EXPECT_EQ(results[i]["approved"].toBool(), r.approved);
        EXPECT_EQ(results[i]["engines"].toArray().size(), static_cast<int>(r.engines.size()));
        EXPECT_EQ(results[i]["description"].toString().toStdString(), i == 2 ? allBytesExported() : r.description);
        EXPECT_EQ(results[i]["reason"].toString().toStdString(), r.reason);
    }
    EXPECT_EQ(root["approved"][0]["description"].toString(), QString::fromUtf8("Solar, wind \u201Cquoted\u201D"));
}

} // namespace
} // namespace orv
