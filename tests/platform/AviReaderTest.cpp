#include "platform/AviReader.h"
#include "platform/AviWriter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace orv;

namespace
{

// A clip of `frames` frames, 7 x 3 (odd width: rows are padded in the file),
// where frame f has index (f + x + 3y) % 4 at (x, y).
AviClipData sampleClip(int frames)
{
    AviClipData clip;
    clip.width = 7;
    clip.height = 3;
    clip.microsecondsPerFrame = 66666;
    clip.palette = { 0x000000, 0xFF0000, 0x00FF00, 0x0000FF };
    for (int f = 0; f < frames; ++f) {
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                pixels.push_back(static_cast<std::uint8_t>((f + x + 3 * y) % 4));
        clip.frames.push_back(pixels);
    }
    return clip;
}

std::uint32_t expectedPixel(const AviClipData& clip, int f, int x, int y)
{
    return 0xFF000000u | clip.palette[clip.frames[static_cast<size_t>(f)][static_cast<size_t>(y * 7 + x)]];
}

} // namespace

class AviEncodings : public ::testing::TestWithParam<AviEncoding>
{
};

TEST_P(AviEncodings, ReadsSizesCountAndEveryPixel)
{
    const AviClipData clip = sampleClip(25);
    AviReader reader = AviReader::fromBytes(writeAvi(clip, GetParam()));
    EXPECT_EQ(reader.width(), 7);
    EXPECT_EQ(reader.height(), 3);
    EXPECT_EQ(reader.frameCount(), 25);
    EXPECT_EQ(reader.microsecondsPerFrame(), 66666u);
    EXPECT_EQ(reader.runLengthEncoded(), GetParam() == AviEncoding::Rle8);
    // Out of order on purpose: RLE8 decoding restarts when going back.
    for (int f : { 0, 1, 2, 24, 3, 10, 9 }) {
        const std::vector<std::uint32_t> pixels = reader.frame(f);
        ASSERT_EQ(pixels.size(), 21u);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(pixels[static_cast<size_t>(y * 7 + x)], expectedPixel(clip, f, x, y))
                    << "frame " << f << " at " << x << "," << y;
    }
    EXPECT_THROW(reader.frame(25), EAviError);
    EXPECT_THROW(reader.frame(-1), EAviError);
}

TEST_P(AviEncodings, TruncatedFileKeepsTheWholeFramesOnly)
{
    const std::string bytes = writeAvi(sampleClip(5), GetParam());
    // Cut inside the last frame: the index and the last frame are gone.
    const size_t idx1 = bytes.rfind("idx1");
    AviReader cut = AviReader::fromBytes(bytes.substr(0, idx1 - 3));
    EXPECT_EQ(cut.frameCount(), 4);
    EXPECT_EQ(cut.frame(3).size(), 21u);
    // Cut inside the headers: not a clip at all.
    EXPECT_THROW(AviReader::fromBytes(bytes.substr(0, 100)), EAviError);
    EXPECT_THROW(AviReader::fromBytes(bytes.substr(0, 11)), EAviError);
}

INSTANTIATE_TEST_SUITE_P(Both, AviEncodings, ::testing::Values(AviEncoding::Uncompressed, AviEncoding::Rle8));

