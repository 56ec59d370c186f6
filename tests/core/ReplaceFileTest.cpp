#include "core/Errors.h"
#include "core/Lines.h"
#include "core/ReplaceFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

using namespace orv;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ReplaceFile, NewContentReplacesTheOldWholeKeepingPermissionsAndLinks)
{
    test::TempFolder folder;
    folder.write("results.rst", "old content\r\n");
    ::chmod(folder.file("results.rst").c_str(), 0640);
    fs::create_symlink(folder.file("results.rst"), folder.file("link.rst"));

    ReplaceFileContents(folder.file("results.rst"), "new\r\n");
    EXPECT_EQ(folder.read("results.rst"), "new\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(folder.file("results.rst").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Saving through a link replaces the file it points to, not the link.
    SaveLines(folder.file("link.rst"), { "via link" });
    EXPECT_TRUE(fs::is_symlink(folder.file("link.rst")));
    EXPECT_EQ(folder.read("results.rst"), "via link\r\n");

    ReplaceFileContents(folder.file("fresh.txt"), "");
    EXPECT_EQ(folder.read("fresh.txt"), "");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string> { "fresh.txt", "link.rst", "results.rst" }))
        << "no temporary file stays behind";
}

TEST(ReplaceFile, WriteThatFailsMidwayLeavesTheOldFileWholeAndNoTemporary)
{
    test::TempFolder folder;
    const std::string old(10000, 'o');
    folder.write("options.txt", old);
    {
        test::FileSizeLimit limit(16384);
        try {
            SaveFileBytes(folder.file("options.txt"), std::string(100000, 'n'));
            FAIL() << "a write past the limit was reported as a success";
        } catch (const EInOutError& e) {
            EXPECT_STREQ(e.what(), "I/O error 27");
        }
    }
    EXPECT_TRUE(folder.read("options.txt") == old) << "the old file was cut short or changed";
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string> { "options.txt" }));

    // A folder that is not there is still an invalid name, and a folder in
    // place of the file is refused.
    const auto errorOf = [](const std::string& path) {
        try {
            ReplaceFileContents(path, "x");
        } catch (const EInOutError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf(folder.file("none/x.txt")), "Invalid filename");
    fs::create_directory(folder.file("dir"));
    EXPECT_EQ(errorOf(folder.file("dir")), "File access denied");
}
