// The command line: what each form of it starts, and the usage errors that
// must end with exit status 2 before anything is opened.
#include "batch/CommandLine.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

CommandLine parse(std::vector<std::string> args)
{
    return parseCommandLine(args);
}

TEST(CommandLine, BatchTakesEveryOptionInBothSpellings)
{
    const CommandLine line = parse({ "--batch", "--program-folder", "/p", "--criteria=night.cri", "--urls", "more.txt",
        "--search", "--retrieve", "--parallel", "32", "--http", "1.1", "--match=text", "--save", "out.rst", "--html=r.htm", "--text",
        "r.txt", "--csv", "-", "--json", "r.json" });
    ASSERT_EQ(line.mode, LaunchMode::Batch) << line.error;
    EXPECT_EQ(line.programFolder, "/p");
    EXPECT_EQ(line.batch.criteriaFile, "night.cri");
    EXPECT_EQ(line.batch.urlsFile, "more.txt");
    EXPECT_TRUE(line.batch.search);
    EXPECT_TRUE(line.batch.retrieve);
    EXPECT_EQ(line.batch.parallel, 32);
    EXPECT_EQ(line.batch.http11, true);
    EXPECT_EQ(line.batch.matchOn, MatchOn::PageText);
    EXPECT_EQ(line.batch.save, "out.rst");
    EXPECT_EQ(line.batch.html, "r.htm");
    EXPECT_EQ(line.batch.text, "r.txt");
    EXPECT_EQ(line.batch.csv, "-");
    EXPECT_EQ(line.batch.json, "r.json");
}

TEST(CommandLine, EnginesMaximumAndCriteriaForThisRunOnly)
{
    const CommandLine line
        = parse({ "--batch", "--primary", "red fox", "--primary=den", "--secondary", "tail", "--exclude", "zoo",
            "--all-primary", "--engines", " bing,Hacker News ,,WIBY", "--max=15", "--search", "--list-engines" });
    ASSERT_EQ(line.mode, LaunchMode::Batch) << line.error;
    EXPECT_EQ(line.batch.primary, (std::vector<std::string> { "red fox", "den" }));
    EXPECT_EQ(line.batch.secondary, (std::vector<std::string> { "tail" }));
    EXPECT_EQ(line.batch.exclude, (std::vector<std::string> { "zoo" }));
    EXPECT_TRUE(line.batch.allPrimary);
    EXPECT_FALSE(line.batch.allSecondary);
    EXPECT_EQ(line.batch.engines, (std::vector<std::string> { "bing", "Hacker News", "WIBY" }));
    EXPECT_EQ(line.batch.maximum, 15);
    EXPECT_TRUE(line.batch.listEngines);
    EXPECT_EQ(parse({ "--batch", "--list-engines" }).mode, LaunchMode::Batch) << "listing alone is something to do";
    for (const char* option : { "--engines LIST", "--max N", "--list-engines", "--primary TEXT", "--secondary TEXT",
             "--exclude TEXT", "--all-primary", "--all-secondary" })
        EXPECT_NE(usageText().find(option), std::string::npos) << option;
}

TEST(CommandLine, WindowKeepsTheFrameworksArgumentsAndItsProgramFolder)
{
    const CommandLine line = parse({ "-platform", "offscreen", "--program-folder=/home/u/o" });
    EXPECT_EQ(line.mode, LaunchMode::Window);
    EXPECT_EQ(line.windowArguments, (std::vector<std::string> { "-platform", "offscreen" }));
    EXPECT_EQ(line.programFolder, "/home/u/o");
    EXPECT_FALSE(parse({ "--batch", "--open", "a.rst", "--retrieve" }).batch.parallel)
        << "without --parallel the program folder's setting holds";
    EXPECT_FALSE(parse({ "--batch", "--open", "a.rst", "--retrieve" }).batch.matchOn);
    EXPECT_EQ(parse({ "--batch", "--open", "a.rst", "--match", "source" }).batch.matchOn, MatchOn::PageSource);
    EXPECT_EQ(parse({ "--demo", "/tmp/d" }).mode, LaunchMode::Demo);
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse)
{
    EXPECT_EQ(parse({ "--batch", "--search", "--help" }).mode, LaunchMode::Help);
    EXPECT_EQ(parse({ "-h" }).mode, LaunchMode::Help);
    EXPECT_EQ(parse({ "--version", "-platform", "x" }).mode, LaunchMode::Version);
    EXPECT_EQ(versionText().rfind("orvalen ", 0), 0u);
    EXPECT_EQ(versionText().back(), '\n');
}

