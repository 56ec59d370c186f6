// What the window keeps between starts and knows of its open file: the
// first start's place, settings read back from a hand-edited file, the
// digest that tells unsaved changes, the title and the recent files.
#include "files/WindowSession.h"
#include "files/ResultsDocument.h"
#include "support/TempFolder.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace
{

struct FirstStart {
    QRect available;
    QRect expected;
};

class FirstStartGeometry : public ::testing::TestWithParam<FirstStart>
{
};

TEST_P(FirstStartGeometry, FillsTwoThirdsOfTheScreenWithinTheWindowsOwnSizeAndTheScreen)
{
    EXPECT_EQ(orv::firstStartGeometry(GetParam().available, QSize(655, 458)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstStartGeometry,
    ::testing::Values(FirstStart { QRect(0, 0, 1920, 1080), QRect(320, 180, 1280, 720) },
        // A panel on the left: centred in what is left.
        FirstStart { QRect(64, 0, 2496, 1440), QRect(480, 240, 1664, 960) },
        // Two thirds of a small screen is less than the window's own size.
        FirstStart { QRect(0, 0, 800, 600), QRect(72, 71, 655, 458) },
        // A screen smaller than the window: the screen.
        FirstStart { QRect(0, 0, 600, 400), QRect(0, 0, 600, 400) }));

TEST(SessionStore, ValuesEditedByHandComeBackBoundedOrAsDefaults)
{
    orv::test::TempFolder folder;
    const QString file = QString::fromStdString(folder.file("Orvalen.conf"));
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue("window/splitter", "wide");
        settings.setValue("window/tab", 99);
        QStringList recent;
        for (int i = 0; i < 12; ++i)
            recent << (i == 1 ? QString() : QStringLiteral("/r/%1.rst").arg(i));
        settings.setValue("files/recent", recent);
    }
    const orv::WindowSession session = orv::SessionStore(file).load();
    EXPECT_TRUE(session.geometry.isEmpty());
    EXPECT_EQ(session.splitterLeft, -1);
    EXPECT_EQ(session.tabIndex, 0);
    ASSERT_EQ(session.recentFiles.size(), 8u);
    EXPECT_EQ(session.recentFiles[0], "/r/0.rst");
    EXPECT_EQ(session.recentFiles[1], "/r/2.rst") << "empty entries are dropped";
}

TEST(ContentDigest, TellsTextsApartByTheirBoundariesAndContents)
{
    auto digest = [](std::initializer_list<const char*> texts) {
        orv::ContentDigest d;
        for (const char* t : texts)
            d.add(std::string_view(t));
        return d.value();
    };
    EXPECT_EQ(digest({ "ab", "c" }), digest({ "ab", "c" }));
    EXPECT_NE(digest({ "ab", "c" }), digest({ "a", "bc" }));
    EXPECT_NE(digest({ "ab", "" }), digest({ "ab" }));
    EXPECT_NE(digest({ "Verified" }), digest({ "Timeout" }));
}

TEST(ResultsDocument, TitleNamesTheOpenFileAndMarksUnsavedChanges)
{
    orv::ResultsDocument document;
    EXPECT_FALSE(document.modified(orv::ContentDigest().value())) << "an empty window has nothing to lose";
    EXPECT_EQ(document.title(true), "Orvalen");
    document.opened("/home/u/Reports/roses.rst", 7);
    EXPECT_FALSE(document.modified(7));
    EXPECT_TRUE(document.modified(8));
    EXPECT_EQ(document.title(false), "roses.rst - Orvalen");
    EXPECT_EQ(document.title(true), "roses.rst* - Orvalen");
    document.closed(9);
    EXPECT_FALSE(document.modified(9));
    EXPECT_EQ(document.title(true), "Orvalen");
}

TEST(RecentFiles, NewestFirstEachOnceAtMostEightWithAmpersandsShown)
{
    orv::RecentFiles recent;
    for (int i = 0; i < 10; ++i)
        recent.add("/r/" + std::to_string(i) + ".rst");
    recent.add("/r/5.rst");
    recent.add("");
    ASSERT_EQ(recent.files().size(), 8u);
    EXPECT_EQ(recent.files()[0], "/r/5.rst");
    EXPECT_EQ(recent.files()[1], "/r/9.rst");
    EXPECT_EQ(recent.files()[7], "/r/2.rst");
    recent.remove("/r/9.rst");
    EXPECT_EQ(recent.files()[1], "/r/8.rst");
    EXPECT_EQ(orv::recentFileCaption(0, "/home/a&b/R&D.rst"), "&1 R&&D.rst  (/home/a&&b)");
    EXPECT_EQ(orv::recentFileCaption(9, "x.rst"), "10 x.rst");
}

} // namespace