TEST(AviReader, Rle8DeltaAndLiteralRunsBuildOnThePreviousFrame)
{
    AviClipData clip = sampleClip(1);
    std::string bytes = writeAvi(clip, AviEncoding::Rle8);
    // Replace the single frame by two hand-made ones: frame 0 fills the
    // picture with index 1; frame 1 skips 2 right and 1 up, then writes the
    // literal run 2 3 2 and ends the picture, so the rest stays 1.
    const std::string frame0 = std::string("\x07\x01\x00\x00\x07\x01\x00\x00\x07\x01\x00\x01", 12);
    const std::string frame1 = std::string("\x00\x02\x02\x01\x00\x03\x02\x03\x02\x00\x00\x01", 12);
    const size_t movi = bytes.find("movi");
    std::string rebuilt = bytes.substr(0, movi - 8);
    auto put32 = [](std::string& s, size_t v) {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    std::string list = "movi00dc";
    put32(list, frame0.size());
    list += frame0 + "00dc";
    put32(list, frame1.size());
    list += frame1;
    rebuilt += "LIST";
    put32(rebuilt, list.size());
    rebuilt += list;
    put32(rebuilt, 0);
    rebuilt.replace(4, 4, std::string(4, '\0'));
    std::string size;
    put32(size, rebuilt.size() - 8);
    rebuilt.replace(4, 4, size);

    AviReader reader = AviReader::fromBytes(rebuilt);
    ASSERT_EQ(reader.frameCount(), 2);
    const std::vector<std::uint32_t> pixels = reader.frame(1);
    // Row 1 from the bottom is the middle row (y = 1), columns 2 to 4.
    std::vector<std::uint32_t> expected(21, 0xFFFF0000u);
    expected[1 * 7 + 2] = 0xFF00FF00u;
    expected[1 * 7 + 3] = 0xFF0000FFu;
    expected[1 * 7 + 4] = 0xFF00FF00u;
    EXPECT_EQ(pixels, expected);
}

TEST(AviReader, RefusesWhatItCannotPlay)
{
    EXPECT_THROW(AviReader::fromBytes("RIFF\x04\0\0\0WAVE"), EAviError);
    EXPECT_THROW(AviReader::fromBytes(""), EAviError);
    std::string bytes = writeAvi(sampleClip(2), AviEncoding::Uncompressed);
    const size_t strf = bytes.find("strf");
    bytes[strf + 8 + 14] = 24; // 24 bits per pixel
    try {
        AviReader::fromBytes(bytes);
        FAIL();
    } catch (const EAviError& e) {
        EXPECT_STREQ(e.what(), "Unsupported AVI format: only 8-bit uncompressed or RLE8 clips play");
    }
    test::TempFolder dir;
    EXPECT_THROW(AviReader::open(dir.file("missing.avi")), EInOutError);
    dir.write("clip.avi", writeAvi(sampleClip(3), AviEncoding::Rle8));
    EXPECT_EQ(AviReader::open(dir.file("clip.avi")).frameCount(), 3);
}

namespace
{

// The clip of sampleClip(1) with its frame wrapped in `depth` nested 'rec '
// lists inside the movie list.
std::string clipWithNestedRecordLists(int depth)
{
    const std::string bytes = writeAvi(sampleClip(1), AviEncoding::Uncompressed);
    const size_t movi = bytes.find("movi");
    const size_t frame = movi + 4;
    const size_t frameEnd = bytes.find("idx1");
    std::string nested = bytes.substr(frame, frameEnd - frame);
    auto put32 = [](std::string& s, size_t v) {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    // Built from the inside out: each level adds 12 bytes of list header.
    std::string headers;
    headers.reserve(static_cast<size_t>(depth) * 12);
    size_t size = nested.size();
    std::vector<std::string> levels;
    for (int i = 0; i < depth; ++i) {
        std::string header = "LIST";
        put32(header, size + 4);
        header += "rec ";
        levels.push_back(header);
        size += 12;
    }
    for (auto it = levels.rbegin(); it != levels.rend(); ++it)
        headers += *it;
    std::string list = "movi" + headers + nested;
    std::string out = bytes.substr(0, movi - 8) + "LIST";
    put32(out, list.size());
    out += list;
    std::string riffSize;
    put32(riffSize, out.size() - 8);
    out.replace(4, 4, riffSize);
    return out;
}

} // namespace

TEST(AviReader, FramesInsideRecordListsAreFoundButNestingIsBounded)
{
    AviReader shallow = AviReader::fromBytes(clipWithNestedRecordLists(2));
    ASSERT_EQ(shallow.frameCount(), 1);
    EXPECT_EQ(shallow.frame(0).size(), 21u);
    // A file of nothing but nested lists must not exhaust the stack.
    EXPECT_EQ(AviReader::fromBytes(clipWithNestedRecordLists(300000)).frameCount(), 0);
}