struct BadCase {
    std::vector<std::string> args;
    const char* says;
};

class CommandLineBadUsage : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(CommandLineBadUsage, IsRefusedWithAReason)
{
    const CommandLine line = parseCommandLine(GetParam().args);
    EXPECT_EQ(line.mode, LaunchMode::BadUsage);
    EXPECT_NE(line.error.find(GetParam().says), std::string::npos) << line.error;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineBadUsage,
    ::testing::Values(BadCase { { "--batch" }, "something to do" }, //
        BadCase { { "--batch", "--save" }, "--save needs a file name" },
        BadCase { { "--batch", "--save=" }, "--save needs a file name" },
        BadCase { { "--batch", "--criteria", "a.cri", "--open", "b.rst" }, "cannot be used together" },
        BadCase { { "--batch", "--search" }, "--search needs criteria" },
        BadCase { { "--batch", "--open", "a.rst", "--csv", "-", "--json", "-" }, "only one output" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel", "33" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--http", "2" }, "--http needs 1.0 or 1.1" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel=0" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel", "x" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel", "$4" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel", "-4" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel", "99999999999" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--parallel" }, "from 1 to 32" },
        BadCase { { "--batch", "--open", "a.rst", "--frobnicate" }, "unknown option --frobnicate" },
        BadCase { { "--batch", "--open", "a.rst", "stray" }, "unexpected argument stray" },
        BadCase { { "--batch", "--search=yes", "--open", "a.rst" }, "takes no value" },
        BadCase { { "--save", "out.rst" }, "--save needs --batch" },
        BadCase { { "--batch", "--open", "a.rst", "--match", "Text" }, "--match needs" },
        BadCase { { "--batch", "--demo", "d", "--open", "a.rst" }, "--demo cannot" },
        BadCase { { "--batch", "--primary", "fox", "--criteria", "a.cri" }, "cannot be used with --criteria" },
        BadCase { { "--batch", "--open", "a.rst", "--exclude", "zoo" }, "cannot be used with --criteria" },
        BadCase { { "--batch", "--secondary", "fox", "--search" }, "--search needs criteria" },
        BadCase { { "--batch", "--open", "a.rst", "--all-primary" }, "need criteria given" },
        BadCase { { "--batch", "--open", "a.rst", "--engines", " , " }, "--engines needs engine names" },
        BadCase { { "--batch", "--open", "a.rst", "--max", "0" }, "from 1 to 200" },
        BadCase { { "--batch", "--open", "a.rst", "--max", "201" }, "from 1 to 200" },
        BadCase { { "--batch", "--open", "a.rst", "--primary" }, "--primary needs a text" },
        BadCase { { "--engines", "bing" }, "--engines needs --batch" },
        // An option where a file name belongs, and two outputs on one file.
        BadCase { { "--batch", "--open", "a.rst", "--save", "--csv", "x.csv" }, "--save needs a file name" },
        BadCase { { "--batch", "--open", "a.rst", "--csv", "x", "--json", "x" }, "--csv and --json name the same" },
        BadCase { { "--batch", "--open", "a.rst", "--save", "o/x", "--text=o/../o/x" }, "--save and --text" }));

} // namespace
} // namespace orv
