#include "platform/ui/Animate.h"
#include "platform/AviWriter.h"
#include "support/TempFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace orv;

namespace
{

// 30 frames of 4 x 2; frame f is filled with palette index f, whose colour
// is (f, 2f, 3f), so a shown image tells its frame number.
std::string countingClip()
{
    AviClipData clip;
    clip.width = 4;
    clip.height = 2;
    clip.microsecondsPerFrame = 1000; // 1 ms: the player waits at least 10
    for (int f = 0; f < 30; ++f) {
        clip.palette.push_back(static_cast<std::uint32_t>(f << 16 | (2 * f) << 8 | 3 * f));
        clip.frames.emplace_back(8, static_cast<std::uint8_t>(f));
    }
    return writeAvi(clip, AviEncoding::Rle8);
}

} // namespace

TEST(Animate, PlaysFromStartToStopFrameAndEndsAfterItsRepetitions)
{
    test::TempFolder dir;
    dir.write("orvalen.avi", countingClip());
    TAnimate animate;
    ASSERT_TRUE(animate.setFileName(QString::fromStdString(dir.file("orvalen.avi"))));
    EXPECT_EQ(animate.frameCount(), 30);
    EXPECT_EQ(animate.size(), QSize(4, 2));
    EXPECT_EQ(animate.currentFrame(), 1);
    EXPECT_EQ(animate.currentImage().pixel(3, 1), qRgb(0, 0, 0));

    animate.setStopFrame(23);
    animate.setRepetitions(2);
    std::vector<int> shown;
    QObject::connect(&animate, &TAnimate::frameShown, [&](int f) { shown.push_back(f); });
    QSignalSpy finished(&animate, &TAnimate::finished);
    animate.setActive(true);
    EXPECT_TRUE(animate.active());
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 10000));
    EXPECT_FALSE(animate.active());

    std::vector<int> expected;
    for (int pass = 0; pass < 2; ++pass)
        for (int f = 1; f <= 23; ++f)
            expected.push_back(f);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(animate.currentFrame(), 23);
    EXPECT_EQ(animate.currentImage().pixel(0, 0), qRgb(22, 44, 66));
}

TEST(Animate, StopsWhereItIsWhenDeactivated)
{
    test::TempFolder dir;
    dir.write("clip.avi", countingClip());
    TAnimate animate;
    ASSERT_TRUE(animate.setFileName(QString::fromStdString(dir.file("clip.avi"))));
    animate.setActive(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return animate.currentFrame() >= 3; }, 10000));
    animate.setActive(false);
    const int at = animate.currentFrame();
    EXPECT_FALSE(animate.active());
    animate.seek(30);
    EXPECT_EQ(animate.currentImage().pixel(0, 0), qRgb(29, 58, 87));
    EXPECT_GE(at, 3);
}

TEST(Animate, AMissingOrBrokenClipLeavesThePlayerEmpty)
{
    test::TempFolder dir;
    TAnimate animate;
    EXPECT_FALSE(animate.setFileName(QString::fromStdString(dir.file("missing.avi"))));
    EXPECT_FALSE(animate.isOpen());
    EXPECT_EQ(animate.lastError(), "File not found");
    animate.setActive(true);
    EXPECT_FALSE(animate.active());

    dir.write("broken.avi", countingClip().substr(0, 60));
    EXPECT_FALSE(animate.setFileName(QString::fromStdString(dir.file("broken.avi"))));
    EXPECT_TRUE(animate.lastError().startsWith("Invalid AVI file"));
    EXPECT_TRUE(animate.currentImage().isNull());
}
