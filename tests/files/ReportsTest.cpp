#include "files/Reports.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(HtmlReport, LinesInOrder)
{
    const Lines report = htmlReport({ { "solar", "" }, { "panel" }, {} }, { "http://a.com/?q=x", "http://b.com" });
    EXPECT_EQ(report,
        (Lines { "<HTML>", "<head>", "<TITLE>ApprovedUrl</TITLE>", "<BODY>", "<H1>Orvalen\xA9 Results</H1>",
            "<H3> Primary Search Criteria</H3>", "<OL>", "solar", "", "</OL>", "<H3> Secondary Search Criteria</H3>",
            "<OL>", "panel", "</OL>", "<H3> Exclusion Criteria</H3>", "<OL>", "</OL>", "<B>Total Urls </B>2<BR>",
            "<OL>", "<LI><A HREF=\"http://a.com/?q=x\">http://a.com/?q=x</A><BR>",
            "<LI><A HREF=\"http://b.com\">http://b.com</A><BR>", "</OL>", "<H2><P><B>End Data</B></P></H2>", "</BODY>",
            "</HTML>" }));
}

// Markup in a URL cut from a web page or in a shared template's words is
// shown as text; the report's own lines keep their bytes, and the text
// report keeps the data unchanged.
TEST(HtmlReport, TextFromDataCannotBecomeMarkup)
{
    const std::string url = "http://a.com/\"><script>alert(1)</script>?a=1&b=\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x98\x80\xE9";
    const CriteriaSections criteria { { "<b>bold</b> & \"quoted\"" }, { "</OL><script>" }, { "a&amp;b" } };
    const Lines report = htmlReport(criteria, { url });
    ASSERT_EQ(report.size(), 24u);
    EXPECT_EQ(report[7], "&lt;b&gt;bold&lt;/b&gt; &amp; &quot;quoted&quot;");
    EXPECT_EQ(report[11], "&lt;/OL&gt;&lt;script&gt;");
    EXPECT_EQ(report[15], "a&amp;amp;b");
    // Characters beyond ASCII are numeric references; a stray byte is U+FFFD.
    const std::string shown
        = "http://a.com/&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;?a=1&amp;b=&#233;&#26481;&#128512;&#65533;";
    EXPECT_EQ(report[19], "<LI><A HREF=\"" + shown + "\">" + shown + "</A><BR>");
    const Lines fixed = htmlReport({ { "x" }, { "y" }, { "z" } }, { "http://u" });
    for (size_t i : { 0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22, 23 })
        EXPECT_EQ(report[i], fixed[i]) << "fixed line " << i;

    const Lines text = textReport(criteria, { url });
    EXPECT_EQ(text[3], criteria.primary[0]);
    EXPECT_EQ(text[text.size() - 2], url);
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
