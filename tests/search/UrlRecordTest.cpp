#include "search/UrlRecord.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

struct ReadCase {
    const char* name;
    std::string record;
    std::string url;
    char check;
    char status;
    std::string statusColumn;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class RecordReading : public ::testing::TestWithParam<ReadCase> {
};

TEST_P(RecordReading, CutsUrlCheckAndStatusByPosition)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(recordUrl(c.record), c.url);
    EXPECT_EQ(recordCheckChar(c.record), c.check);
    EXPECT_EQ(recordStatusChar(c.record), c.status);
    EXPECT_EQ(statusColumnText(recordStatusChar(c.record)), c.statusColumn);
}

INSTANTIATE_TEST_SUITE_P(Table, RecordReading,
    ::testing::Values(ReadCase { "Fresh", "http://a.com,,,,,0,,,,,0", "http://a.com", '0', '0', "Not Verified" },
        ReadCase { "TickedVerified", "http://a.com,,,,,1,,,,,1", "http://a.com", '1', '1', "Verified" },
        ReadCase { "Timeout", "http://a.com,,,,,0,,,,,2", "http://a.com", '0', '2', "Timeout" },
        ReadCase { "Error", "http://a.com,,,,,1,,,,,3", "http://a.com", '1', '3', "Error" },
        ReadCase { "SiteNotFound", "http://a.com,,,,,1,,,,,4", "http://a.com", '1', '4', "Site Not Found" },
        ReadCase { "FileNotFound", "http://a.com,,,,,1,,,,,5", "http://a.com", '1', '5', "File Not Found" },
        ReadCase { "StatusOutsideRangeShowsItself", "http://a.com,,,,,0,,,,,7", "http://a.com", '0', '7', "7" },
        ReadCase { "StatusLetterShowsItself", "http://a.com,,,,,0,,,,,x", "http://a.com", '0', 'x', "x" },
        ReadCase { "EndsAfterCheckDigit", "http://a.com,,,,,1", "http://a.com", '1', '\0', "" },
        ReadCase { "EndsInsideSecondSeparator", "http://a.com,,,,,1,,", "http://a.com", '1', '\0', "" },
        // Without a separator the URL is empty and the fields are read at
        // positions 6 and 12 of the line itself.
        ReadCase { "NoSeparator", "abcdefghijklmnop", "", 'f', 'l', "l" },
        ReadCase { "NoSeparatorDigitsAtSixAndTwelve", "xxxxx1xxxxx3", "", '1', '3', "Error" },
        ReadCase { "ShortLineWithoutSeparator", "http", "", '\0', '\0', "" },
        ReadCase { "EmptyLine", "", "", '\0', '\0', "" },
        // Only the first separator ends the URL; the fields follow it by position.
        ReadCase { "SeparatorTwiceInARow", "u,,,,,,,,,,1,,,,,2", "u", ',', ',', "," },
        ReadCase { "EmptyUrl", ",,,,,1,,,,,4", "", '1', '4', "Site Not Found" },
        ReadCase {
            "SingleCommasBelongToUrl", "http://a.com/x,y,,,,,1,,,,,0", "http://a.com/x,y", '1', '0', "Not Verified" }));

TEST(UrlRecord, WritesTheFiveFields)
{
    EXPECT_EQ(makeMasterRecord("http://a.com"), "http://a.com,,,,,0,,,,,0");
    EXPECT_EQ(makeMasterRecord("http://a.com", '1', '4'), "http://a.com,,,,,1,,,,,4");
    EXPECT_EQ(makeMasterRecord(""), ",,,,,0,,,,,0");
    const std::string written = makeMasterRecord("http://b.org/p?q=1", '1', '5');
    EXPECT_EQ(recordUrl(written), "http://b.org/p?q=1");
    EXPECT_EQ(recordCheckChar(written), '1');
    EXPECT_EQ(recordStatusChar(written), '5');
}

TEST(UrlRecord, StatusTextsOfTheSixCodes)
{
    EXPECT_EQ(statusText(UrlStatus::NotVerified), "Not Verified");
    EXPECT_EQ(statusText(UrlStatus::Verified), "Verified");
    EXPECT_EQ(statusText(UrlStatus::Timeout), "Timeout");
    EXPECT_EQ(statusText(UrlStatus::Error), "Error");
    EXPECT_EQ(statusText(UrlStatus::SiteNotFound), "Site Not Found");
    EXPECT_EQ(statusText(UrlStatus::FileNotFound), "File Not Found");
}

TEST(UrlRecord, UrlsThatWouldBreakARecordDoNotFit)
{
    EXPECT_TRUE(fitsInRecord("http://a.com/a,b,,c"));
    EXPECT_TRUE(fitsInRecord(""));
    EXPECT_FALSE(fitsInRecord("http://a.com,,,,,1,,,,,1"));
    EXPECT_FALSE(fitsInRecord("http://a.com/,,,,,"));
    EXPECT_FALSE(fitsInRecord("http://a.com/\r\nx"));
    EXPECT_FALSE(fitsInRecord("http://a.com/\nx"));
    EXPECT_FALSE(fitsInRecord("http://a.com/\r"));
}

} // namespace
