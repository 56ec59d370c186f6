// The client against a real nginx, directly and through a real tinyproxy.
#include "RealPeers.h"
#include "HttpCliFixture.h"

#include <QFile>

#include <filesystem>
#include <random>

namespace orv
{
namespace
{

class RealPeersTest : public test::HttpCliFixture, public ::testing::WithParamInterface<bool>
{
protected:
    static void SetUpTestSuite()
    {
        if (!test::Nginx::available() || !test::TinyProxy::available())
            return;
        folder_ = new test::TempFolder;
        std::filesystem::create_directories(folder_->file("www/dir"));
        folder_->write("www/index.html", "<html><title>Home</title></html>\r\n");
        folder_->write("www/dir/index.html", "folder page");
        // 20 MB of repeatable noise, so that any lost, doubled or moved byte shows.
        std::string big(20 * 1024 * 1024, '\0');
        std::mt19937 rng(20261208);
        for (char& c : big)
            c = static_cast<char>(rng());
        folder_->write("www/big.bin", big);
        nginx_ = new test::Nginx;
        proxy_ = new test::TinyProxy;
        startError_.clear();
        if (!nginx_->start(*folder_, startError_))
            return;
        proxy_->start(*folder_, startError_);
    }
    static void TearDownTestSuite()
    {
        delete proxy_;
        delete nginx_;
        delete folder_;
        proxy_ = nullptr;
        nginx_ = nullptr;
        folder_ = nullptr;
    }
    void SetUp() override
    {
        if (!test::Nginx::available())
            GTEST_SKIP() << "nginx is not installed (" << test::Nginx::kBinary << ")";
        if (!test::TinyProxy::available())
            GTEST_SKIP() << "tinyproxy is not installed (" << test::TinyProxy::kBinary << ")";
        ASSERT_TRUE(startError_.empty()) << startError_;
        HttpCliFixture::SetUp();
        if (GetParam())
            http.Proxy = "127.0.0.1:" + std::to_string(proxy_->port());
    }
    std::string nginxUrl(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(nginx_->port()) + path;
    }

    static test::TempFolder* folder_;
    static test::Nginx* nginx_;
    static test::TinyProxy* proxy_;
    static std::string startError_;
};

test::TempFolder* RealPeersTest::folder_ = nullptr;
test::Nginx* RealPeersTest::nginx_ = nullptr;
test::TinyProxy* RealPeersTest::proxy_ = nullptr;
std::string RealPeersTest::startError_;

TEST_P(RealPeersTest, StaticPage)
{
    http.URL = nginxUrl("/index.html");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(http.StatusCode(), 200);
    EXPECT_EQ(http.ContentType(), "text/html");
    EXPECT_EQ(bodyText(), "<html><title>Home</title></html>\r\n");
    EXPECT_EQ(http.DocName(), "index.html");
    EXPECT_EQ(count("DocBegin"), 1);
    EXPECT_EQ(count("DocEnd"), 1);
}

TEST_P(RealPeersTest, TwentyMegabytesByteForByte)
{
    http.URL = nginxUrl("/big.bin");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(http.ContentLength(), 20 * 1024 * 1024);
    EXPECT_EQ(http.RcvdCount(), 20 * 1024 * 1024);
    ASSERT_EQ(bodyText().size(), 20u * 1024 * 1024);
    EXPECT_TRUE(bodyText() == folder_->read("www/big.bin")) << "the body differs from the file";
}

TEST_P(RealPeersTest, FolderWithoutItsSlashIsRedirected)
{
    http.URL = nginxUrl("/dir");
    EXPECT_EQ(get(), "");
    EXPECT_EQ(count("LocationChange"), 1);
    EXPECT_EQ(bodyText(), "folder page");
    EXPECT_EQ(http.DocName(), "dir");
}

TEST_P(RealPeersTest, MissingFileRaises404)
{
    http.URL = nginxUrl("/no-such-file.html");
    EXPECT_EQ(get(), "Not Found");
    EXPECT_EQ(errorCode, 404);
    EXPECT_EQ(count("Doc"), 0);
}

INSTANTIATE_TEST_SUITE_P(Routes, RealPeersTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "ThroughTinyproxy" : "Direct"; });

} // namespace
} // namespace orv
