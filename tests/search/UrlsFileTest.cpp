// The --urls file: every line made ready for the list or told, whatever it holds.
#include "search/UrlsFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace orv::test
{
namespace
{

struct LineCase {
    const char* line;
    const char* url; // "" when left out
    const char* problem;
};

class UrlLineNormalised : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(UrlLineNormalised, AsTheListExpectsIt)
{
    const UrlLine got = NormaliseUrlLine(GetParam().line);
    EXPECT_EQ(got.url, GetParam().url);
    EXPECT_NE(got.problem.find(GetParam().problem), std::string::npos) << got.problem;
}

INSTANTIATE_TEST_SUITE_P(Lines, UrlLineNormalised,
    ::testing::Values(LineCase { "HTTP://Host/A", "http://Host/A", "" },
        LineCase { "  \thttps://h/x  ", "https://h/x", "" }, LineCase { "HtTpS://h", "https://h", "" },
        LineCase { "host/path", "host/path", "" }, LineCase { "localhost:8080/x", "localhost:8080/x", "" },
        LineCase { "ftp://h/f", "", "unsupported scheme \"ftp\"" },
        LineCase { "javascript:alert(1)", "", "unsupported scheme \"javascript\"" },
        LineCase { "FILE:///etc/passwd", "", "unsupported scheme \"file\"" },
        LineCase { "mailto:a@b", "", "unsupported scheme \"mailto\"" }, LineCase { "   ", "", "" }));

TEST(UrlsFile, ReadsEveryLineAndTellsTheOnesLeftOut)
{
    TempFolder folder;
    const std::string longLine(kMaxUrlLineBytes + 1, 'a');
    static const char kHead[] = "\xEF\xBB\xBFhttp://a/1\r\nhttp://b/\0x\nftp://c\r\n";
    static const char kTail[] = "\nhttp://d/4\n\nhttp://e/\0";
    folder.write("u.txt", std::string(kHead, sizeof kHead - 1) + longLine + std::string(kTail, sizeof kTail - 1));
    const UrlsFileRead read = ReadUrlsFile(folder.file("u.txt"));
    EXPECT_EQ(read.urls, (std::vector<std::string> { "http://a/1", "http://d/4" })) << "the BOM is not part of a URL";
    const std::string at = folder.file("u.txt") + " line ";
    EXPECT_EQ(read.problems,
        (std::vector<std::string> { at + "2: holds a NUL byte; left out",
            at + "3: unsupported scheme \"ftp\"; left out", at + "4: longer than 65536 bytes; left out",
            at + "7: holds a NUL byte; left out" }));
}

TEST(UrlsFile, AnEndlessDeviceIsReadOnlyToItsBound)
{
    const UrlsFileRead read = ReadUrlsFile("/dev/zero");
    EXPECT_TRUE(read.urls.empty());
    ASSERT_EQ(read.problems.size(), 2u);
    EXPECT_NE(read.problems[0].find("holds a NUL byte"), std::string::npos);
    EXPECT_NE(read.problems[1].find("read no further than 64 MiB"), std::string::npos);
}

} // namespace
} // namespace orv::test
