#include "platform/ui/Jpeg.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orv;

namespace
{

// 40 x 24: left half red, right half blue, with a green square at (28, 4)
// to (35, 11) (8 x 8, on block boundaries, so its middle stays exact).
std::string knownPicture()
{
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool green = x >= 24 && x < 32 && y >= 8 && y < 16;
            rgb.push_back(green ? 0 : (x < 16 ? 220 : 10));
            rgb.push_back(green ? 200 : 20);
            rgb.push_back(green ? 0 : (x < 16 ? 30 : 230));
        }
    }
    return encodeJpeg(40, 24, rgb, 95);
}

void expectNear(QRgb got, int r, int g, int b)
{
    EXPECT_NEAR(qRed(got), r, 12);
    EXPECT_NEAR(qGreen(got), g, 12);
    EXPECT_NEAR(qBlue(got), b, 12);
}

} // namespace

TEST(Jpeg, DecodesSizeAndPixelsOfAKnownPicture)
{
    std::string error;
    const QImage image = decodeJpeg(knownPicture(), &error);
    ASSERT_FALSE(image.isNull()) << error;
    EXPECT_EQ(image.size(), QSize(40, 24));
    expectNear(image.pixel(4, 4), 220, 20, 30);
    expectNear(image.pixel(36, 20), 10, 20, 230);
    expectNear(image.pixel(27, 11), 0, 200, 0);
}

TEST(Jpeg, CorruptOrCutFilesFailCleanly)
{
    const std::string good = knownPicture();
    std::string error;
    EXPECT_TRUE(decodeJpeg("", &error).isNull());
    EXPECT_TRUE(decodeJpeg("not a jpeg at all", &error).isNull());
    EXPECT_FALSE(error.empty());

    error.clear();
    EXPECT_TRUE(decodeJpeg(good.substr(0, good.size() / 2), &error).isNull()); // cut inside the data
    EXPECT_FALSE(error.empty());

    std::string garbled = good;
    for (size_t i = garbled.size() / 2; i < garbled.size() - 2; ++i)
        garbled[i] = static_cast<char>(0xFF ^ (i * 7));
    EXPECT_TRUE(decodeJpeg(garbled).isNull());

    test::TempFolder dir;
    EXPECT_TRUE(loadJpeg(dir.file("missing.jpg"), &error).isNull());
    EXPECT_EQ(error, "File not found");
    dir.write("logo.jpg", good);
    EXPECT_EQ(loadJpeg(dir.file("logo.jpg")).size(), QSize(40, 24));
    EXPECT_EQ(loadLogo(dir.path()).size(), QSize(40, 24));
}
