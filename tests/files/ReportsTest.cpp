#include "files/Reports.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(HtmlReport, LinesInOrder)
{
    const Lines report = htmlReport({ { "solar", "" }, { "panel" }, {} }, { "http://a.com/?q=\"x\"", "http://b.com" });
    EXPECT_EQ(report,
        (Lines { "<HTML>", "<head>", "<TITLE>ApprovedUrl</TITLE>", "<BODY>", "<H1>Orvalen\xA9 Results</H1>",
            "<H3> Primary Search Criteria</H3>", "<OL>", "solar", "", "</OL>", "<H3> Secondary Search Criteria</H3>",
            "<OL>", "panel", "</OL>", "<H3> Exclusion Criteria</H3>", "<OL>", "</OL>", "<B>Total Urls </B>2<BR>",
            "<OL>", "<LI><A HREF=\"http://a.com/?q=\"x\"\">http://a.com/?q=\"x\"</A><BR>",
            "<LI><A HREF=\"http://b.com\">http://b.com</A><BR>", "</OL>", "<H2><P><B>End Data</B></P></H2>", "</BODY>",
            "</HTML>" }));
}

TEST(HtmlReport, EmptyApprovedListKeepsEveryFixedLine)
{
    const Lines report = htmlReport({}, {});
    ASSERT_EQ(report.size(), 20u);
    EXPECT_EQ(report[14], "<B>Total Urls </B>0<BR>");
    EXPECT_EQ(report[15], "<OL>");
    EXPECT_EQ(report[16], "</OL>");
}

TEST(TextReport, LinesInOrder)
{
    EXPECT_EQ(textReport({ { "a", "b c" }, { "d" }, { "e" } }, { "http://x", "http://y" }),
        (Lines { "Orvalen Results", "", "Primary Search Criteria", "a", "b c", "Secondary Search Criteria", "d",
            "Exclusion Criteria", "e", "Total Urls 2", "http://x", "http://y", "End Data" }));
}

TEST(TextReport, EmptyApprovedListEndsRightAfterTheTotal)
{
    const Lines report = textReport({}, {});
    ASSERT_GE(report.size(), 2u);
    EXPECT_EQ(report[report.size() - 2], "Total Urls 0");
    EXPECT_EQ(report.back(), "End Data");
}
