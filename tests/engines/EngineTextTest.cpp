// The small text-in, result-out pieces of defined engines: unwrapping, the
// claimed count, the query in a request, and answers that cannot be read.
#include "EngineTestData.h"
#include "engines/ClaimedCount.h"
#include "engines/ResultLinks.h"
#include "engines/XpathPage.h"

#include <gtest/gtest.h>

namespace orv::test
{
namespace
{

struct UnwrapCase {
    const char* link;
    LinkUnwrap how;
    std::optional<std::string> target;
};

class Unwrapping : public ::testing::TestWithParam<UnwrapCase>
{
};

TEST_P(Unwrapping, TakesTheTargetOutOfTheWrapper)
{
    EXPECT_EQ(UnwrapLink(GetParam().link, GetParam().how), GetParam().target);
}

LinkUnwrap parameter(const char* p)
{
    return LinkUnwrap { p, "", "u", "", "" };
}
LinkUnwrap base64(const char* prefix)
{
    return LinkUnwrap { "", prefix, "u", "", "" };
}
LinkUnwrap between(const char* a, const char* b)
{
    return LinkUnwrap { "", "", "u", a, b };
}

INSTANTIATE_TEST_SUITE_P(Links, Unwrapping,
    ::testing::Values(UnwrapCase { "https://duckduckgo.com/l/?uddg=https%3A%2F%2Fa.example%2F%3Fx%3D1%26y%3D2&rut=9",
                          parameter("uddg"), "https://a.example/?x=1&y=2" },
        UnwrapCase { "https://duckduckgo.com/l/?rut=9", parameter("uddg"), std::nullopt },
        // Unpadded base64url with "-" and "_" ("https://b.example/?q=>>>???").
        UnwrapCase { "https://www.bing.com/ck/a?p=1&u=a1aHR0cHM6Ly9iLmV4YW1wbGUvP3E9Pj4-Pz8_&ntb=1", base64("a1"),
            "https://b.example/?q=>>>???" },
        UnwrapCase { "https://www.bing.com/ck/a?u=b2aHR0cA", base64("a1"), std::nullopt },
        UnwrapCase { "https://www.bing.com/ck/a?u=a1!!", base64("a1"), std::nullopt },
        UnwrapCase { "https://r.search.example/_ylt=A/RU=https%3a%2f%2fc.example%2fx/RK=2/RS=z", between("/RU=", "/RK"),
            "https://c.example/x" },
        UnwrapCase { "https://r.search.example/x?RU=x", between("/RU=", "/RK"), std::nullopt }));

TEST(ResultLinks, AreResolvedAgainstTheAnswerAndOnlyWebAddressesAreKept)
{
    const std::string base = "https://engine.example/search/?q=1";
    EXPECT_EQ(ResolveLink("//other.example", base), "https://other.example/");
    EXPECT_EQ(ResolveLink("/a b?x=ü", base), "https://engine.example/a%20b?x=%C3%BC");
    EXPECT_EQ(ResolveLink("../up", base), "https://engine.example/up");
    EXPECT_EQ(ResolveLink("javascript:alert(1)", base), std::nullopt);
    EXPECT_EQ(ResolveLink("mailto:a@b.example", base), std::nullopt);
    EXPECT_EQ(ResolveLink("   ", base), std::nullopt);
    // A wrapper whose target is no web address still leads somewhere: keep it.
    EXPECT_EQ(FinishResultLink("/l/?uddg=javascript%3Ax", base, parameter("uddg")),
        "https://engine.example/l/?uddg=javascript%3Ax");
}

TEST(ClaimedCounts, IgnoreSeparatorsAndFollowThePattern)
{
    EXPECT_EQ(ClaimedCount("About 38,500 results", ""), 38500);
    EXPECT_EQ(ClaimedCount("Environ 1\xC2\xA0"
                           "234\xC2\xA0"
                           "567 r\xC3\xA9sultats",
                  ""),
        1234567);
    EXPECT_EQ(ClaimedCount("Ungefähr 2.345.678 Ergebnisse", ""), 2345678);
    EXPECT_EQ(ClaimedCount("Results 1 to 10 from 5,280,016", ""), 1);
    EXPECT_EQ(ClaimedCount("Results 1 to 10 from 5,280,016", "from\\s+([0-9][0-9,.]*)"), 5280016);
    EXPECT_EQ(ClaimedCount("12,000 hits", "[0-9,]+ hits"), 12000);
    EXPECT_EQ(ClaimedCount("no results", ""), std::nullopt);
    EXPECT_EQ(ClaimedCount("Results 1 to 10", "from ([0-9]+)"), std::nullopt);
    EXPECT_EQ(ClaimedCount("99999999999999999999 results", ""), std::nullopt);
}

TEST(EngineRequests, CarryTheQueryAsUtf8FormEncodingAndTheHeaders)
{
    const EngineDefinition& ddg = ShippedEngine("DuckDuckGo");
    const EngineRequest r = FirstRequest(ddg, "café & co/1+1");
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.url, "https://html.duckduckgo.com/html/");
    EXPECT_EQ(r.body, "q=caf%C3%A9+%26+co%2F1%2B1&b=&kl=wt-wt");
    EXPECT_EQ(HeaderValue(r, "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(HeaderValue(r, "User-Agent"), kDefinedEngineUserAgent);

    EngineDefinition own = ShippedEngine("Mojeek");
    own.headers = { { "user-agent", "Mine/2" } };
    own.cookies = { { "a", "1" }, { "b", "2" } };
    const EngineRequest page3 = PageRequest(own, "x", 3);
    EXPECT_EQ(page3.url, "https://www.mojeek.com/search?q=x&s=21");
    EXPECT_EQ(page3.headers,
        (std::vector<std::pair<std::string, std::string>> { { "user-agent", "Mine/2" }, { "Cookie", "a=1; b=2" } }));
    EXPECT_EQ(FirstRequest(own, "x").url, "https://www.mojeek.com/search?q=x");
}

struct UnreadableCase {
    const char* engine;
    int status;
    std::string body;
    const char* problem; // how the problem starts
};

class UnreadableAnswers : public ::testing::TestWithParam<UnreadableCase>
{
};

TEST_P(UnreadableAnswers, AreProblemsNotEmptySuccesses)
{
    const UnreadableCase& c = GetParam();
    const EngineDefinition& def = ShippedEngine(c.engine);
    const EngineRequest asked = FirstRequest(def, "x");
    const EngineAnswer a = ReadAnswer(def, c.status, "", c.body, asked.url, asked, 1, "x");
    EXPECT_FALSE(a.blocked);
    EXPECT_EQ(a.problem.rfind(c.problem, 0), 0u) << a.problem;
    EXPECT_TRUE(a.links.empty());
    EXPECT_FALSE(a.next.has_value());
}

INSTANTIATE_TEST_SUITE_P(Answers, UnreadableAnswers,
    ::testing::Values(UnreadableCase { "Bing", 500, "<html></html>", "HTTP 500" },
        UnreadableCase { "Wikipedia", 200, "<html>maintenance</html>", "the answer is not JSON" },
        UnreadableCase { "Bing", 200, "", "the answer is empty" },
        UnreadableCase { "Bing", 200, std::string(kMaxAnswerBytes + 1, 'a'), "the answer is larger" },
        UnreadableCase { "Crossref", 200, std::string(kMaxAnswerBytes + 1, ' '), "the answer is larger" }));

TEST(UnreadableAnswers, ASelectorThatFailsOnThePageIsAProblem)
{
    EngineDefinition def = ShippedEngine("Bing");
    def.resultsXpath = "//nope:li";
    const EngineRequest asked = FirstRequest(def, "x");
    const EngineAnswer a = ReadAnswer(def, 200, "", ReadEngineFixture("bing.html"), asked.url, asked, 1, "x");
    EXPECT_EQ(a.problem, "`results_xpath` failed: undefined namespace prefix");
    EXPECT_TRUE(a.links.empty());
}

TEST(UnreadableAnswers, SelectorsPickingNamespaceNodesFindNothing)
{
    EngineDefinition def = ShippedEngine("arXiv");
    def.resultsXpath = "//namespace::*";
    def.nextPageXpath = "//namespace::*";
    const EngineRequest asked = FirstRequest(def, "x");
    const EngineAnswer a = ReadAnswer(def, 200, "", ReadEngineFixture("arxiv.xml"), asked.url, asked, 1, "x");
    EXPECT_EQ(a.problem, "");
    EXPECT_TRUE(a.links.empty());
    EXPECT_FALSE(a.next.has_value());
}

TEST(BlockedAnswers, ARedirectToTheCaptchaPathIsBlockedAnotherIsAProblem)
{
    EngineDefinition def = ShippedEngine("Bing");
    def.blockedRedirectPath = "/captcha";
    const EngineRequest asked = FirstRequest(def, "x");
    EngineAnswer a = ReadAnswer(def, 302, "/captcha/go?r=1", "", asked.url, asked, 1, "x");
    EXPECT_TRUE(a.blocked);
    EXPECT_EQ(a.reason, "redirect to /captcha/go");
    a = ReadAnswer(def, 302, "/elsewhere", "", asked.url, asked, 1, "x");
    EXPECT_FALSE(a.blocked);
    EXPECT_EQ(a.problem, "HTTP 302 to /elsewhere");
}

} // namespace
} // namespace orv::test
