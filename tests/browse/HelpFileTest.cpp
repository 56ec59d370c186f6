// The help file made from the manual page: the requests the page uses turn
// into HTML, text is escaped, and the shipped page converts whole.
#include "browse/HelpFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

struct RoffCase {
    const char* name;
    orv::Lines page;
    const char* expected; // a piece the HTML must hold
};

class ManPageToHtml : public ::testing::TestWithParam<RoffCase>
{
};

TEST_P(ManPageToHtml, TurnsRequestsIntoMarkup)
{
    const std::string html = orv::ManPageToHtml(GetParam().page);
    EXPECT_NE(html.find(GetParam().expected), std::string::npos) << html;
}

INSTANTIATE_TEST_SUITE_P(Requests, ManPageToHtml,
    ::testing::Values(RoffCase { "Title", { ".TH ORVALEN 1 \"December 2026\"" }, "<title>Orvalen Help</title>" },
        RoffCase { "Section", { ".SH BATCH RUNS" }, "<h2>BATCH RUNS</h2>" },
        RoffCase { "Paragraphs", { "one", ".PP", "two" }, "<p>one\n</p>\n<p>two\n</p>" },
        RoffCase { "TaggedItem", { ".TP", ".BI \\-\\-open \" FILE.rst\"", "Open a results file." },
            "<dl>\n<dt><b>--open</b><i> FILE.rst</i></dt>\n<dd>Open a results file.\n</dd>\n</dl>" },
        RoffCase { "BoldTerm", { ".TP", ".B Escape", "Closes it." }, "<dt><b>Escape</b></dt>\n<dd>Closes it.\n</dd>" },
        RoffCase {
            "AlternatingFonts", { ".IR ~/.config/Orvalen/registry.reg ." }, "<i>~/.config/Orvalen/registry.reg</i>." },
        RoffCase { "InlineFonts", { "\\fBSearch\\fR asks" }, "<b>Search</b> asks" },
        RoffCase { "Escaped", { "a <b> & \"c\"" }, "a &lt;b&gt; &amp; &quot;c&quot;" },
        RoffCase { "Preformatted", { ".nf", ".RS", "orvalen \\-\\-batch \\e", ".RE", ".fi" },
            "<pre>orvalen --batch \\\n</pre>" },
        RoffCase { "CommentDropped", { ".\\\" a note", "text" }, "<p>text\n</p>" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpFile, TheShippedManualPageConvertsWithEverySection)
{
    const orv::Lines page = orv::LoadLines(ORVALEN_FIXTURES "/../../dist/orvalen.1");
    const std::string html = orv::ManPageToHtml(page);
    int sections = 0;
    for (const std::string& line : page)
        sections += line.starts_with(".SH ") ? 1 : 0;
    int headings = 0;
    for (size_t at = html.find("<h2>"); at != std::string::npos; at = html.find("<h2>", at + 1))
        ++headings;
    EXPECT_GT(sections, 5);
    EXPECT_EQ(headings, sections);
    EXPECT_EQ(html.find("\\f"), std::string::npos);
    EXPECT_EQ(html.find("\n."), std::string::npos) << "no request is left as text";
    EXPECT_TRUE(html.ends_with("</html>\n"));
}

TEST(HelpFile, FoundInTheProgramFolderElseBesideTheProgramElseInstalled)
{
    orv::test::TempFolder root;
    const std::string program = root.path() + "program/";
    const std::string bin = root.path() + "prefix/bin/";
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(root.path() + "prefix/share/orvalen");
    std::filesystem::create_directories(bin);
    EXPECT_EQ(orv::FindHelpFile(program, bin), program + "Orvalen.html") << "none exists";
    root.write("prefix/share/orvalen/Orvalen.html", "x");
    EXPECT_EQ(orv::FindHelpFile(program, bin), bin + "../share/orvalen/Orvalen.html");
    root.write("prefix/bin/Orvalen.html", "x");
    EXPECT_EQ(orv::FindHelpFile(program, bin), bin + "Orvalen.html");
    root.write("program/Orvalen.html", "x");
    EXPECT_EQ(orv::FindHelpFile(program, bin), program + "Orvalen.html");
}

} // namespace
