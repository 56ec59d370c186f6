// Definition files as users write and paste them: SearXNG's settings
// entries, broken entries beside good ones, a user's file over a shipped one.
#include "EngineTestData.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::test
{
namespace
{

std::vector<std::string> described(const DefinedEngines& d)
{
    std::vector<std::string> out;
    for (const DefinitionProblem& p : d.problems)
        out.push_back(DescribeProblem(p));
    return out;
}

std::vector<std::string> names(const DefinedEngines& d)
{
    std::vector<std::string> out;
    for (const EngineDefinition& e : d.engines)
        out.push_back(e.name);
    return out;
}

TEST(PastedSearxngEntries, XpathAndJsonEnginesReadTheirPagesOtherKindsAreListed)
{
    TempFolder user;
    std::filesystem::copy_file(EngineFixture("searxng-settings.yml"), user.file("settings.yml"));
    const DefinedEngines d = LoadEngineDefinitions("", user.path());
    EXPECT_EQ(names(d), (std::vector<std::string> { "bitbucket", "npm" }));
    EXPECT_EQ(described(d),
        std::vector<std::string> {
            user.file("settings.yml") + ":24: duckduckgo: engine kind 'duckduckgo' is not supported" });
    ASSERT_EQ(d.engines.size(), 2u);

    const EngineDefinition& bb = d.engines[0];
    EXPECT_TRUE(bb.disabled);
    EngineRequest asked = PageRequest(bb, "a b", 2);
    EXPECT_EQ(asked.url, "https://bitbucket.org/repo/all/2?name=a+b");
    EngineAnswer a = ReadAnswer(bb, 200, "", ReadEngineFixture("bitbucket.html"), asked.url, asked, 2, "a b");
    ASSERT_EQ(a.links.size(), 2u);
    EXPECT_EQ(a.links[0].url, "https://bitbucket.org/team/alpha");
    EXPECT_EQ(a.links[0].title, "team / alpha");
    EXPECT_EQ(a.links[0].content, "Alpha repository");
    EXPECT_EQ(a.links[1].url, "https://bitbucket.org/team/beta");
    EXPECT_EQ(a.next->url, "https://bitbucket.org/repo/all/3?name=a+b");

    const EngineDefinition& npm = d.engines[1];
    asked = PageRequest(npm, "pad", 3);
    EXPECT_EQ(asked.url, "https://api.npms.io/v2/search?q=pad&size=25&from=50");
    a = ReadAnswer(npm, 200, "", ReadEngineFixture("npm.json"), asked.url, asked, 3, "pad");
    ASSERT_EQ(a.links.size(), 2u);
    EXPECT_EQ(a.links[0].url, "https://www.npmjs.com/package/left-pad");
    EXPECT_EQ(a.links[0].title, "left-pad");
    EXPECT_EQ(a.links[0].content, "String left pad");
    EXPECT_EQ(a.links[1].content, "");
}

TEST(BrokenDefinitions, AreReportedWithFileAndLineAndTheOthersLoad)
{
    TempFolder user;
    std::filesystem::copy_file(EngineFixture("broken.yml"), user.file("broken.yml"));
    std::filesystem::copy_file(EngineFixture("not-yaml.yml"), user.file("not-yaml.yml"));
    const DefinedEngines d = LoadEngineDefinitions("", user.path());
    EXPECT_EQ(names(d), std::vector<std::string> { "Good one" });
    const std::vector<std::string> problems = described(d);
    ASSERT_EQ(problems.size(), 5u) << ::testing::PrintToString(problems);
    const std::string b = user.file("broken.yml") + ":";
    EXPECT_EQ(problems[0], b + "6: No url: no `search_url`");
    EXPECT_EQ(problems[1], b + "13: Bad xpath: `url_xpath` does not compile: invalid predicate at character 10");
    EXPECT_EQ(problems[2], b + "20: Wrong type: `paging` must be true or false");
    EXPECT_EQ(problems[3], b + "26: Header break: `headers` holds a name or value with a line break");
    EXPECT_EQ(problems[4].rfind(user.file("not-yaml.yml") + ":5: not valid YAML: ", 0), 0u) << problems[4];
}

TEST(UserDefinitions, ReplaceTheShippedOneOfTheSameNameInItsPlace)
{
    TempFolder user;
    user.write("mine.yaml",
        "- name: bing\n  engine: json_engine\n  search_url: http://127.0.0.1:9/?q={query}\n"
        "  url_query: u\n  title_query: t\n- name: Extra\n  engine: json_engine\n"
        "  search_url: http://127.0.0.1:9/x?q={query}\n  url_query: u\n  title_query: t\n");
    const DefinedEngines d = LoadEngineDefinitions(ShippedFolder(), user.path());
    EXPECT_TRUE(d.problems.empty()) << ::testing::PrintToString(described(d));
    const std::vector<std::string> n = names(d);
    ASSERT_EQ(n.size(), 11u);
    EXPECT_EQ(n.back(), "Extra");
    const auto bing = std::find(n.begin(), n.end(), "bing");
    ASSERT_NE(bing, n.end());
    EXPECT_EQ(std::count(n.begin(), n.end(), "Bing"), 0);
    EXPECT_EQ(d.engines[static_cast<size_t>(bing - n.begin())].file, user.file("mine.yaml"));
    EXPECT_EQ(d.engines[static_cast<size_t>(bing - n.begin())].line, 1);
}

// A program folder of its own (a test's) never picks up the build's files.
TEST(ShippedFolder, IsTheProgramFolderCopyElseTheInstalledOne)
{
    TempFolder programFolder;
    EXPECT_EQ(ShippedEnginesFolder(programFolder.path()),
        (std::filesystem::path(ORVALEN_BIN_DIR) / "../share/orvalen/engines/").lexically_normal().string());
    std::filesystem::create_directory(programFolder.file("engines-shipped"));
    EXPECT_EQ(ShippedEnginesFolder(programFolder.path()), programFolder.file("engines-shipped/"));
}

} // namespace
} // namespace orv::test
