// The artwork the build draws into the program folder: a clip the player
// can loop up to its stop frame 23, and a logo that fits the toolbar.
#include "platform/AviReader.h"
#include "platform/ui/Jpeg.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(Artwork, TheSearchAnimationMovesThroughAtLeastTwentyThreeFrames)
{
    AviReader clip = AviReader::open(std::string(ORVALEN_BIN_DIR "/") + kAnimationFileName);
    EXPECT_GE(clip.frameCount(), 23);
    EXPECT_EQ(clip.width(), 110);
    EXPECT_EQ(clip.height(), 41);
    EXPECT_GT(clip.microsecondsPerFrame(), 0u);
    // Every frame up to the stop frame differs from the one before it.
    std::vector<std::uint32_t> previous = clip.frame(0);
    for (int f = 1; f < 23; ++f) {
        std::vector<std::uint32_t> next = clip.frame(f);
        EXPECT_NE(next, previous) << "frame " << f;
        previous = std::move(next);
    }
}

TEST(Artwork, TheLogoDecodesToTheToolbarSize)
{
    const QImage logo = loadLogo(ORVALEN_BIN_DIR "/");
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(110, 41));
}
